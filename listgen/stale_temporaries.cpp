#include "listgen/stale_temporaries.h"

#include <mutex>
#include <set>

#include <fcntl.h>

#include "posix/stale_temporaries.h"
#include "posix/unique_fd.h"

namespace tabulon {

void removeStaleTemporariesOnce(const std::string& folder, std::string_view prefix) {
    static std::mutex lock;
    static std::set<std::string> done;
    {
        const std::lock_guard<std::mutex> hold(lock);
        if (!done.insert(folder).second)
            return;
    }
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir)
        removeStaleTemporaries(dir.get(), prefix);
}

} // namespace tabulon
