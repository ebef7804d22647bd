#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tabulon::test {

// A small picture of every type the engine and the presets read, each with
// the parts a decoder or metadata reader walks: EXIF (with an orientation),
// IPTC and XMP where the format holds them, alpha, interlacing, 16 bits,
// frames, tiles, palettes, several images in one icon.
struct SeedPictures {
    std::vector<std::string> names;  // written into the folder
    std::vector<std::string> failed; // what could not be made, with libvips's reason
};

// Writes the seeds into `folder`. HEIC is left out quietly where libheif has
// no HEVC encoder; every other type is reported in `failed` if it cannot be made.
SeedPictures writeSeedPictures(const std::filesystem::path& folder);

} // namespace tabulon::test
