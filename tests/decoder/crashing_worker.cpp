// A stand-in decoder for the tests: it speaks the decoder's protocol without
// reading pictures, and does to itself what a hostile picture would make a
// real decoder do, by the picture's first bytes: CRASH dies of a fault, HANG
// never answers, TRICKLE never finishes answering, NONSENSE answers garbage. Anything else gets a 1x1
// thumbnail and the day 2001-02-03.
#include <csignal>
#include <cstring>
#include <string>

#include <unistd.h>

#include "decoder/protocol.h"

using namespace tabulon::decoder;

namespace {

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
        // The engine sends a request and its short text whole: one read each.
        Request request{};
        int picture = -1;
        if (receiveSome(kChannelFd, &request, sizeof request, picture) != sizeof request)
            return 0;
        std::string text(request.textSize, '\0');
        if (!text.empty() &&
            receiveSome(kChannelFd, text.data(), text.size(), picture) != ssize_t(text.size()))
            return 1;
        char head[8] = {};
        (void)!::pread(picture, head, sizeof head, 0);
        ::close(picture);
        const std::string first(head, strnlen(head, sizeof head));
        if (first.starts_with("CRASH"))
            std::raise(SIGSEGV);
        if (first.starts_with("HANG"))
            ::pause();
        if (first.starts_with("TRICKLE")) { // a long answer, a byte at a time, until it is stopped
            const Answer head{Status::Done, 1, 1, 64U << 20, 0};
            for (bool sent = sendAll(kChannelFd, &head, sizeof head); sent;)
                sent = sendAll(kChannelFd, "x", 1);
            return 1;
        }
        if (first.starts_with("NONSENSE")) {
            const Answer garbage{static_cast<Status>(77), 0, 0, 0, 0};
            (void)sendAll(kChannelFd, &garbage, sizeof garbage);
        } else if (!(request.ask == Ask::Thumbnail ? answer(Status::Done, {}, "thumbnail")
                                                   : answer(Status::Done, "2001-02-03"))) {
            return 1;
        }
    }
}
