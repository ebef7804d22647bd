#include "decoder/request_loop.h"

#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "decoder/protocol.h"

namespace tabulon::decoder {

namespace {

// Reads exactly `size` bytes; the descriptor sent with them, if any, in `fd`.
bool receiveAll(int channel, void* bytes, std::size_t size, int& fd) {
    auto* at = static_cast<char*>(bytes);
    while (size > 0) {
        const ssize_t got = receiveSome(channel, at, size, fd);
        if (got <= 0)
            return false;
        at += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool answer(int channel, Answer head, std::string_view text, const void* data = nullptr) {
    head.textSize = static_cast<std::uint32_t>(text.size());
    return sendAll(channel, &head, sizeof head) && sendAll(channel, text.data(), text.size()) &&
           sendAll(channel, data, head.dataSize);
}

// The metadata of the picture read last, kept for its next key: a picture's
// values are asked for one by one.
class MetadataCache {
public:
    explicit MetadataCache(const MediaFunctions& media) : media_(media) {}
    MetadataCache(const MetadataCache&) = delete;
    MetadataCache& operator=(const MetadataCache&) = delete;
    ~MetadataCache() { drop(); }

    void* of(int fd) {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return nullptr;
        if (!(open_ && st.st_dev == seen_.st_dev && st.st_ino == seen_.st_ino &&
              st.st_size == seen_.st_size && st.st_mtim.tv_sec == seen_.st_mtim.tv_sec &&
              st.st_mtim.tv_nsec == seen_.st_mtim.tv_nsec)) {
            drop();
            meta_ = media_.metaOpen(fd);
            seen_ = st;
            open_ = true;
        }
        return meta_;
    }

private:
    void drop() {
        if (meta_ != nullptr)
            media_.metaClose(meta_);
        meta_ = nullptr;
        open_ = false;
    }

    const MediaFunctions& media_;
    void* meta_ = nullptr;
    struct stat seen_ {};
    bool open_ = false;
};

std::string metadataValue(const MediaFunctions& media, void* meta, int what, const std::string& key) {
    std::string value(256, '\0');
    std::size_t needed = media.metaValue(meta, what, key.c_str(), value.data(), value.size());
    if (needed > value.size()) {
        value.resize(needed);
        needed = media.metaValue(meta, what, key.c_str(), value.data(), value.size());
    }
    value.resize(needed > 0 && needed <= value.size() ? needed - 1 : 0);
    return value;
}

} // namespace

int serveRequests(int channel, const MediaFunctions& media) {
    MetadataCache metadata(media);
    for (;;) {
        Request request{};
        int picture = -1;
        (void)readableSoon(channel); // then wait asleep
        if (!receiveAll(channel, &request, sizeof request, picture)) {
            if (picture >= 0)
                ::close(picture);
            return 0;
        }
        std::string text(request.textSize <= kMaxRequestText ? request.textSize : 0, '\0');
        int extra = -1;
        const bool whole =
            request.textSize <= kMaxRequestText && receiveAll(channel, text.data(), text.size(), extra);
        if (extra >= 0)
            ::close(extra);
        if (!whole || picture < 0) {
            if (picture >= 0)
                ::close(picture);
            return 1;
        }
        bool sent = false;
        if (request.ask == Ask::Thumbnail) {
            char reason[1024] = {};
            int width = 0;
            int height = 0;
            void* bytes = nullptr;
            std::size_t size = 0;
            const int made = media.thumbnail(picture, text.c_str(), static_cast<int>(request.longSide),
                                             &width, &height, &bytes, &size, reason, sizeof reason);
            const bool ok = made == 0 || made == 1;
            sent = answer(channel,
                          {ok ? static_cast<Status>(made) : Status::Failed, static_cast<std::uint32_t>(width),
                           static_cast<std::uint32_t>(height), 0, ok ? size : 0},
                          reason, bytes);
            if (bytes != nullptr)
                media.free(bytes);
        } else if (request.ask == Ask::Size) {
            int width = 0;
            int height = 0;
            const bool ok = media.size(picture, &width, &height) == 0 && width > 0 && height > 0;
            sent = answer(channel,
                          {ok ? Status::Done : Status::Failed, static_cast<std::uint32_t>(width),
                           static_cast<std::uint32_t>(height), 0, 0},
                          {});
        } else if (request.ask == Ask::Metadata) {
            void* meta = metadata.of(picture);
            const std::string value = meta != nullptr
                                          ? metadataValue(media, meta, static_cast<int>(request.what), text)
                                          : std::string();
            sent = answer(channel, {Status::Done, 0, 0, 0, 0}, value);
        }
        ::close(picture);
        if (!sent)
            return 1;
    }
}

} // namespace tabulon::decoder
