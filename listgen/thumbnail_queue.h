#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "listgen/media.h"
#include "listgen/thumbnail_workers.h"
#include "listgen/thumbnails.h"

namespace tabulon {

// A thumbnail that must not or cannot be written stops the list; the
// message names the first of those in hand and counts the rest.
class ThumbnailFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The entries waiting for their thumbnails, in the list's order. The workers
// run ahead by a few entries per thread, not by the whole list, so memory
// stays flat for any number of files.
class ThumbnailQueue {
public:
    struct Entry {
        std::string folder;
        std::string name;
        std::shared_ptr<ThumbnailJob> job;
    };

    ThumbnailQueue(const Media& media, ThumbnailRules rules, std::vector<std::uint32_t> sizes,
                   unsigned workers);

    // Why fewer workers started than asked for; empty when all did.
    const std::string& shortfall() const { return workers_.shortfall(); }
    // The thumbnail folders Tabulon made that the list used.
    std::vector<std::string> tabulonFolders() const { return workers_.folders().tabulonFolders(); }

    // Hands an entry's picture to the workers.
    void add(std::string_view folder, std::string_view name);
    // Holds as many entries as it runs ahead by: the oldest is to be written.
    bool full() const { return pending_.size() > 4 * static_cast<std::size_t>(workers_.count()) + 8; }
    bool empty() const { return pending_.empty(); }
    // The oldest entry, once its thumbnails are done. A thumbnail that could
    // not be written throws ThumbnailFailure.
    Entry next();

private:
    [[noreturn]] void stopForFailures(const std::string& first);

    ThumbnailWorkers workers_;
    std::deque<Entry> pending_;
};

} // namespace tabulon
