#include <gtest/gtest.h>

#include "listgen/html_page.h"

namespace tabulon {
namespace {

TEST(HtmlPage, EveryTextIsEscapedAndOnlyWhatIsGivenIsWritten) {
    struct Case {
        PageInfo page;
        std::string head; // between <title> and </head>
    };
    const Case cases[] = {
        {{"Photos & <b>\"1\"</b>", "en", "", "", ""},
         "<title>Photos &amp; &lt;b&gt;&quot;1&quot;&lt;/b&gt;</title>\r\n"},
        {{"t", "en", "", "file:///a b/\"x\"&y/", ""},
         "<title>t</title>\r\n<base href=\"file:///a b/&quot;x&quot;&amp;y/\">\r\n"},
        // CSS is no HTML: left as written, except what would end the style element.
        {{"t", "en", ".a > b{content:\"&\"}\r\np{}</style><script>", "", ""},
         "<title>t</title>\r\n<style>\r\n.a > b{content:\"&\"}\r\np{}\\3C /style><script>\r\n</style>\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pageStart(c.page),
                  "<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n" +
                      c.head + "</head>\r\n<body>\r\n")
            << c.page.title;
    }
    PageInfo odd;
    odd.lang = "x\"><script>";
    EXPECT_NE(pageStart(odd).find("<html lang=\"x&quot;&gt;&lt;script&gt;\">"), std::string::npos);
    EXPECT_EQ(pageEnd(odd), "</body>\r\n</html>\r\n");
    // Script is no HTML either: only what would end the element early, or keep it open, changes.
    odd.script = "a('</SCRIPT>', '<!--<script>', x < /y/);";
    EXPECT_EQ(
        pageEnd(odd),
        "<script>\r\na('<\\/SCRIPT>', '<\\!--<script>', x < /y/);\r\n</script>\r\n</body>\r\n</html>\r\n");
}

} // namespace
} // namespace tabulon
