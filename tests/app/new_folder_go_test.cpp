// A loaded configuration's new-folder text in the window's Go.
// GLib's headers name a member `signals`, which Qt makes a keyword: before Qt.
#include "support/made_pictures.h"

#include <filesystem>

#include "app/background_go.h"
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
    dialogs.fileChoices.push_back(
        {{QString::fromStdString(files / "a/p.jpg"), QString::fromStdString(files / "b/q.jpg")}, 1});
    click("cmdBrowseForFiles");
    const auto config = [&](const char* name, const char* entry, const char* newFolder) {
        return QString::fromStdString(
            files.write(name, std::string("[Configuration]\ntxtWidth=9\ncbTextEndEntry=;\ncbTextNewEntry=") +
                                  entry + "\nNewFolder=" + newFolder + "\n"));
    };
    const char* heading = "[{{FOLDERNAME}} {{FOLDERCOUNT}}]";
    dialogs.configPaths = {config("plain.ini", "{{BASE}}", heading),
                           config("thumbs.ini", "{{BASE}} {{THUMBWIDTH(8)}}", heading),
                           config("none.ini", "{{BASE}}", "")};
    auto* go = control("cmdGo")->window()->findChild<BackgroundGo*>();
    for (const QString& expected : {u"[a 1]p;[b 1]q;"_s, u"[a 1]p 8;[b 1]q 8;"_s, u"p;q;"_s}) {
        click("cmdLoadConfig");
        click("cmdGo");
        ASSERT_TRUE(QTest::qWaitFor([go] { return !go->running(); }, 20000));
        const QString result = control<QPlainTextEdit>("txtResult")->toPlainText();
        EXPECT_TRUE(result.contains(expected)) << result.toStdString();
    }
}

} // namespace
} // namespace tabulon
