// A stand-in decoder for the tests: it speaks the decoder's protocol without
// reading pictures, and does to itself what a hostile picture would make a
// real decoder do, by the picture's first bytes: CRASH dies of a fault, HANG
// never answers, HOG reports its memory bound reached, NONSENSE answers
// garbage, LIMIT answers its address-space limit (in MiB) as a metadata
// value. Anything else gets a 1x1 thumbnail and the day 2001-02-03.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "decoder/protocol.h"

using namespace tabulon::decoder;

namespace {

bool receiveAll(void* bytes, std::size_t size, int& fd) {
    auto* at = static_cast<char*>(bytes);
    while (size > 0) {
        const ssize_t got = receiveSome(kChannelFd, at, size, fd);
        if (got <= 0)
            return false;
        at += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool answer(Status status, const std::string& text, const std::string& data = {}) {
    const Answer head{status, 1, 1, static_cast<std::uint32_t>(text.size()), data.size()};
    return sendAll(kChannelFd, &head, sizeof head) && sendAll(kChannelFd, text.data(), text.size()) &&
           sendAll(kChannelFd, data.data(), data.size());
}

} // namespace

int main() {
    if (!answer(Status::Ready, {}))
        return 1;
    for (;;) {
        Request request{};
        int picture = -1;
        if (!receiveAll(&request, sizeof request, picture))
            return 0;
        std::string text(request.textSize, '\0');
        if (!receiveAll(text.data(), text.size(), picture))
            return 1;
        char head[8] = {};
        (void)!::pread(picture, head, sizeof head, 0);
        ::close(picture);
        const std::string first(head, strnlen(head, sizeof head));
        if (first.starts_with("CRASH"))
            std::raise(SIGSEGV);
        if (first.starts_with("HANG"))
            ::pause();
        if (first.starts_with("HOG")) { // as GLib's abort, reported first
            (void)answer(Status::OutOfMemory, {});
            std::abort();
        }
        if (first.starts_with("NONSENSE")) {
            const Answer garbage{static_cast<Status>(77), 0, 0, 0, 0};
            (void)sendAll(kChannelFd, &garbage, sizeof garbage);
            continue;
        }
        rlimit limit{};
        ::getrlimit(RLIMIT_AS, &limit);
        const bool sent = request.ask == Ask::Thumbnail ? answer(Status::Done, {}, "thumbnail")
                          : first.starts_with("LIMIT")
                              ? answer(Status::Done, std::to_string(limit.rlim_cur >> 20))
                              : answer(Status::Done, "2001-02-03");
        if (!sent)
            return 1;
    }
}
