#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include <sys/types.h>

#include "listgen/decoder_pool.h"
#include "listgen/image_size.h"
#include "posix/result.h"
#include "posix/unique_fd.h"

namespace tabulon {

// Thumbnails and photo metadata for the lists whose templates ask for them.
// Every picture is read by a decoder, a worker process (tabulon-decoder) in
// a sandbox that loads the media module (libvips and Exiv2): the engine
// opens the picture and hands the decoder its descriptor, and writes what
// comes back. Decoders are started on first use only: starting one takes a
// tenth of a second (a hundred libraries), so a list whose thumbnails are all
// up to date never does. A picture that a decoder dies on, or that takes it
// over its bounds, costs only its own thumbnail and metadata. Safe from
// several threads at once.
class Media {
public:
    explicit Media(DecoderLimits limits = {}) : limits_(limits) {}
    // Tests start another program in the decoder's place.
    Media(DecoderLimits limits, std::string decoder) : limits_(limits), decoder_(std::move(decoder)) {}
    Media(const Media&) = delete;
    Media& operator=(const Media&) = delete;
    ~Media();

    // Finds the module and the decoder beside the program or in the
    // installed library folder, without starting anything. The error says
    // what is missing.
    [[nodiscard]] Result<void, std::string> find();
    // Starts the first decoder once, from any thread; then at once. The
    // error says what is missing, or (noSandbox()) that the system gives the
    // decoders no sandbox.
    [[nodiscard]] Result<void, std::string> load() const;
    // Readies the decoders for a list before it starts: one that only makes
    // thumbnails just finds them (started once a thumbnail is out of date),
    // any other starts one. The error says what is missing.
    [[nodiscard]] Result<void, std::string> prepare(bool thumbnailsOnly) {
        if (thumbnailsOnly)
            return find();
        return load();
    }
    // Whether load() failed because the system gives decoders no sandbox.
    bool noSandbox() const { return noSandbox_; }

    // A thumbnail written: its size, and whether the picture it was made
    // from is damaged, with what the decoder found wrong when it said.
    struct Made {
        ImageSize size;
        bool damaged = false;
        std::string damage;
    };
    // Why a thumbnail was not made: the picture could not be read or
    // decoded, (`unsafe`) it could not be read safely (the reason says why),
    // or (`cannotWrite`) its file could not be written.
    struct ThumbnailError {
        std::string reason;
        bool cannotWrite = false;
        bool unsafe = false;
    };
    // Only once loaded: a thumbnail of `source` written to the new file `temp`, in the format
    // of its name's extension, its longer side at most `longSide`, synced.
    [[nodiscard]] Result<Made, ThumbnailError>
    makeThumbnail(const std::string& source, const std::string& temp, std::uint32_t longSide) const;
    // The size of a picture that the header reader does not know (AVIF);
    // starts a decoder.
    std::optional<ImageSize> decodedSize(const std::string& path) const;

    // The metadata of one picture, asked for value by value. Only once loaded.
    class Metadata {
    public:
        Metadata(const Media& media, const std::string& path);
        Metadata(const Metadata&) = delete;
        Metadata& operator=(const Metadata&) = delete;
        // YYYY-MM-DD; empty when the picture holds none.
        std::string taken() const { return value(0, {}); }
        std::string caption() const { return value(1, {}); }
        // An Exiv2 key's value as `exiv2 -pa` prints it.
        std::string key(const std::string& key) const { return value(2, key); }
        // Why the picture could not be read safely ("could not be read
        // safely: the decoder crashed"), once it was found; reported once.
        const std::string& failure() const { return failure_; }

    private:
        std::string value(int what, const std::string& key) const;
        const Media& media_;
        UniqueFd fd_;
        mutable int worker_ = -1;
        mutable std::string failure_;
    };

private:
    // The picture at `path` opened for a decoder: a regular file, else the reason.
    static Result<int, std::string> openPicture(const std::string& path);
    // Asks a decoder about the picture at `fd`; a picture that cost a decoder
    // once is not read again (the reason is then "").
    [[nodiscard]] Result<DecoderAnswer, DecoderTrouble> ask(int fd, const void* request, std::size_t size,
                                                            std::string_view text, int& worker) const;

    const DecoderLimits limits_;
    std::string decoder_;
    std::string module_;
    mutable std::mutex lock_;
    mutable std::unique_ptr<DecoderPool> pool_;
    mutable bool tried_ = false;
    mutable bool noSandbox_ = false;
    mutable std::string loadError_;
    mutable std::set<std::pair<dev_t, ino_t>> unsafe_; // under lock_
};

// What a list that needs the decoders says when it cannot have them.
inline constexpr std::string_view kMediaMissing = "thumbnails and photo metadata need the media module: ";
// That message for `error`, from Media::find() or load().
std::string mediaUnavailable(const Media& media, const std::string& error);

// The day a photo was taken, else the day its file was last changed. A
// picture that could not be read safely is named to `warn`.
std::string takenDay(const Media& media, const std::string& path,
                     const std::function<void(const std::string&)>& warn = {});

} // namespace tabulon
