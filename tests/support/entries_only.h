#pragma once

#include <string>
#include <vector>

#include "support/run_process.h"

namespace tabulon::test {

// tabulon-cli writing the entries alone, each as `entry` says: no comments, top, folder headings,
// bottom or row breaks. Options in `args` come later and so win.
inline ProcessResult entriesOnly(const std::string& entry, std::vector<std::string> args,
                                 const std::string& input = {}, const std::string& workDir = {},
                                 const std::string& program = TABULON_CLI) {
    args.insert(args.begin(), {"-w", "1000", "--no-comments", "--top=", "--bottom=", "--new-row=",
                               "--new-folder=", "--entry", entry, "--end-entry="});
    return runProcess(program, args, input, workDir);
}

} // namespace tabulon::test
