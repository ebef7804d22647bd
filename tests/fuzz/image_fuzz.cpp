// The image header readers: any bytes give a size or none, never a crash,
// and a size is never zero.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "listgen/image_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = tabulon::ReadImageSize({reinterpret_cast<const char*>(data), size});
    if (image && (image->width == 0 || image->height == 0))
        std::abort();
    return 0;
}
