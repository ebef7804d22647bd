#include "listgen/media.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

#include "base/data_folder.h"
#include "base/utf8.h"
#include "listgen/file_facts.h"
#include "modules/media_module.h"

namespace tabulon {

Result<void, std::string> Media::find() {
    path_ = modulePath(kMediaModule);
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0)
        return path_ + ": " + std::strerror(errno);
    return {};
}

Result<void, std::string> Media::load() const {
    if (loaded_.load(std::memory_order_acquire))
        return {};
    const std::lock_guard<std::mutex> hold(lock_);
    if (loaded_.load(std::memory_order_relaxed))
        return {};
    if (!loadError_.empty()) // tried once already: the same answer, at once
        return loadError_;
    const Result<void, std::string> done = loadFrom(path_.empty() ? modulePath(kMediaModule) : path_);
    if (!done.ok())
        loadError_ = done.error();
    else
        loaded_.store(true, std::memory_order_release);
    return done;
}

Result<void, std::string> Media::loadFrom(const std::string& path) const {
    if (const Result<void, std::string> opened = module_.open(path); !opened.ok())
        return opened.error();
    const auto init = module_.function<TabulonMediaInit>(kMediaInit);
    const auto thumbnail = module_.function<TabulonMediaThumbnail>(kMediaThumbnail);
    const auto size = module_.function<TabulonMediaSize>(kMediaSize);
    const auto metaOpen = module_.function<TabulonMediaMetaOpen>(kMediaMetaOpen);
    const auto metaClose = module_.function<TabulonMediaMetaClose>(kMediaMetaClose);
    const auto metaValue = module_.function<TabulonMediaMetaValue>(kMediaMetaValue);
    for (const std::string* error :
         {init.ok() ? nullptr : &init.error(), thumbnail.ok() ? nullptr : &thumbnail.error(),
          size.ok() ? nullptr : &size.error(), metaOpen.ok() ? nullptr : &metaOpen.error(),
          metaClose.ok() ? nullptr : &metaClose.error(), metaValue.ok() ? nullptr : &metaValue.error()}) {
        if (error != nullptr)
            return *error;
    }
    char reason[256] = {};
    if (init.value()(reason, sizeof reason) != 0)
        return path + ": " + reason;
    thumbnail_ = thumbnail.value();
    size_ = size.value();
    metaOpen_ = metaOpen.value();
    metaClose_ = metaClose.value();
    metaValue_ = metaValue.value();
    return {};
}

Result<Media::Made, Media::ThumbnailError>
Media::makeThumbnail(const std::string& source, const std::string& temp, std::uint32_t longSide) const {
    char reason[512] = {};
    int width = 0;
    int height = 0;
    const int made = thumbnail_(source.c_str(), temp.c_str(), static_cast<int>(longSide), &width, &height,
                                reason, sizeof reason);
    if (made != 0 && made != 1)
        return ThumbnailError{reason, made == kMediaWriteFailed};
    return Made{{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)},
                made == 1,
                made == 1 ? std::string(reason) : std::string()};
}

std::optional<ImageSize> Media::decodedSize(const std::string& path) const {
    if (!load().ok())
        return std::nullopt;
    int width = 0;
    int height = 0;
    if (size_(path.c_str(), &width, &height) != 0 || width <= 0 || height <= 0)
        return std::nullopt;
    return ImageSize{static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

Media::Metadata::Metadata(const Media& media, const std::string& path) : media_(media) {
    if (path.find('\0') == std::string::npos)
        handle_ = media.metaOpen_(path.c_str());
}

Media::Metadata::~Metadata() {
    if (handle_ != nullptr)
        media_.metaClose_(handle_);
}

std::string Media::Metadata::value(int what, const char* key) const {
    if (handle_ == nullptr)
        return {};
    std::string text(256, '\0');
    std::size_t needed = media_.metaValue_(handle_, what, key, text.data(), text.size());
    if (needed > text.size()) {
        text.resize(needed);
        needed = media_.metaValue_(handle_, what, key, text.data(), text.size());
    }
    text.resize(needed > 0 && needed <= text.size() ? needed - 1 : 0);
    // Whatever a picture holds reaches the page as UTF-8 text: a zero byte
    // is dropped, and damaged or foreign bytes show as U+FFFD.
    std::erase(text, '\0');
    return validUtf8(text);
}

std::string takenDay(const Media& media, const std::string& path) {
    std::string day = Media::Metadata(media, path).taken();
    return day.empty() ? readFileFacts(path).date : day;
}

} // namespace tabulon
