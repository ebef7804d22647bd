#include "listgen/html_page.h"

#include "listgen/escape.h"

namespace tabulon {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    appendHtmlEscaped(out, text);
    return out;
}

} // namespace

std::string pageStart(const PageInfo& page) {
    std::string out = "<!DOCTYPE html>\r\n<html lang=\"" + escaped(page.lang) +
                      "\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
                      "<title>" +
                      escaped(page.title) + "</title>\r\n";
    if (!page.baseHref.empty())
        out += "<base href=\"" + escaped(page.baseHref) + "\">\r\n";
    if (!page.style.empty())
        out += "<style>\r\n" + page.style + "\r\n</style>\r\n";
    out += "</head>\r\n<body>\r\n";
    return out;
}

std::string pageEnd() {
    return "</body>\r\n</html>\r\n";
}

} // namespace tabulon
