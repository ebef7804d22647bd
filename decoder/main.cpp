// tabulon-decoder: the worker process in which pictures are read. The program
// that starts it hands it a socket as descriptor 3, the media module's path
// as its argument, and each picture as a descriptor; it loads the module,
// readies libvips and Exiv2, shuts itself in its sandbox, and answers one
// request at a time (decoder/protocol.h). Whatever a crafted picture makes
// of it, it can reach no file, no network and no other process, and its
// parent bounds its memory and time.
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <glib.h>
#include <malloc.h>
#include <unistd.h>

#include "decoder/protocol.h"
#include "decoder/request_loop.h"
#include "posix/decoder_sandbox.h"
#include "posix/shared_module.h"

namespace {

using tabulon::Result;
using namespace tabulon::decoder;

bool say(Status status, std::string_view text) {
    const Answer head{status, 0, 0, static_cast<std::uint32_t>(text.size()), 0};
    return sendAll(kChannelFd, &head, sizeof head) && sendAll(kChannelFd, text.data(), text.size());
}

// GLib ends the process when an allocation fails; the parent hears why first.
GLogWriterOutput logWriter(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer) {
    if ((level & G_LOG_LEVEL_ERROR) != 0) {
        for (gsize i = 0; i < count; ++i) {
            if (std::strcmp(fields[i].key, "MESSAGE") == 0 && fields[i].length < 0 &&
                std::strstr(static_cast<const char*>(fields[i].value), "failed to allocate") != nullptr)
                (void)say(Status::OutOfMemory, {});
        }
    }
    return G_LOG_WRITER_HANDLED;
}

template <class Function>
bool take(const tabulon::SharedModule& module, const char* name, Function*& function, std::string& error) {
    const Result<Function*, std::string> found = module.function<Function>(name);
    if (!found.ok()) {
        if (error.empty())
            error = found.error();
        return false;
    }
    function = found.value();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool unsafe = argc == 3 && std::string_view(argv[2]) == kUnsafeArgument;
    if (argc != 2 && !unsafe)
        return 2;
    // Each thread's malloc arena reserves 64 MB of address space, which the
    // memory bound counts.
    mallopt(M_ARENA_MAX, 2);
    g_log_set_writer_func(logWriter, nullptr, nullptr);

    tabulon::SharedModule module;
    MediaFunctions media;
    std::string error;
    TabulonMediaInit* init = nullptr;
    if (const Result<void, std::string> opened = module.open(argv[1]); !opened.ok())
        error = opened.error();
    else if (take(module, kMediaInit, init, error) && take(module, kMediaThumbnail, media.thumbnail, error) &&
             take(module, kMediaFree, media.free, error) && take(module, kMediaSize, media.size, error) &&
             take(module, kMediaMetaOpen, media.metaOpen, error) &&
             take(module, kMediaMetaClose, media.metaClose, error) &&
             take(module, kMediaMetaValue, media.metaValue, error)) {
        char reason[512] = {};
        if (init(reason, sizeof reason) != 0)
            error = std::string(argv[1]) + ": " + reason;
    }
    if (!error.empty()) {
        (void)say(Status::Failed, error);
        return 1;
    }

    const int keep[] = {kChannelFd};
    if (const Result<void, std::string> walled = tabulon::enterDecoderSandbox(keep); !walled.ok()) {
        // Without the sandbox only where the system gives none, and only when asked.
        const bool none = !tabulon::decoderSandboxAvailable().ok();
        if (!(none && unsafe)) {
            (void)say(none ? Status::NoSandbox : Status::Failed, walled.error());
            return 1;
        }
    }
    if (!say(Status::Ready, {}))
        return 1;
    return serveRequests(kChannelFd, media);
}
