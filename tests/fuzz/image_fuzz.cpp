// The image header readers: any bytes give a size or none, never a crash,
// and a size is never zero. The input is read whole, and once more as a head
// of half its length whose remainder is fetched on request.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "listgen/image_size.h"

namespace {

void check(const std::optional<tabulon::ImageSize>& image) {
    if (image && (image->width == 0 || image->height == 0))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    check(tabulon::readImageSize(all));
    const tabulon::ImageBytesAt more = [all](std::uint64_t offset, std::size_t limit) {
        return offset < all.size() ? std::string(all.substr(offset, limit)) : std::string();
    };
    check(tabulon::readImageSize(all.substr(0, size / 2), more));
    return 0;
}
