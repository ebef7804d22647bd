#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "support/run_process.h"

namespace tabulon::test {

// The presets tabulon-cli ships, as --list-presets names them.
inline std::vector<std::string> presetNames() {
    std::istringstream names(runProcess(TABULON_CLI, {"--list-presets"}).out);
    std::vector<std::string> list;
    for (std::string name; std::getline(names, name);)
        list.push_back(name);
    return list;
}

} // namespace tabulon::test
