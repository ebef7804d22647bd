// The BMP and icon decoder: any bytes give a picture whose samples fill its
// size exactly, an icon's PNG inside the input, or a reason; never a crash.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "modules/bitmap_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    // Small enough that the fuzzer's memory limit is never what stops it.
    const tabulon::DecodedBitmap made = tabulon::decodeBitmap(file, 1 << 20);
    if (!made.error.empty()) {
        if (!made.pixels.empty() || !made.png.empty())
            std::abort();
        return 0;
    }
    if (!made.png.empty()) {
        if (made.png.data() < file.data() || made.png.data() + made.png.size() > file.data() + file.size())
            std::abort();
        return 0;
    }
    if (made.width == 0 || made.height == 0 || (made.bands != 3 && made.bands != 4) ||
        made.pixels.size() != std::size_t{made.width} * made.height * static_cast<std::size_t>(made.bands))
        std::abort();
    return 0;
}
