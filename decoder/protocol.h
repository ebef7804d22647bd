#pragma once

// What the decoder (tabulon-decoder, the worker process in which pictures are
// read) and the program that started it say to each other, over a stream
// socket the decoder holds as kChannelFd. The parent sends a Request, with
// the picture's descriptor attached (SCM_RIGHTS), and the Request's text; the
// decoder answers with an Answer, its text and its data. Once started, before
// its first request, the decoder sends one Answer: Ready, NoSandbox or
// Failed, with the reason. Plain POSIX, header only: both sides include it.
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tabulon::decoder {

inline constexpr const char* kDecoderProgram = "tabulon-decoder";
inline constexpr int kChannelFd = 3;
// The decoder runs without its sandbox where the system gives none, rather
// than refuse; the user asks for it by name.
inline constexpr const char* kUnsafeArgument = "--unsafe-decoding";

enum class Ask : std::uint32_t { Thumbnail = 1, Size = 2, Metadata = 3 };

struct Request {
    Ask ask;
    std::uint32_t longSide; // Thumbnail: the longer side at most
    std::uint32_t what;     // Metadata: kMediaTaken, kMediaCaption or kMediaKey
    std::uint32_t textSize; // Thumbnail: its format (".png"); Metadata: the key
};

enum class Status : std::int32_t {
    Done = 0,
    Damaged = 1,      // a thumbnail of what could be read; the text says why
    Failed = -1,      // the text says why
    OutOfMemory = -2, // the decoder ends: its memory bound was reached
    Ready = 10,
    NoSandbox = 11, // the text says why; the decoder ends
};

struct Answer {
    Status status;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t textSize; // the reason, or a metadata value
    std::uint64_t dataSize; // a thumbnail's bytes
};

// Larger answers are nonsense: a key's text, a reason, a value (an XMP
// packet's caption may be large), a thumbnail.
inline constexpr std::uint32_t kMaxRequestText = 4096;
inline constexpr std::uint32_t kMaxAnswerText = 256U << 20;
inline constexpr std::uint64_t kMaxAnswerData = 1ULL << 30;

// Sends `size` bytes, the first with `fd` attached when it is not -1. False
// when the other side is gone. Never raises SIGPIPE.
[[nodiscard]] inline bool sendAll(int channel, const void* bytes, std::size_t size, int fd = -1) {
    const char* at = static_cast<const char*>(bytes);
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    while (size > 0) {
        iovec part{const_cast<char*>(at), size};
        msghdr message{};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        if (fd >= 0) {
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            cmsghdr* header = CMSG_FIRSTHDR(&message);
            header->cmsg_level = SOL_SOCKET;
            header->cmsg_type = SCM_RIGHTS;
            header->cmsg_len = CMSG_LEN(sizeof(int));
            std::memcpy(CMSG_DATA(header), &fd, sizeof fd);
        }
        const ssize_t sent = ::sendmsg(channel, &message, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        fd = -1; // it went with the first byte
        at += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

// Receives up to `size` bytes once; a descriptor that came with them lands in
// `fd` (any other is closed). The count, 0 at the end, -1 on error.
inline ssize_t receiveSome(int channel, void* bytes, std::size_t size, int& fd) {
    iovec part{bytes, size};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t got = 0;
    do
        got = ::recvmsg(channel, &message, MSG_CMSG_CLOEXEC);
    while (got < 0 && errno == EINTR);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header != nullptr;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_RIGHTS &&
            header->cmsg_len == CMSG_LEN(sizeof(int))) {
            int passed = -1;
            std::memcpy(&passed, CMSG_DATA(header), sizeof passed);
            if (fd >= 0)
                ::close(fd);
            fd = passed;
        }
    }
    return got;
}

// Whether `channel` has something to read, or the other side is gone, within
// 200 µs, watched awake. While a list asks for metadata, the two sides
// answer each other within tens of microseconds: less than it costs to wake
// a process on another processor. On one processor the other side could not
// answer meanwhile, so there it is not watched; elsewhere the watcher yields
// to whatever else waits to run.
inline bool readableSoon(int channel) {
    static const bool severalProcessors = [] {
        cpu_set_t usable;
        return ::sched_getaffinity(0, sizeof usable, &usable) == 0 && CPU_COUNT(&usable) > 1;
    }();
    if (!severalProcessors)
        return false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
    pollfd wait{channel, POLLIN, 0};
    while (::poll(&wait, 1, 0) == 0 && std::chrono::steady_clock::now() < end)
        ::sched_yield();
    return wait.revents != 0;
}

} // namespace tabulon::decoder
