#include "base/name_parts.h"

namespace tabulon {

std::string_view GetFilePath(std::string_view name) {
    for (std::size_t i = name.size(); i > 0; --i) {
        if (isSeparator(name[i - 1]))
            return name.substr(0, i);
    }
    return {};
}

std::string_view GetFileExt(std::string_view name) {
    for (std::size_t i = name.size(); i > 0; --i) {
        const char c = name[i - 1];
        if (c == '.')
            return name.substr(i - 1);
        if (isSeparator(c))
            return {};
    }
    return {};
}

std::string_view GetFileBase(std::string_view name) {
    std::string_view last = name.substr(GetFilePath(name).size());
    last.remove_suffix(GetFileExt(name).size());
    return last;
}

} // namespace tabulon
