#include <QClipboard>

#include "listgen/list_assembly.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

class GoTest : public WindowTest {
protected:
    void select(QStringList files) {
        dialogs.fileChoices.push_back({std::move(files), 1});
        click("cmdBrowseForFiles");
    }
    QString result() { return control<QPlainTextEdit>("txtResult")->toPlainText(); }
};

TEST_F(GoTest, GoWritesTheListAndCopyPutsItOnTheClipboardWithCrLf) {
    open();
    select({QStringLiteral("/pics/a.jpg"), QStringLiteral("/pics/ b.gif")});
    click("cmdGo");
    StringSink engine;
    generateList(initialTemplateSet(), 4, std::string("/pics\0a.jpg\0 b.gif", 18), engine);
    click("cmdCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), engine.take());
    EXPECT_EQ(QApplication::focusWidget(), control("cmdCopy"));

    // Going twice gives the same list; Copy takes the user's edits too.
    const QString first = result();
    click("cmdGo");
    EXPECT_EQ(result(), first);
    control<QPlainTextEdit>("txtResult")->appendPlainText(QStringLiteral("édit"));
    click("cmdCopy");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("-->\r\nédit")));
}

TEST_F(GoTest, CopyGivesTheEnginesTextUntilTheBoxIsEdited) {
    // Lone line ends from names and included files, and bytes that are not UTF-8.
    const std::string included = files.write("lf.txt", "x\ny\n\xff");
    const struct {
        std::string file;
        const char* newEntry;
    } cases[] = {
        {"/p/a\nb.jpg", "<td>{{FILE}}</td>"},
        {"/p/c\rd.jpg", "<td>{{FILE}}</td>"},
        {included, "<td>{{INC}}</td>"},
    };
    open();
    auto* resultBox = control<QPlainTextEdit>("txtResult");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        templateBox("cbTextNewEntry")->setEditText(QString::fromUtf8(c.newEntry));
        select({QString::fromStdString(c.file)});
        TemplateSet set = initialTemplateSet();
        set.newEntry = c.newEntry;
        StringSink sink;
        generateList(set, 4, c.file, sink);
        const QString engine = QString::fromStdString(sink.take());

        click("cmdGo");
        click("cmdCopy");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), engine);

        // Once edited, the box's text goes with CR LF line breaks throughout.
        resultBox->moveCursor(QTextCursor::End);
        QTest::keyClicks(resultBox, QStringLiteral("z"));
        click("cmdCopy");
        QString edited = engine;
        edited.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        edited.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).append(QLatin1Char('z'));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), edited);
    }
}

TEST_F(GoTest, ABadWidthIsReportedAndChangesNothing) {
    open();
    select({QStringLiteral("/p/a")});
    click("cmdGo");
    const QString before = result();
    templateBox("cbTextTop")->setEditText(QStringLiteral("new top"));
    for (const auto& [width, message] : {std::pair{"", "Enter a width"}, std::pair{"0", "Enter a width > 0"},
                                         std::pair{"12a", "Enter a width > 0"}}) {
        control<QLineEdit>("txtWidth")->setText(QString::fromLatin1(width));
        click("cmdGo");
        EXPECT_EQ(dialogs.messages.takeLast(), QString::fromLatin1(message));
        EXPECT_EQ(result(), before);
        EXPECT_EQ(templateBox("cbTextTop")->count(), 1);
    }
}

TEST_F(GoTest, HistoriesFollowGo) {
    open();
    select({QStringLiteral("/p/a")});
    TemplateBox* top = templateBox("cbTextTop");
    top->setEditText(QStringLiteral("B"));
    click("cmdGo");
    top->setEditText(QStringLiteral("A"));
    click("cmdGo");
    click("cmdGo");          // the newest entry again: no change
    top->setCurrentIndex(1); // picking B from the list
    click("cmdGo");
    // The rule itself has its own tests: here, that Go applies it and keeps the text shown.
    EXPECT_EQ(top->history(), (QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(top->currentText(), QStringLiteral("B"));
}

TEST_F(GoTest, TheSelectionComesFromTheDialogAndItsPlaceIsRemembered) {
    open();
    select({QStringLiteral("/pics/one.png")});
    FrmConfig& window = *qobject_cast<FrmConfig*>(control("cmdGo")->window());
    EXPECT_EQ(window.selection(), "/pics/one.png");
    EXPECT_TRUE(control("cmdGo")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), control("cmdGo"));
    EXPECT_EQ(stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")), QStringLiteral("/pics/"));

    dialogs.fileChoices.push_back({{QStringLiteral("/d/ x"), QStringLiteral("/d/  y")}, 2});
    click("cmdBrowseForFiles");
    EXPECT_EQ(window.selection(), std::string("/d\0 x\0  y", 9));
    EXPECT_EQ(stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")), QStringLiteral("/d/"));
    EXPECT_EQ(stored(QStringLiteral("cdSelectFiles"), QStringLiteral("FilterIndex")), QStringLiteral("2"));

    // Cancelling, even with another filter chosen, disables Go and stores nothing.
    dialogs.fileChoices.push_back({{}, 1});
    click("cmdBrowseForFiles");
    EXPECT_FALSE(control("cmdGo")->isEnabled());
    EXPECT_EQ(window.selection(), "");
    EXPECT_EQ(stored(QStringLiteral("cdSelectFiles"), QStringLiteral("FilterIndex")), QStringLiteral("2"));
    EXPECT_EQ(dialogs.asked, (QStringList{QStringLiteral("select  1"), QStringLiteral("select /pics/ 1"),
                                          QStringLiteral("select /d/ 2")}));
}

TEST_F(GoTest, FilesAreListedByTheirFullPathsAndTheFirstOnesFolderIsRemembered) {
    const struct {
        const char* chosen[2];
        const char* folder;
    } cases[] = {{{"/one/a.jpg", "/two/b.jpg"}, "/one/"},
                 {{"/D/x\\a.jpg", "/D/x\\b.jpg"}, "/D/"},
                 {{"/a", "/b"}, "/"}};
    open();
    for (const auto& c : cases) {
        const QString first = QString::fromLatin1(c.chosen[0]), second = QString::fromLatin1(c.chosen[1]);
        select({first, second});
        click("cmdGo");
        EXPECT_TRUE(result().contains(QStringLiteral("<td>%1</td>\n<td>%2</td>").arg(first, second)))
            << result().toStdString();
        EXPECT_EQ(stored(QStringLiteral("cdSelectFiles"), QStringLiteral("InitDir")),
                  QString::fromLatin1(c.folder));
    }
}

} // namespace
} // namespace tabulon
