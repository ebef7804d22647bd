#include "listgen/thumbnail_workers.h"

#include <algorithm>
#include <new>
#include <optional>
#include <system_error>
#include <utility>

namespace tabulon {

ThumbnailWorkers::ThumbnailWorkers(const Media& media, ThumbnailRules rules, std::vector<std::uint32_t> sizes,
                                   unsigned count)
    : media_(media), rules_(std::move(rules)), sizes_(std::move(sizes)) {
    count = std::max(count, 1U);
    // A process or address-space limit may allow fewer threads than asked
    // for. A working thread needs far more room than a starting one: its
    // malloc arena (64 MB of address space), and a thread of libvips with
    // its own stack and arena, beside the module's hundred libraries, loaded
    // first. So a sixteenth of what could be started goes on; with none,
    // the writing thread makes the thumbnails.
    if (const std::optional<std::system_error> refused = start(count)) {
        const auto started = static_cast<unsigned>(threads_.size());
        stop();
        (void)media_.load();       // a module that cannot be loaded is reported by the first thumbnail
        (void)start(started / 16); // whatever starts now, at most what did before
        shortfall_ = "started " + std::to_string(threads_.size()) + " of " + std::to_string(count) +
                     " thumbnail workers: " + refused->code().message();
    }
}

std::optional<std::system_error> ThumbnailWorkers::start(unsigned count) {
    threads_.reserve(count);
    try {
        while (threads_.size() < count)
            threads_.emplace_back([this] { work(); });
    } catch (const std::system_error& refused) {
        return refused;
    }
    return std::nullopt;
}

void ThumbnailWorkers::stop() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
        queue_.clear();
    }
    queued_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
    threads_.clear();
    stopping_ = false;
}

ThumbnailWorkers::~ThumbnailWorkers() {
    stop();
}

void ThumbnailWorkers::submit(std::shared_ptr<ThumbnailJob> job) {
    if (threads_.empty()) {
        make(*job);
        return;
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        queue_.push_back(std::move(job));
    }
    queued_.notify_one();
}

void ThumbnailWorkers::wait(const ThumbnailJob& job) {
    std::unique_lock<std::mutex> hold(lock_);
    finished_.wait(hold, [&job] { return job.done; });
}

void ThumbnailWorkers::work() {
    for (;;) {
        std::shared_ptr<ThumbnailJob> job;
        {
            std::unique_lock<std::mutex> hold(lock_);
            queued_.wait(hold, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        make(*job);
    }
}

void ThumbnailWorkers::make(ThumbnailJob& job) {
    std::vector<Thumbnail> made(sizes_.size());
    try {
        for (std::size_t i = 0; i < sizes_.size(); ++i) {
            made[i] = makeThumbnail(media_, job.file, sizes_[i], rules_, folders_);
            if (!made[i].failure.empty() || made[i].name.empty())
                break; // the same cause would stop the others
        }
    } catch (const std::bad_alloc&) {
        made.front().failure = "not enough memory for the thumbnails of " + job.file;
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        job.made = std::move(made);
        job.done = true;
    }
    finished_.notify_all();
}

} // namespace tabulon
