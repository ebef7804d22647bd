#include "listgen/thumbnail_workers.h"

#include <algorithm>
#include <new>
#include <utility>

namespace tabulon {

ThumbnailWorkers::ThumbnailWorkers(const Media& media, ThumbnailRules rules, std::vector<std::uint32_t> sizes,
                                   unsigned count)
    : media_(media), rules_(std::move(rules)), sizes_(std::move(sizes)) {
    count = std::max(count, 1U);
    threads_.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        threads_.emplace_back([this] { work(); });
}

ThumbnailWorkers::~ThumbnailWorkers() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
        queue_.clear();
    }
    queued_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void ThumbnailWorkers::submit(std::shared_ptr<ThumbnailJob> job) {
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
        std::vector<Thumbnail> made(sizes_.size());
        try {
            for (std::size_t i = 0; i < sizes_.size(); ++i) {
                made[i] = makeThumbnail(media_, job->file, sizes_[i], rules_);
                if (!made[i].failure.empty() || made[i].name.empty())
                    break; // the same cause would stop the others
            }
        } catch (const std::bad_alloc&) {
            made.front().failure = "not enough memory for the thumbnails of " + job->file;
        }
        {
            const std::lock_guard<std::mutex> hold(lock_);
            job->made = std::move(made);
            job->done = true;
        }
        finished_.notify_all();
    }
}

} // namespace tabulon
