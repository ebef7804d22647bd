#include "listgen/thumbnail_queue.h"

#include <algorithm>
#include <utility>

#include "base/name_parts.h"

namespace tabulon {

ThumbnailQueue::ThumbnailQueue(const Media& media, ThumbnailRules rules, std::vector<std::uint32_t> sizes,
                               unsigned workers)
    : workers_(media, std::move(rules), std::move(sizes), workers) {}

void ThumbnailQueue::add(std::string_view folder, std::string_view name) {
    auto job = std::make_shared<ThumbnailJob>();
    appendJoinedPath(job->file, folder, name);
    workers_.submit(job);
    pending_.push_back({std::string(folder), std::string(name), std::move(job)});
}

ThumbnailQueue::Entry ThumbnailQueue::next() {
    Entry entry = std::move(pending_.front());
    pending_.pop_front();
    workers_.wait(*entry.job);
    for (const Thumbnail& made : entry.job->made) {
        if (!made.failure.empty())
            stopForFailures(made.failure);
    }
    return entry;
}

void ThumbnailQueue::stopForFailures(const std::string& first) {
    // The thumbnails already handed to the workers are seen to the end, so
    // that one run names what a full disk or a locked folder cost.
    constexpr std::size_t kNamed = 3;
    std::vector<std::string> failures{first};
    for (const Entry& entry : pending_) {
        workers_.wait(*entry.job);
        for (const Thumbnail& made : entry.job->made) {
            if (!made.failure.empty() &&
                std::find(failures.begin(), failures.end(), made.failure) == failures.end())
                failures.push_back(made.failure);
        }
    }
    std::string message;
    for (std::size_t i = 0; i < failures.size() && i < kNamed; ++i)
        message += (i > 0 ? "; " : "") + failures[i];
    if (failures.size() > kNamed)
        message += "; and " + std::to_string(failures.size() - kNamed) + " more";
    throw ThumbnailFailure(message);
}

} // namespace tabulon
