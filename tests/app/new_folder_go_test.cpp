// A loaded configuration's new-folder text in the window's Go.
// GLib's headers name a member `signals`, which Qt makes a keyword: before Qt.
#include "support/made_pictures.h"

#include <filesystem>

#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

// Both the plain Go and the one in the background write it, until a
// configuration without it is loaded.
TEST_F(WindowTest, ALoadedNewFolderTextIsWrittenByEveryGoUntilAnotherConfigurationIsLoaded) {
    open();
    std::filesystem::create_directories(files / "a");
    std::filesystem::create_directories(files / "b");
    ASSERT_TRUE(test::makePicture(files / "a/p.jpg", 16, 8));
    ASSERT_TRUE(test::makePicture(files / "b/q.jpg", 16, 8));
    select({QString::fromStdString(files / "a/p.jpg"), QString::fromStdString(files / "b/q.jpg")});
    const std::string keys = "txtWidth=9\ncbTextEndEntry=;\ncbTextNewEntry={{BASE}}";
    const std::string heading = "\nNewFolder=[{{FOLDERNAME}} {{FOLDERCOUNT}}]\n";
    dialogs.configPaths = {configuration("plain.ini", keys + heading),
                           configuration("thumbs.ini", keys + " {{THUMBWIDTH(8)}}" + heading),
                           configuration("none.ini", keys + "\n")};
    for (const QString& expected : {u"[a 1]p;[b 1]q;"_s, u"[a 1]p 8;[b 1]q 8;"_s, u"p;q;"_s}) {
        click("cmdLoadConfig");
        click("cmdGo");
        ASSERT_TRUE(waitForGo());
        EXPECT_TRUE(result().contains(expected)) << result().toStdString();
    }
}

} // namespace
} // namespace tabulon
