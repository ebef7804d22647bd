#include <QClipboard>

#include "listgen/list_assembly.h"
#include "window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

class GoTest : public WindowTest {
protected:
    void Select(QStringList files) {
        dialogs.fileChoices.push_back({std::move(files), 1});
        Click("cmdBrowseForFiles");
    }
    QString Result() { return Control<QPlainTextEdit>("txtResult")->toPlainText(); }
};

TEST_F(GoTest, GoWritesTheListAndCopyPutsItOnTheClipboardWithCrLf) {
    Open();
    Select({QStringLiteral("/pics/a.jpg"), QStringLiteral("/pics/ b.gif")});
    Click("cmdGo");
    StringSink engine;
    ASSERT_TRUE(GenerateList(InitialTemplateSet(), std::string("/pics\0a.jpg\0 b.gif", 18), engine).ok());
    Click("cmdCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), engine.take());
    EXPECT_EQ(QApplication::focusWidget(), Control("cmdCopy"));

    // Going twice gives the same list; Copy takes the user's edits too.
    const QString first = Result();
    Click("cmdGo");
    EXPECT_EQ(Result(), first);
    Control<QPlainTextEdit>("txtResult")->appendPlainText(QStringLiteral("édit"));
    Click("cmdCopy");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("-->\r\nédit")));
}

TEST_F(GoTest, CopyGivesTheEnginesTextUntilTheBoxIsEdited) {
    // Lone line ends from names and included files, and bytes that are not UTF-8.
    const std::string included = files.Write("lf.txt", "x\ny\n\xff");
    const struct {
        std::string file;
        const char* newEntry;
    } cases[] = {
        {"/p/a\nb.jpg", "<td>{{FILE}}</td>"},
        {"/p/c\rd.jpg", "<td>{{FILE}}</td>"},
        {included, "<td>{{INC}}</td>"},
    };
    Open();
    auto* box = Control<QPlainTextEdit>("txtResult");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Box("cbTextNewEntry")->setEditText(QString::fromUtf8(c.newEntry));
        Select({QString::fromStdString(c.file)});
        TemplateSet set = InitialTemplateSet();
        set.newEntry = c.newEntry;
        StringSink sink;
        ASSERT_TRUE(GenerateList(set, c.file, sink).ok());
        const QString engine = QString::fromStdString(sink.take());

        Click("cmdGo");
        Click("cmdCopy");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), engine);

        // Once edited, the box's text goes with CR LF line breaks throughout.
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, QStringLiteral("z"));
        Click("cmdCopy");
        QString edited = engine;
        edited.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        edited.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).append(QLatin1Char('z'));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), edited);
    }
}

TEST_F(GoTest, ABadWidthIsReportedAndChangesNothing) {
    Open();
    Select({QStringLiteral("/p/a")});
    Click("cmdGo");
    const QString result = Result();
    Box("cbTextTop")->setEditText(QStringLiteral("new top"));
    for (const auto& [width, message] : {std::pair{"", "Enter a width"}, std::pair{"0", "Enter a width > 0"},
                                         std::pair{"12a", "Enter a width > 0"}}) {
        Control<QLineEdit>("txtWidth")->setText(QString::fromLatin1(width));
        Click("cmdGo");
        EXPECT_EQ(dialogs.messages.takeLast(), QString::fromLatin1(message));
        EXPECT_EQ(Result(), result);
        EXPECT_EQ(Box("cbTextTop")->count(), 1);
    }
}

