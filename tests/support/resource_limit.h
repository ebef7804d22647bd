#pragma once

#include <csignal>

#include <sys/resource.h>

namespace tabulon::test {

// Lowers a limit of this process, and of the children it starts, for the
// lifetime of the object. RLIMIT_FSIZE makes writes past `value` fail with
// EFBIG (a disk-full stand-in that works even for root), RLIMIT_AS
// allocations past it.
class ResourceLimit {
public:
    using Resource = decltype(RLIMIT_AS); // an enum in glibc, an int elsewhere

    ResourceLimit(Resource resource, rlim_t value) : resource_(resource) {
        ::getrlimit(resource_, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = value;
        ::setrlimit(resource_, &limit);
    }
    ResourceLimit(const ResourceLimit&) = delete;
    ResourceLimit& operator=(const ResourceLimit&) = delete;
    ~ResourceLimit() {
        ::setrlimit(resource_, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    Resource resource_;
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace tabulon::test
