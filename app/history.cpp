#include "app/history.h"

namespace tabulon {

std::vector<std::string> UpdateComboList(std::vector<std::string> history, std::string_view current) {
    const std::string_view newest = history.empty() ? std::string_view() : std::string_view(history.front());
    if (newest == current)
        return history;
    history.insert(history.begin(), std::string(current));
    if (history.size() > kMaxHistory)
        history.resize(kMaxHistory);
    return history;
}

} // namespace tabulon
