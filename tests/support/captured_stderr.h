#pragma once

// What this process writes to standard error while a CapturedStderr lives,
// kept in a file of its own folder; standard error is given back at take()
// or at the end, whichever comes first.
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace tabulon::test {

class CapturedStderr {
public:
    CapturedStderr() {
        std::fflush(stderr);
        const int into = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(into, STDERR_FILENO);
        ::close(into);
    }
    CapturedStderr(const CapturedStderr&) = delete;
    CapturedStderr& operator=(const CapturedStderr&) = delete;
    ~CapturedStderr() { giveBack(); }

    std::string take() {
        giveBack();
        return readAll(path_);
    }

private:
    void giveBack() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

    TempDir dir_;
    std::string path_ = dir_ / "stderr";
    int saved_ = ::dup(STDERR_FILENO);
};

} // namespace tabulon::test
