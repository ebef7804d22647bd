#include <QMouseEvent>
#include <gmock/gmock.h>

#include "app/design.h"
#include "browser/open_in_browser.h"
#include "hostlink/host_core.h"
#include "listgen/html_page.h"
#include "resources/strings.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

class HelpTest : public test::WindowTest {
protected:
    HelpTest() { std::filesystem::remove(std::getenv("TABULON_OPENED")); }
    ~HelpTest() override { ::unsetenv("TABULON_OPENER_STATUS"); }

    // The addresses the stand-in opener was given, each as its one argument,
    // once `count` have come.
    QStringList opened(qsizetype count) {
        QStringList lines;
        (void)QTest::qWaitFor(
            [&] {
                lines = QString::fromStdString(test::readAll(std::getenv("TABULON_OPENED")))
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
                return lines.size() >= count;
            },
            5000);
        QStringList addresses;
        for (const QString& line : lines) {
            EXPECT_TRUE(line.startsWith(u"1:"_s)) << line.toStdString();
            addresses << line.mid(2);
        }
        return addresses;
    }
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString online = QString::fromLatin1(strings::kOnlineHelp);
};

// A plug-in run with every button shown and enabled.
class SilentHost final : public HostCore {
public:
    HostAnswer hkp_DataAdd(const QString&, const QVariant&) override { return {}; }
    HostAnswer hkp_DataAddInt(const QString&, qint16) override { return {}; }
    HostAnswer hkp_DataSetGlobalSuffix(const QString&) override { return {}; }
    void hkp_DataAddLater(const QString&, const QVariant&, QObject*, Answered) override {}
};

TEST_F(HelpTest, F1OnEveryWidgetThatTakesTheFocusOpensTheHelpOfItsControlAndShiftF1TheOnlineHelp) {
    SilentHost host;
    open(u"/hkprun"_s, &host);
    select({u"/p/a.jpg"_s});
    // The key goes to what has the focus: a box's own editor, say.
    QStringList controls;
    for (const design::Control& c : design::kControls) {
        auto* widget = control(c.name);
        if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible() || !widget->isEnabled())
            continue;
        controls << QString::fromLatin1(c.name);
        widget->setFocus();
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        // Only Shift changes where the help is.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, Qt::ControlModifier | Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier);
    }
    ASSERT_TRUE(controls.contains(u"cmdPluginInsert"_s) && controls.contains(u"cmdGo"_s));
    const QString local = u"file://%1/help-tabulon.html#"_s.arg(programFolder);
    QStringList anchors[2]; // the local page's, the online help's
    for (const QString& address : opened(2 * controls.size())) {
        const bool isLocal = address.startsWith(local);
        EXPECT_TRUE(isLocal || address.startsWith(online + QLatin1Char('#'))) << address.toStdString();
        anchors[isLocal ? 0 : 1] << address.section(QLatin1Char('#'), 1);
    }
    for (const QStringList& found : anchors)
        EXPECT_THAT(found, testing::UnorderedElementsAreArray(controls));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(HelpTest, F1InThePopupOpensTheHelpOfTheBoxUnderIt) {
    store(u"Locations"_s, u"Root"_s, u"/opt/tabulon/"_s);
    open();
    key(templateBox("cbTextEndEntry"), Qt::Key_F2);
    key(control("txtInputPopup"), Qt::Key_F1);
    EXPECT_EQ(opened(1), QStringList{u"file:///opt/tabulon/help-tabulon.html#cbTextEndEntry"_s});
}

TEST_F(HelpTest, TheLabelsOpenTheHelpPageAndTheirAddressesAndAFailureIsExplained) {
    open();
    QTest::mouseClick(control("lblHelp"), Qt::RightButton);
    QTest::mouseClick(control("lblHelp"), Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseClick(control("lblQuorvane"), Qt::LeftButton);
    QTest::mouseClick(control("lblMailto"), Qt::LeftButton);
    EXPECT_THAT(opened(4),
                testing::UnorderedElementsAre(programFolder + u"/help-tabulon.html"_s, online,
                                              QString::fromLatin1(strings::kSoftwarePage),
                                              u"mailto:"_s + QString::fromLatin1(strings::kMailAddress)));

    // A failing opener is explained with its code.
    ::setenv("TABULON_OPENER_STATUS", "3", 1);
    QTest::mouseClick(control("lblQuorvane"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.messages.size() == 1; }, 5000));
    ::setenv("TABULON_OPENER_STATUS", "2", 1);
    QTest::mouseClick(control("lblHelp"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.messages.size() == 2; }, 5000));
    // No association (3) names the address; any other code is shown as it is.
    EXPECT_TRUE(dialogs.messages[0].contains(QString::fromLatin1(strings::kSoftwarePage)));
    EXPECT_FALSE(dialogs.messages[0].contains(u"(Error"_s));
    EXPECT_TRUE(dialogs.messages[1].endsWith(u"(Error2)"_s));
}

TEST(HelpPage, AFolderEndingInABackslashStillGetsItsSlash) {
    const QString page = u"help-tabulon.html"_s;
    EXPECT_EQ(helpPagePath(u"/opt/t\\"_s, page), u"/opt/t\\/help-tabulon.html"_s);
    EXPECT_EQ(helpPageAddress(u"/opt/t\\"_s, page, u"txtWidth"_s),
              u"file:///opt/t%5C/help-tabulon.html#txtWidth"_s);
}

TEST(HelpPage, HasAnAnchorForEveryControl) {
    const std::string page = test::readAll(TABULON_HELP_PAGE);
    ASSERT_FALSE(page.empty());
    for (const design::Control& c : design::kControls)
        EXPECT_NE(page.find("id=\"" + std::string(c.name) + "\""), std::string::npos) << c.name;
}

TEST_F(HelpTest, OpenInBrowserWritesTheResultAsAPageBasedOnTheSelectionsFolder) {
    FrmConfig& window = open();
    std::filesystem::create_directory(files / "my pics");
    window.takeFiles({QString::fromStdString(files.write("my pics/a.jpg", "x"))});
    // A loaded configuration's style goes into the page's head, its script after the list.
    dialogs.configPaths.push_back(QString::fromStdString(files.write(
        "grid.ini", "[Configuration]\nStyle=p{color:red}{{CRLF}}.g{gap:1em}\nScript=go();{{CRLF}}end();\n")));
    click("cmdLoadConfig");
    const QString result = u"<img src=\"a.jpg\" alt=\"a &amp; é\">"_s;
    control<QPlainTextEdit>("txtResult")->setPlainText(result);
    click("cmdPreview");

    // No temporary folder to be had: the message says where and why, nothing is opened.
    const std::string noFolder = files / "no such folder";
    ::setenv("TMPDIR", noFolder.c_str(), 1);
    click("cmdOpenInBrowser");
    ::unsetenv("TMPDIR");
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains(QString::fromStdString(noFolder)))
        << dialogs.messages[0].toStdString();

    click("cmdOpenInBrowser");
    const QStringList addresses = opened(1);
    ASSERT_EQ(addresses.size(), 1);
    PageInfo page;
    page.title = "my pics";
    page.baseHref = "file://" + files.path().string() + "/my%20pics/";
    page.style = "p{color:red}\r\n.g{gap:1em}";
    page.script = "go();\r\nend();";
    EXPECT_EQ(test::readAll(QUrl(addresses[0]).toLocalFile().toStdString()),
              pageStart(page) + result.toStdString() + pageEnd(page));
    EXPECT_EQ(dialogs.messages.size(), 1);
}

} // namespace
} // namespace tabulon