TEST_F(GoTest, HistoriesFollowGo) {
    Open();
    Select({QStringLiteral("/p/a")});
    TemplateBox* top = Box("cbTextTop");
    top->setEditText(QStringLiteral("B"));
    Click("cmdGo");
    top->setEditText(QStringLiteral("A"));
    Click("cmdGo");
    Click("cmdGo"); // the newest entry again: no change
    EXPECT_EQ(top->history(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    top->setCurrentIndex(1); // picking B from the list
    Click("cmdGo");
    EXPECT_EQ(top->history(), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(top->currentText(), QStringLiteral("B"));

    for (int i = 1; i <= 16; ++i) {
        top->setEditText(QString::number(i));
        Click("cmdGo");
    }
    EXPECT_EQ(top->count(), 15);
    EXPECT_EQ(top->itemText(0), QStringLiteral("16"));
    EXPECT_EQ(top->currentText(), QStringLiteral("16"));
    top->setEditText(QString());
    Click("cmdGo");
    EXPECT_EQ(top->itemText(0), QString());
    EXPECT_EQ(top->itemText(1), QStringLiteral("16"));
}

TEST_F(GoTest, TheSelectionComesFromTheDialogAndItsPlaceIsRemembered) {
    Open();
    Select({QStringLiteral("/pics/one.png")});
    FrmConfig& window = *qobject_cast<FrmConfig*>(Control("cmdGo")->window());
    EXPECT_EQ(window.selection(), "/pics/one.png");
    EXPECT_TRUE(Control("cmdGo")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Control("cmdGo"));
    EXPECT_EQ(Stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")), QStringLiteral("/pics/"));

    dialogs.fileChoices.push_back({{QStringLiteral("/d/ x"), QStringLiteral("/d/  y")}, 2});
    Click("cmdBrowseForFiles");
    EXPECT_EQ(window.selection(), std::string("/d\0 x\0  y", 9));
    EXPECT_EQ(Stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")), QStringLiteral("/d/"));
    EXPECT_EQ(Stored(QStringLiteral("cdSelectFiles"), QStringLiteral("FilterIndex")), QStringLiteral("2"));

    // Cancelling, even with another filter chosen, disables Go and stores nothing.
    dialogs.fileChoices.push_back({{}, 1});
    Click("cmdBrowseForFiles");
    EXPECT_FALSE(Control("cmdGo")->isEnabled());
    EXPECT_EQ(window.selection(), "");
    EXPECT_EQ(Stored(QStringLiteral("cdSelectFiles"), QStringLiteral("FilterIndex")), QStringLiteral("2"));
    EXPECT_EQ(dialogs.asked, (QStringList{QStringLiteral("select  1"), QStringLiteral("select /pics/ 1"),
                                          QStringLiteral("select /d/ 2")}));
}

TEST_F(GoTest, FilesOfSeveralFoldersAreListedByTheirFullPaths) {
    Open();
    Select({QStringLiteral("/one/a.jpg"), QStringLiteral("/two/b.jpg")});
    Click("cmdGo");
    EXPECT_TRUE(Result().contains(QStringLiteral("<td>/one/a.jpg</td>\n<td>/two/b.jpg</td>")));
    EXPECT_EQ(Stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")), QStringLiteral("/one/"));
}

TEST_F(GoTest, NamesWithABackslashAreListedAsTheyAre) {
    Open();
    Select({QStringLiteral("/D/x\\a.jpg"), QStringLiteral("/D/x\\b.jpg")});
    Click("cmdGo");
    EXPECT_TRUE(Result().contains(QStringLiteral("<td>/D/x\\a.jpg</td>\n<td>/D/x\\b.jpg</td>")))
        << Result().toStdString();
    EXPECT_EQ(Stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")), QStringLiteral("/D/"));
}

TEST_F(GoTest, AFileInTheRootIsRememberedWithOneSeparator) {
    Open();
    dialogs.fileChoices.push_back({{QStringLiteral("/a"), QStringLiteral("/b")}, 1});
    Click("cmdBrowseForFiles");
    EXPECT_EQ(Stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")), QStringLiteral("/"));
    Click("cmdGo");
    EXPECT_TRUE(Result().contains(QStringLiteral("<td>/a</td>\n<td>/b</td>")));
}

} // namespace
} // namespace tabulon
