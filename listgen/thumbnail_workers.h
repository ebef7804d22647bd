#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "listgen/media.h"
#include "listgen/thumbnails.h"

namespace tabulon {

// As many workers as the machine has cores, and no more than its available
// memory holds decoders at their bound.
inline unsigned defaultThumbnailWorkers() {
    unsigned workers = std::max(1U, std::thread::hardware_concurrency());
    if (const std::uint64_t available = availableMemory(); available > 0)
        workers = static_cast<unsigned>(std::min<std::uint64_t>(workers, available / kDecoderMemory));
    return std::max(1U, workers);
}

// The thumbnails of one entry, made by a worker while earlier entries are
// written.
struct ThumbnailJob {
    std::string file;
    std::vector<Thumbnail> made; // one per size, once done
    bool done = false;           // under the workers' lock
};

// Threads that make the thumbnails of the entries handed to them, in the
// order handed. The list is still written in its own order: the writer waits
// for each entry's job. Jobs not started when the workers are destroyed are
// dropped.
class ThumbnailWorkers {
public:
    ThumbnailWorkers(const Media& media, ThumbnailRules rules, std::vector<std::uint32_t> sizes,
                     unsigned count);
    ThumbnailWorkers(const ThumbnailWorkers&) = delete;
    ThumbnailWorkers& operator=(const ThumbnailWorkers&) = delete;
    ~ThumbnailWorkers();

    // The threads started: fewer than asked for when the system allowed no
    // more (none: each job is made on the thread that submits it).
    unsigned count() const { return static_cast<unsigned>(threads_.size()); }
    // "started 37 of 400 thumbnail workers: reason"; empty when all started.
    const std::string& shortfall() const { return shortfall_; }
    // The thumbnail folders made or looked at so far.
    const ThumbnailFolders& folders() const { return folders_; }
    void submit(std::shared_ptr<ThumbnailJob> job);
    // Returns once `job` is done.
    void wait(const ThumbnailJob& job);

private:
    // Starts threads until there are `count`; what refused one, if any.
    std::optional<std::system_error> start(unsigned count);
    // Ends every thread, dropping the jobs not started.
    void stop();
    void work();
    void make(ThumbnailJob& job);

    const Media& media_;
    const ThumbnailRules rules_;
    const std::vector<std::uint32_t> sizes_;
    ThumbnailFolders folders_;
    std::mutex lock_;
    std::condition_variable queued_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<ThumbnailJob>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
    std::string shortfall_;
};

} // namespace tabulon
