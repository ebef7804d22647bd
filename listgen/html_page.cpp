#include "listgen/html_page.h"

#include "listgen/escape.h"

namespace tabulon {

namespace {

// The CSS goes in as it is: a style element's text is not parsed for
// character references, so escaping would break selectors like "a > b".
// Only "</style" could end it early; its '<' becomes the CSS escape "\3C ".
void appendStyle(std::string& out, const std::string& css) {
    std::size_t start = 0;
    for (std::size_t at = css.find("</"); at != std::string::npos; at = css.find("</", at + 1)) {
        out.append(css, start, at - start);
        out += "\\3C ";
        start = at + 1;
    }
    out.append(css, start);
}

// A script element's text is not parsed for character references either.
// "</script" would end it early, and "<!--" could start a state in which
// "</script>" no longer ends it; with a backslash after the '<' neither does,
// and inside a JavaScript string or regular expression "<\/" and "<\!" still
// stand for "</" and "<!".
void appendScript(std::string& out, const std::string& script) {
    std::string folded = script; // "</SCRIPT" ends it too
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    std::size_t start = 0;
    for (std::size_t at = folded.find('<'); at != std::string::npos; at = folded.find('<', at + 1)) {
        if (folded.compare(at + 1, 7, "/script") == 0 || folded.compare(at + 1, 3, "!--") == 0) {
            out.append(script, start, at + 1 - start);
            out += '\\';
            start = at + 1;
        }
    }
    out.append(script, start);
}

} // namespace

std::string pageStart(const PageInfo& page) {
    std::string out = "<!DOCTYPE html>\r\n<html lang=\"";
    appendHtmlEscaped(out, page.lang);
    out += "\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n<title>";
    appendHtmlEscaped(out, page.title);
    out += "</title>\r\n";
    if (!page.baseHref.empty()) {
        out += "<base href=\"";
        appendHtmlEscaped(out, page.baseHref);
        out += "\">\r\n";
    }
    if (!page.style.empty()) {
        out += "<style>\r\n";
        appendStyle(out, page.style);
        out += "\r\n</style>\r\n";
    }
    out += "</head>\r\n<body>\r\n";
    return out;
}

std::string pageEnd(const PageInfo& page) {
    std::string out;
    if (!page.script.empty()) {
        out += "<script>\r\n";
        appendScript(out, page.script);
        out += "\r\n</script>\r\n";
    }
    out += "</body>\r\n</html>\r\n";
    return out;
}

} // namespace tabulon
