#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "listgen/image_size.h"
#include "posix/result.h"
#include "posix/shared_module.h"

namespace tabulon {

// The media module (libvips and Exiv2), loaded on first use only: thumbnails
// and photo metadata for the lists whose templates ask for them. Loading it
// takes a tenth of a second (a hundred libraries), so a list whose
// thumbnails are all up to date never does. Making thumbnails is safe from
// several threads at once; metadata is read on one.
class Media {
public:
    Media() = default;
    Media(const Media&) = delete;
    Media& operator=(const Media&) = delete;

    // Finds the module beside the program or in the installed library
    // folder, without loading it. The error says what is missing.
    [[nodiscard]] Result<void, std::string> find();
    // Loads the module once, from any thread; then at once. The error says
    // what is missing.
    [[nodiscard]] Result<void, std::string> load() const;
    // Readies the module for a list before it starts: one that only makes
    // thumbnails just finds it (loaded once a thumbnail is out of date), any
    // other loads it. The error says what is missing.
    [[nodiscard]] Result<void, std::string> prepare(bool thumbnailsOnly) {
        if (thumbnailsOnly)
            return find();
        return load();
    }

    // A thumbnail written: its size, and whether the picture it was made
    // from is damaged, with what the decoder found wrong when it said.
    struct Made {
        ImageSize size;
        bool damaged = false;
        std::string damage;
    };
    // Why a thumbnail was not made: the picture could not be read or
    // decoded, or (`cannotWrite`) its file could not be written.
    struct ThumbnailError {
        std::string reason;
        bool cannotWrite = false;
    };
    // Only once loaded: a thumbnail of `source` written to the new file `temp`, in the format
    // of its name's extension, its longer side at most `longSide`, synced.
    [[nodiscard]] Result<Made, ThumbnailError>
    makeThumbnail(const std::string& source, const std::string& temp, std::uint32_t longSide) const;
    // The size of a picture that the header reader does not know (AVIF);
    // loads the module.
    std::optional<ImageSize> decodedSize(const std::string& path) const;

    // The metadata of one picture, read when opened. Only once loaded.
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
    [[nodiscard]] Result<void, std::string> loadFrom(const std::string& path) const;

    std::string path_;
    mutable std::mutex lock_;
    mutable std::atomic<bool> loaded_{false};
    mutable SharedModule module_;
    mutable int (*thumbnail_)(const char*, const char*, int, int*, int*, char*, std::size_t) = nullptr;
    mutable int (*size_)(const char*, int*, int*) = nullptr;
    mutable void* (*metaOpen_)(const char*) = nullptr;
    mutable void (*metaClose_)(void*) = nullptr;
    mutable std::size_t (*metaValue_)(void*, int, const char*, char*, std::size_t) = nullptr;
    mutable std::string loadError_;
};

// What a list that needs the module says when it cannot have it.
inline constexpr std::string_view kMediaMissing = "thumbnails and photo metadata need the media module: ";

// The day a photo was taken, else the day its file was last changed.
std::string takenDay(const Media& media, const std::string& path);

} // namespace tabulon
