#include <QClipboard>

#include "listgen/list_assembly.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

class GoTest : public WindowTest {};

TEST_F(GoTest, CopyGivesTheEnginesTextUntilTheBoxIsEdited) {
    // Lone line ends from names and included files, and bytes that are not UTF-8.
    const std::string included = files.write("lf.txt", "x\ny\n\xff");
    const struct {
        std::string file;
        const char* newEntry;
    } cases[] = {
        {"/pics/a é\nb\rc.jpg", "<td>{{FILE}}</td>"},
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
        click("cmdGo"); // going twice gives the same list
        click("cmdCopy");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), engine);

        // Once edited, the box's text goes with CR LF line breaks throughout.
        resultBox->moveCursor(QTextCursor::End);
        QTest::keyClicks(resultBox, u"z"_s);
        click("cmdCopy");
        QString edited = engine;
        edited.replace(u"\r\n"_s, u"\n"_s).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        edited.replace(QLatin1Char('\n'), u"\r\n"_s).append(QLatin1Char('z'));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), edited);
    }
}

TEST_F(GoTest, ABadWidthIsReportedAndChangesNothing) {
    open();
    select({u"/p/a"_s});
    click("cmdGo");
    const QString before = result();
    templateBox("cbTextTop")->setEditText(u"new top"_s);
    // The rule has its own tests: here, that Go applies it and stops.
    control<QLineEdit>("txtWidth")->setText(u"12a"_s);
    click("cmdGo");
    EXPECT_EQ(dialogs.messages, QStringList{u"Enter a width > 0"_s});
    EXPECT_EQ(result(), before);
    EXPECT_EQ(templateBox("cbTextTop")->count(), 1);
}

TEST_F(GoTest, HistoriesFollowGo) {
    open();
    select({u"/p/a"_s});
    TemplateBox* top = templateBox("cbTextTop");
    top->setEditText(u"B"_s);
    click("cmdGo");
    top->setEditText(u"A"_s);
    click("cmdGo");
    click("cmdGo");          // the newest entry again: no change
    top->setCurrentIndex(1); // picking B from the list
    click("cmdGo");
    // The rule itself has its own tests: here, that Go applies it and keeps the text shown.
    EXPECT_EQ(top->history(), (QStringList{u"B"_s, u"A"_s, u"B"_s}));
    EXPECT_EQ(top->currentText(), u"B"_s);
}

TEST_F(GoTest, ChosenFilesAreListedByTheirFullPathsAndTheFirstOnesPlaceIsRemembered) {
    const struct {
        QStringList chosen;
        int filter;
        const char* folder;
    } cases[] = {
        {{u"/pics/one.png"_s}, 1, "/pics/"},
        {{u"/d/ x"_s, u"/d/  y"_s}, 2, "/d/"},
    };
    open();
    for (const auto& c : cases) {
        const std::string what = c.chosen.join(u'|').toStdString();
        select(c.chosen, c.filter);
        click("cmdGo");
        EXPECT_TRUE(result().contains(u"<td>%1</td>"_s.arg(c.chosen.join(u"</td>\n<td>"_s)))) << what;
        EXPECT_EQ(stored(u"cdSelectFiles"_s, u"InitDir"_s), QString::fromLatin1(c.folder)) << what;
        EXPECT_EQ(stored(u"cdSelectFiles"_s, u"FilterIndex"_s), QString::number(c.filter)) << what;
    }
    // Cancelling, even with another filter chosen, disables Go and stores nothing.
    select({});
    EXPECT_FALSE(control("cmdGo")->isEnabled());
    EXPECT_EQ(qobject_cast<FrmConfig*>(control("cmdGo")->window())->selection(), "");
    EXPECT_EQ(stored(u"cdSelectFiles"_s, u"FilterIndex"_s), u"2"_s);
}

} // namespace
} // namespace tabulon
