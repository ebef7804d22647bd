#include <string_view>
#include <vector>

#include "cli/run.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return tabulon::cli::run(args);
}
