// The window's gallery as a web author publishes it: Copy, pasted into a page
// beside the pictures or where the configuration's RelativeTo= says, finds
// every picture and thumbnail once the folder is moved to the web server.
// GLib's headers name a member `signals`, which Qt makes a keyword: before Qt.
#include "support/made_pictures.h"

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <QClipboard>
#include <QTextBrowser>

#include "app/start.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

namespace fs = std::filesystem;
using test::WindowTest;

// The addresses in the page's src, srcset, href and data-original attributes.
std::vector<std::string> addresses(const std::string& page) {
    static const std::regex attribute(R"re(\b(src|srcset|href|data-original)="([^"]*)")re");
    std::vector<std::string> found;
    for (std::sregex_iterator it(page.begin(), page.end(), attribute), end; it != end; ++it) {
        if ((*it)[1] != "srcset") {
            found.push_back((*it)[2]);
            continue;
        }
        static const std::regex candidate(R"re(([^\s,]+)\s+\d+x)re"); // "a.png 1x, b.png 2x"
        const std::string set = (*it)[2];
        for (std::sregex_iterator c(set.begin(), set.end(), candidate); c != end; ++c)
            found.push_back((*c)[1]);
    }
    return found;
}

TEST_F(WindowTest, TheCopiedGalleryFindsItsPicturesWhereverThePageIsPublished) {
    FrmConfig& window = open();
    fs::create_directories(files / "site/pics/more");
    QStringList pictures;
    for (const char* name : {"site/pics/a b&c.jpg", "site/pics/more/d.png"}) {
        pictures << QString::fromStdString(files / name);
        ASSERT_TRUE(test::makePicture(files / name, 64, 48));
    }
    select(pictures);
    const QString preset = presetsFolderPath() + u"thumbnail-gallery.ini"_s;
    const std::string upOne = test::readAll(preset.toStdString()) + "RelativeTo=..\r\n";
    dialogs.configPaths = {preset, QString::fromStdString(files.write("up.ini", upOne))};

    // Beside the pictures' common folder, then one folder up.
    std::string copied[2];
    for (std::string& text : copied) {
        click("cmdLoadConfig");
        click("cmdGo");
        ASSERT_TRUE(waitForGo());
        click("cmdCopy");
        text = QGuiApplication::clipboard()->text().toStdString();
    }
    // The preview, and the browser's page with it, resolve against the same folder.
    click("cmdPreview");
    auto* preview = window.findChild<QTextBrowser*>(u"txtPreview"_s);
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->document()->baseUrl(), QUrl::fromLocalFile(QString::fromStdString(files / "site")));

    fs::rename(files / "site", files / "published");
    const std::pair<const std::string&, std::string> pages[] = {{copied[0], "published/pics"},
                                                                {copied[1], "published"}};
    for (const auto& [page, folder] : pages) {
        const std::vector<std::string> names = addresses(page);
        EXPECT_EQ(names.size(), 10U) << page; // a link, the original, a source and two in the set each
        for (const std::string& name : names)
            EXPECT_TRUE(fs::is_regular_file(files.path() / folder /
                                            QUrl::fromPercentEncoding(name.c_str()).toStdString()))
                << folder << ": " << name;
    }
}

} // namespace
} // namespace tabulon
