#include "listgen/file_facts.h"

#include <ctime>

#include <sys/stat.h>

namespace tabulon {

FileFacts readFileFacts(std::string_view path) {
    FileFacts facts;
    if (path.find('\0') != std::string_view::npos)
        return facts;
    struct stat st {};
    if (::stat(std::string(path).c_str(), &st) != 0)
        return facts;
    facts.size = static_cast<std::uint64_t>(st.st_size);
    std::tm local{};
    const std::time_t changed = st.st_mtime;
    if (::localtime_r(&changed, &local) != nullptr) {
        char day[16];
        if (std::strftime(day, sizeof day, "%Y-%m-%d", &local) > 0)
            facts.date = day;
    }
    return facts;
}

} // namespace tabulon
