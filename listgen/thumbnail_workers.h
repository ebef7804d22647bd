#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "listgen/media.h"
#include "listgen/thumbnails.h"

namespace tabulon {

// As many workers as the machine has cores.
inline unsigned defaultThumbnailWorkers() {
    return std::max(1U, std::thread::hardware_concurrency());
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

    unsigned count() const { return static_cast<unsigned>(threads_.size()); }
    // The thumbnail folders made or looked at so far.
    const ThumbnailFolders& folders() const { return folders_; }
    void submit(std::shared_ptr<ThumbnailJob> job);
    // Returns once `job` is done.
    void wait(const ThumbnailJob& job);

private:
    void work();

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
};

} // namespace tabulon
