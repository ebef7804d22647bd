#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

// Text saved as UTF-16 with a byte-order mark (little- or big-endian), as
// UTF-8; the mark becomes the UTF-8 one. A surrogate without its partner and
// an odd last byte each become U+FFFD. nullopt for bytes without such a mark,
// and for the UTF-32 little-endian mark, which starts like the UTF-16 one.
std::optional<std::string> utf16WithBomToUtf8(std::string_view bytes);

} // namespace tabulon
