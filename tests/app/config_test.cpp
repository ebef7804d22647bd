#include <QFileDialog>
#include <QMessageBox>

#include "app/start.h"
#include "persist/config_file.h"
#include "selection/qt_dialogs.h"
#include "support/next_file_dialog.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

TEST_F(WindowTest, AConfigurationSavedAndLoadedThroughTheButtonsComesBackWhole) {
    open();
    control<QLineEdit>("txtWidth")->setText(u"x3"_s);
    templateBox("cbTextTop")->setEditText(u"<ul>{{CRLF}}"_s);
    templateBox("cbTextNewEntry")->setEditText(u"<li>é {{BASE}}</li>"_s);
    templateBox("cbTextBottom")->setEditText(u"</ul>"_s);
    control<CommentCheckBox>("chkAddComments")->setState(2);
    const QString file = QString::fromStdString(files / "set.ini");
    dialogs.configPaths.push_back(file);
    click("cmdSaveConfig");
    ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(QLatin1Char('\n')).toStdString();

    control<QLineEdit>("txtWidth")->setText(u"4"_s);
    templateBox("cbTextTop")->setEditText(u"changed"_s);
    control<CommentCheckBox>("chkAddComments")->setState(1);
    dialogs.configPaths.push_back(file);
    click("cmdLoadConfig");
    EXPECT_EQ(control<QLineEdit>("txtWidth")->text(), u"x3"_s);
    EXPECT_EQ(templateBox("cbTextTop")->currentText(), u"<ul>{{CRLF}}"_s);
    EXPECT_EQ(templateBox("cbTextNewEntry")->currentText(), u"<li>é {{BASE}}</li>"_s);
    EXPECT_EQ(templateBox("cbTextBottom")->currentText(), u"</ul>"_s);
    EXPECT_EQ(control<CommentCheckBox>("chkAddComments")->state(), 2);
    EXPECT_EQ(templateBox("cbTextTop")->count(), 0); // loading leaves the histories alone
}

TEST_F(WindowTest, AConfigurationsFileTypesAreTheFirstFilterOfTheFileDialogForTheSession) {
    store(u"cdSelectFiles"_s, u"FilterIndex"_s, u"2"_s);
    open();
    dialogs.configPaths = {configuration("gallery.ini", "txtWidth=2\nFiles=*.jpg; *.PNG\n"),
                           configuration("saved.ini", "txtWidth=2\n")};
    click("cmdLoadConfig");
    click("cmdSaveConfig"); // the types are read, never written
    EXPECT_EQ(test::readAll(files / "saved.ini").find("Files"), std::string::npos);

    // Chosen with the types, the dialog opens on them again and the stored filter stays.
    select({u"/p/a.jpg"_s}, 0);
    EXPECT_EQ(stored(u"cdSelectFiles"_s, u"FilterIndex"_s), u"2"_s);
    // Another filter chosen is stored; the types stay listed first.
    select({u"/p/b.gif"_s});
    EXPECT_EQ(stored(u"cdSelectFiles"_s, u"FilterIndex"_s), u"1"_s);
    click("cmdBrowseForFiles");
    // A configuration without types takes them away.
    dialogs.configPaths = {configuration("plain.ini", "txtWidth=2\n")};
    click("cmdLoadConfig");
    click("cmdBrowseForFiles");
    EXPECT_EQ(dialogs.asked.filter(u"select"_s),
              (QStringList{u"select  0 *.jpg; *.PNG"_s, u"select /p/ 0 *.jpg; *.PNG"_s,
                           u"select /p/ 1 *.jpg; *.PNG"_s, u"select /p/ 1"_s}));
}

