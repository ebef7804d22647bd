#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "posix/result.h"
#include "posix/unique_fd.h"

namespace tabulon {

// How the decoders run: how many at most, their bounds, and whether they may
// run without their sandbox where the system gives none.
struct DecoderLimits {
    unsigned workers = 1;
    std::chrono::milliseconds time{10000}; // per picture
    std::uint64_t memory = 0;              // address space per decoder; 0: kDecoderMemory, or less (below)
    bool unsafe = false;
};

// What a list that needs pictures read says where the system gives decoders no sandbox.
inline constexpr std::string_view kNoSandbox =
    "pictures are read only in a sandbox, and this system gives none: ";

// A decoder's address space when the machine has room for it.
inline constexpr std::uint64_t kDecoderMemory = 1ULL << 30;
// The memory the system has available now (MemAvailable), when it says.
std::uint64_t availableMemory();
// The address space each of `workers` decoders gets: kDecoderMemory, or
// what the machine has available shared among them, not less than a decoder
// needs to start.
std::uint64_t decoderMemory(unsigned workers);

// Why a request got no answer. `unsafe`: the decoder died on the picture,
// was killed at its bounds or answered nonsense, and `why` says which
// ("the decoder crashed"); else the decoder could not be started.
struct DecoderTrouble {
    std::string why;
    bool unsafe = false;
};

// What the decoder answered.
struct DecoderAnswer {
    int status = 0; // decoder::Status
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::string text;
    std::string data;
};

// Worker processes (tabulon-decoder) that read pictures for the engine, at
// most `limits.workers`, started when a request finds none free and started
// again after one dies. Each request goes to one free decoder, with the
// picture's descriptor; the calling thread waits for the answer at most
// `limits.time`, then kills the decoder. Safe from several threads at once.
class DecoderPool {
public:
    // `program` is started with the argument `module` (the media module it loads).
    DecoderPool(std::string program, std::string module, DecoderLimits limits);
    DecoderPool(const DecoderPool&) = delete;
    DecoderPool& operator=(const DecoderPool&) = delete;
    ~DecoderPool();

    // Starts the first decoder, so that a list learns before it begins
    // whether pictures can be read at all. The error says why not.
    [[nodiscard]] Result<void, std::string> start();
    // Sends `request` (a decoder::Request, its text following) with the
    // picture `fd`, and returns the answer. `worker` names the decoder to
    // prefer when free (one that read this picture before) and is set to the
    // one that answered.
    [[nodiscard]] Result<DecoderAnswer, DecoderTrouble> ask(int fd, const void* request, std::size_t size,
                                                            std::string_view text, int& worker);
    std::uint64_t memoryBound() const { return memory_; }

private:
    struct Worker {
        pid_t pid = -1;
        UniqueFd channel;
        bool busy = false;
    };

    // Starts a decoder into `worker` and waits until it is ready; the reason when it is not.
    [[nodiscard]] std::string spawn(Worker& worker) const;
    // Kills the decoder, if it still runs, and waits for it: whether a signal ended it, and which.
    static int endWorker(Worker& worker, bool kill);
    // One request and its answer. `delivered`: whether the decoder took the
    // request; one that did not was gone before it came.
    [[nodiscard]] Result<DecoderAnswer, DecoderTrouble> exchange(Worker& worker, int fd, const void* request,
                                                                 std::size_t size, std::string_view text,
                                                                 bool& delivered) const;
    // A free decoder, `preferred` if it is; its pid is -1 when it is to be started.
    std::pair<int, Worker*> acquire(int preferred);
    void release(Worker& worker, bool dead);

    const std::string program_;
    const std::string module_;
    const DecoderLimits limits_;
    const std::uint64_t memory_;
    const unsigned most_; // decoders at once: as asked, and as many as the memory holds
    std::mutex lock_;
    std::condition_variable freed_;
    std::vector<std::unique_ptr<Worker>> workers_; // a slot with pid -1 is being started or was ended
    unsigned running_ = 0;
};

} // namespace tabulon
