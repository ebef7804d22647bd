#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace tabulon::test {

// A small picture of every type the engine and the presets read, each with
// the parts a decoder or metadata reader walks: EXIF (with an orientation),
// IPTC and XMP where the format holds them, alpha, interlacing, 16 bits,
// frames, tiles, palettes, several images in one icon. Kept as files, so that
// a damaged copy is the same bytes whichever encoders the machine has.
inline const std::filesystem::path kSeedFolder = TABULON_SEED_PICTURES;

// The seeds' names, in a stable order.
inline std::vector<std::string> seedPictures() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kSeedFolder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tabulon::test
