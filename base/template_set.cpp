#include "base/template_set.h"

namespace tabulon {

TemplateSet InitialTemplateSet() {
    TemplateSet set;
    set.width = "4";
    set.top = "<table border=\"0\"><tr>{{CRLF}}";
    set.bottom = "{{CRLF}}</tr></table>{{CRLF}}";
    set.newRow = "</tr><tr>{{CRLF}}";
    set.newEntry = "<td>{{FILE}}</td>";
    set.endEntry = "{{CRLF}}";
    set.addComments = kChecked;
    return set;
}

std::string ExpandLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (;;) {
        const std::size_t at = text.find(kLineBreakMarker);
        if (at == std::string_view::npos)
            break;
        out.append(text.substr(0, at)).append(kLineBreak);
        text.remove_prefix(at + kLineBreakMarker.size());
    }
    out.append(text);
    return out;
}

} // namespace tabulon
