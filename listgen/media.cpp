#include "listgen/media.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/data_folder.h"
#include "base/utf8.h"
#include "decoder/protocol.h"
#include "listgen/file_facts.h"
#include "modules/media_module.h"
#include "posix/write_all.h"

namespace tabulon {

namespace {

using decoder::Ask;
using decoder::Request;
using decoder::Status;

constexpr std::string_view kUnsafe = "could not be read safely: ";

Result<void, std::string> present(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return path + ": " + std::strerror(errno);
    return {};
}

// Whatever a picture holds reaches the page as UTF-8 text: a zero byte is
// dropped, and damaged or foreign bytes show as U+FFFD.
std::string pageText(std::string text) {
    std::erase(text, '\0');
    return validUtf8(text);
}

} // namespace

Media::~Media() = default;

Result<void, std::string> Media::find() {
    module_ = modulePath(kMediaModule);
    if (decoder_.empty())
        decoder_ = modulePath(decoder::kDecoderProgram);
    if (const Result<void, std::string> found = present(module_); !found.ok())
        return found;
    return present(decoder_);
}

Result<void, std::string> Media::load() const {
    const std::lock_guard<std::mutex> hold(lock_);
    if (tried_) // the same answer, at once
        return loadError_.empty() ? Result<void, std::string>() : Result<void, std::string>(loadError_);
    tried_ = true;
    const std::string module = module_.empty() ? modulePath(kMediaModule) : module_;
    const std::string program = decoder_.empty() ? modulePath(decoder::kDecoderProgram) : decoder_;
    if (const Result<void, std::string> found = present(module); !found.ok())
        loadError_ = found.error();
    else if (const Result<void, std::string> there = present(program); !there.ok())
        loadError_ = there.error();
    if (!loadError_.empty())
        return loadError_;
    auto pool = std::make_unique<DecoderPool>(program, module, limits_);
    if (const Result<void, std::string> started = pool->start(); !started.ok()) {
        loadError_ = started.error();
        noSandbox_ = loadError_.starts_with(kNoSandbox);
        return loadError_;
    }
    pool_ = std::move(pool);
    return {};
}

Result<int, std::string> Media::openPicture(const std::string& path) {
    if (path.find('\0') != std::string::npos)
        return std::string(std::strerror(EINVAL));
    // Not blocking on a FIFO in the way; only a regular file is read.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return std::string(std::strerror(errno));
    if (!S_ISREG(st.st_mode))
        return std::string("not a regular file");
    return fd.release();
}

Result<DecoderAnswer, DecoderTrouble> Media::ask(int fd, const void* request, std::size_t size,
                                                 std::string_view text, int& worker) const {
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    {
        const std::lock_guard<std::mutex> hold(lock_);
        if (pool_ == nullptr)
            return DecoderTrouble{loadError_.empty() ? "the decoder is not started" : loadError_, false};
        if (known && unsafe_.contains({st.st_dev, st.st_ino}))
            return DecoderTrouble{{}, true};
    }
    Result<DecoderAnswer, DecoderTrouble> answer = pool_->ask(fd, request, size, text, worker);
    if (!answer.ok() && answer.error().unsafe && known) {
        const std::lock_guard<std::mutex> hold(lock_);
        unsafe_.insert({st.st_dev, st.st_ino});
    }
    return answer;
}

Result<Media::Made, Media::ThumbnailError>
Media::makeThumbnail(const std::string& source, const std::string& temp, std::uint32_t longSide) const {
    const Result<int, std::string> opened = openPicture(source);
    if (!opened.ok())
        return ThumbnailError{opened.error()};
    const UniqueFd picture(opened.value());
    const std::size_t dot = temp.rfind('.');
    const std::string format = dot == std::string::npos ? std::string() : temp.substr(dot);
    const Request request{Ask::Thumbnail, longSide, 0, static_cast<std::uint32_t>(format.size())};
    int worker = -1;
    const Result<DecoderAnswer, DecoderTrouble> answer =
        ask(picture.get(), &request, sizeof request, format, worker);
    if (!answer.ok()) {
        if (!answer.error().unsafe)
            return ThumbnailError{answer.error().why};
        return ThumbnailError{answer.error().why.empty() ? std::string("could not be read safely")
                                                         : std::string(kUnsafe) + answer.error().why,
                              false, true};
    }
    const DecoderAnswer& made = answer.value();
    if (made.status == static_cast<int>(Status::Failed))
        return ThumbnailError{made.text.empty() ? std::string("cannot be decoded") : made.text};
    if (made.width == 0 || made.height == 0 || made.data.empty())
        return ThumbnailError{std::string(kUnsafe) + "the decoder answered nonsense", false, true};

    // Synced before the caller renames it over the name, as every file is written.
    UniqueFd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!out)
        return ThumbnailError{temp + ": " + std::strerror(errno), true};
    int error = writeAll(out.get(), made.data);
    if (error == 0 && ::fsync(out.get()) != 0)
        error = errno;
    if (out.close() != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return ThumbnailError{temp + ": " + std::strerror(error), true};
    }
    const bool damaged = made.status == static_cast<int>(Status::Damaged);
    return Made{{made.width, made.height}, damaged, damaged ? made.text : std::string()};
}

std::optional<ImageSize> Media::decodedSize(const std::string& path) const {
    if (!load().ok())
        return std::nullopt;
    const Result<int, std::string> opened = openPicture(path);
    if (!opened.ok())
        return std::nullopt;
    const UniqueFd picture(opened.value());
    const Request request{Ask::Size, 0, 0, 0};
    int worker = -1;
    const Result<DecoderAnswer, DecoderTrouble> answer =
        ask(picture.get(), &request, sizeof request, {}, worker);
    if (!answer.ok() || answer.value().status != static_cast<int>(Status::Done) ||
        answer.value().width == 0 || answer.value().height == 0)
        return std::nullopt;
    return ImageSize{answer.value().width, answer.value().height};
}

Media::Metadata::Metadata(const Media& media, const std::string& path) : media_(media) {
    if (const Result<int, std::string> opened = openPicture(path); opened.ok())
        fd_.reset(opened.value());
}

std::string Media::Metadata::value(int what, const std::string& key) const {
    if (!fd_ || key.size() > decoder::kMaxRequestText)
        return {};
    const Request request{Ask::Metadata, 0, static_cast<std::uint32_t>(what),
                          static_cast<std::uint32_t>(key.size())};
    const Result<DecoderAnswer, DecoderTrouble> answer =
        media_.ask(fd_.get(), &request, sizeof request, key, worker_);
    if (!answer.ok()) {
        if (answer.error().unsafe && !answer.error().why.empty())
            failure_ = std::string(kUnsafe) + answer.error().why;
        return {};
    }
    return pageText(answer.value().text);
}

std::string mediaUnavailable(const Media& media, const std::string& error) {
    if (media.noSandbox())
        return error + "; tabulon-cli --unsafe-decoding reads them without one";
    return std::string(kMediaMissing) + error;
}

std::string takenDay(const Media& media, const std::string& path,
                     const std::function<void(const std::string&)>& warn) {
    const Media::Metadata meta(media, path);
    std::string day = meta.taken();
    if (!meta.failure().empty() && warn)
        warn(path + ": " + meta.failure());
    return day.empty() ? readFileFacts(path).date : day;
}

} // namespace tabulon
