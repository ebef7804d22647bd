#include "base/template_set.h"

namespace tabulon {

TemplateSet initialTemplateSet() {
    return {.width = "4",
            .top = "<table border=\"0\"><tr>{{CRLF}}",
            .bottom = "{{CRLF}}</tr></table>{{CRLF}}",
            .newRow = "</tr><tr>{{CRLF}}",
            .newEntry = "<td>{{FILE}}</td>",
            .endEntry = "{{CRLF}}",
            .addComments = kChecked};
}

std::string expandLineBreaks(std::string_view text) {
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
