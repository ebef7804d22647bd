#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "listgen/image_size.h"
#include "posix/result.h"
#include "posix/shared_module.h"

namespace tabulon {

// The media module (libvips and Exiv2), loaded on first use only: thumbnails
// and photo metadata for the lists whose templates ask for them. Making
// thumbnails is safe from several threads at once; metadata is read on one.
class Media {
public:
    Media() = default;
    Media(const Media&) = delete;
    Media& operator=(const Media&) = delete;

    // Loads the module from beside the program or from the installed
    // library folder; once loaded, at once. The error says what is missing.
    [[nodiscard]] Result<void, std::string> load();
    bool loaded() const { return thumbnail_ != nullptr; }

    // A thumbnail of `source` written to the new file `temp`, in the format
    // of its name's extension, its longer side at most `longSide`.
    [[nodiscard]] Result<ImageSize, std::string>
    makeThumbnail(const std::string& source, const std::string& temp, std::uint32_t longSide) const;
    // The size of a picture that the header reader does not know (AVIF).
    std::optional<ImageSize> decodedSize(const std::string& path) const;

    // The metadata of one picture, read when opened.
    class Metadata {
    public:
        Metadata(const Media& media, const std::string& path);
        Metadata(const Metadata&) = delete;
        Metadata& operator=(const Metadata&) = delete;
        ~Metadata();
        // YYYY-MM-DD; empty when the picture holds none.
        std::string taken() const { return value(0, nullptr); }
        std::string caption() const { return value(1, nullptr); }
        // An Exiv2 key's value as `exiv2 -pa` prints it.
        std::string key(const std::string& key) const { return value(2, key.c_str()); }

    private:
        std::string value(int what, const char* key) const;
        const Media& media_;
        void* handle_ = nullptr;
    };

private:
    [[nodiscard]] Result<void, std::string> loadFrom(const std::string& path);

    SharedModule module_;
    int (*thumbnail_)(const char*, const char*, int, int*, int*, char*, std::size_t) = nullptr;
    int (*size_)(const char*, int*, int*) = nullptr;
    void* (*metaOpen_)(const char*) = nullptr;
    void (*metaClose_)(void*) = nullptr;
    std::size_t (*metaValue_)(void*, int, const char*, char*, std::size_t) = nullptr;
    std::string loadError_;
};

// The day a photo was taken, else the day its file was last changed.
std::string takenDay(const Media& media, const std::string& path);

} // namespace tabulon
