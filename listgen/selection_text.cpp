#include "listgen/selection_text.h"

#include "listgen/name_parts.h"

namespace tabulon {

std::string BuildSelectionText(std::string_view folder, const std::vector<std::string>& names) {
    std::string text;
    if (names.size() == 1) {
        if (folder.empty())
            text = names.front();
        else
            AppendJoinedPath(text, folder, names.front());
        return text;
    }
    text.assign(folder);
    for (const std::string& name : names) {
        text.push_back('\0');
        text.append(name);
    }
    return text;
}

} // namespace tabulon
