#pragma once

#include <cstdlib>
#include <string>

#include <sys/stat.h>

#include "support/temp_dir.h"

namespace tabulon::test {

// A stand-in xdg-open first on PATH: it appends "count:arguments", one line a
// call, to $TABULON_OPENED and exits with $TABULON_OPENER_STATUS (0 unless
// set). No test ever starts a real desktop handler.
class StandInOpener {
public:
    StandInOpener() {
        const std::string script =
            folder_.write("xdg-open", "#!/bin/sh\n"
                                      "printf '%s:%s\\n' \"$#\" \"$*\" >> \"${TABULON_OPENED:-/dev/null}\"\n"
                                      "exit \"${TABULON_OPENER_STATUS:-0}\"\n");
        ::chmod(script.c_str(), 0755);
        const char* path = std::getenv("PATH");
        ::setenv("PATH", (folder_.path().string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
        ::setenv("TABULON_OPENED", (folder_ / "opened.log").c_str(), 1);
    }

private:
    TempDir folder_;
};

} // namespace tabulon::test
