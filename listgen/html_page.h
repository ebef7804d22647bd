#pragma once

#include <string>

// A list wrapped in a whole HTML5 document, for a page that works on its own.
namespace tabulon {

struct PageInfo {
    std::string title;       // shown escaped in <title>
    std::string lang = "en"; // <html lang>
    std::string style;       // the preset's CSS, put in <style> in the head; empty: no <style>
    std::string baseHref;    // empty: no <base>; else <base href="..."> (attribute-escaped)
    std::string script;      // the preset's JavaScript, put in <script> after the list; empty: none
};

// Everything before the list: <!DOCTYPE html> ... <body> and a line break.
std::string pageStart(const PageInfo& page);
// Everything after it: the <script>, </body></html> and a line break.
std::string pageEnd(const PageInfo& page);

} // namespace tabulon