// Until a folder is remembered, the load dialog offers the presets and the save
// dialog the user's documents.
TEST_F(WindowTest, TheConfigurationDialogsOfferTheirFoldersUntilOneWasUsed) {
    const test::TempDir home;
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", home.path().c_str(), 1);
    const QString homeFolder = QString::fromStdString(home.path());
    open();
    click("cmdLoadConfig");
    click("cmdSaveConfig");
    std::filesystem::create_directories(home / "Documents");
    click("cmdSaveConfig");
    // A load from the shipped presets remembers their folder; a save goes elsewhere.
    store(u"cdSaveLoadConfig"_s, u"InitDir"_s, presetsFolderPath());
    click("cmdSaveConfig");
    std::filesystem::create_directories(files / "mine");
    dialogs.configPaths.push_back(QString::fromStdString(files / "mine/set.ini"));
    click("cmdSaveConfig");
    click("cmdSaveConfig");
    click("cmdLoadConfig");
    ::setenv("HOME", oldHome.c_str(), 1);

    const QString mine = QString::fromStdString(files / "mine/");
    EXPECT_EQ(dialogs.asked,
              (QStringList{u"open "_s + QCoreApplication::applicationDirPath() + u"/presets/"_s,
                           u"save "_s + homeFolder, u"save %1/Documents"_s.arg(homeFolder),
                           u"save %1/Documents"_s.arg(homeFolder), u"save %1/Documents"_s.arg(homeFolder),
                           u"save "_s + mine, u"open "_s + mine}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WindowTest, AConfigurationThatCannotBeReadOrWrittenIsReportedAndChangesNothing) {
    open();
    templateBox("cbTextTop")->setEditText(u"mine"_s);
    dialogs.configPaths.push_back(QString::fromStdString(files / "missing.ini"));
    click("cmdLoadConfig");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.takeFirst().contains(u"missing.ini: No such file"_s));
    EXPECT_EQ(templateBox("cbTextTop")->currentText(), u"mine"_s);
    EXPECT_EQ(stored(u"cdSaveLoadConfig"_s, u"InitDir"_s), QString());

    dialogs.configPaths.push_back(QString::fromStdString(files / "no/folder.ini"));
    click("cmdSaveConfig");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages.takeFirst().contains(u"folder.ini: No such file"_s));
}

// The one test that drives Qt's own dialog, as a user would.
TEST(RealDialogs, SelectFilesReturnsTheChosenFilesInOrder) {
    const test::TempDir dir;
    dir.write("b.jpg", "");
    dir.write("a.JPG", "");
    dir.write("README", "");
    QtDialogs dialogs;
    test::answerNextDialog([](QFileDialog& dialog) {
        dialog.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"\"b.jpg\" \"a.JPG\""_s);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    const FileChoice choice = dialogs.selectFiles(nullptr, QString::fromStdString(dir.path()), 2, QString());
    const QString folder = QString::fromStdString(dir.path());
    EXPECT_EQ(choice.files, (QStringList{folder + u"/b.jpg"_s, folder + u"/a.JPG"_s}));
    EXPECT_EQ(choice.filterIndex, 2);
}

// Shows a real message and answers it; the width the box had on screen.
int shownWidth(const QString& text) {
    int width = 0;
    test::answerNextDialog<QMessageBox>([&](QMessageBox& box) {
        width = box.width();
        box.button(QMessageBox::Ok)->click();
    });
    QtDialogs().showMessage(nullptr, text);
    return width;
}

TEST(RealDialogs, AShortMessageIsWideEnoughForItsWholeCaption) {
    // A bold 12-point title beside an icon and three buttons.
    QFont title = QApplication::font();
    title.setPointSize(12);
    title.setBold(true);
    const int needed = QFontMetrics(title).horizontalAdvance(u"Tabulon"_s) + 4 * 32;
    int shortWidth = 0;
    for (const char* text : {"x", "Enter a width", "Enter a width > 0"}) {
        shortWidth = shownWidth(QString::fromLatin1(text));
        EXPECT_GE(shortWidth, needed) << text;
    }
    // A longer text still widens the box.
    const QString longText = QStringLiteral("Tabulon had a problem running your web browser on URL "
                                            "https://quorvane.example/tabulon/.");
    EXPECT_GT(shownWidth(longText), shortWidth);
}

} // namespace
} // namespace tabulon
