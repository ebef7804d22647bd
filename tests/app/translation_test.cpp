#include <filesystem>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QProcess>
#include <QTranslator>
#include <gmock/gmock.h>

#include "app/design.h"
#include "app/translations.h"
#include "browser/open_in_browser.h"
#include "caption_fit.h"
#include "hostlink/plugin_start.h"
#include "selection/qt_dialogs.h"
#include "support/child_run.h"
#include "support/next_file_dialog.h"
#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

// Brackets every text it is asked for that the shipped German translation
// holds, so a text that never asked, or that lupdate never found, shows plain.
class BracketingTranslator : public QTranslator {
public:
    BracketingTranslator() {
        EXPECT_TRUE(german_.load(u"tabulon_de"_s, translationsFolder())) << "no tabulon_de.qm";
    }
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        if (german_.translate(context, source, disambiguation, n).isEmpty())
            return {};
        return u"[%1]"_s.arg(QString::fromUtf8(source));
    }

private:
    QTranslator german_;
};

class TranslatedWindowTest : public WindowTest {
protected:
    TranslatedWindowTest() { QCoreApplication::installTranslator(&translator_); }
    ~TranslatedWindowTest() override { QCoreApplication::removeTranslator(&translator_); }

    static bool bracketed(const QString& text) {
        return text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']'));
    }

private:
    BracketingTranslator translator_;
};

TEST_F(TranslatedWindowTest, EveryUserTextOfTheWindowGoesThroughTheTranslation) {
    open();
    for (const design::Control& c : design::kControls) {
        if (*c.text == '\0')
            continue;
        const QString text = test::caption(*control(c.name));
        EXPECT_TRUE(bracketed(text)) << c.name << ": " << text.toStdString();
    }
    click("cmdPreview");
    EXPECT_TRUE(bracketed(control<QAbstractButton>("cmdOpenInBrowser")->text()));
    for (const char* name : {"cbTextTop", "cbTextNewEntry", "chkAddComments", "lblHelp"})
        EXPECT_TRUE(bracketed(control(name)->toolTip())) << name;

    // Stored data stays as it is: names and the initial templates.
    EXPECT_EQ(templateBox("cbTextTop")->currentText(), u"<table border=\"0\"><tr>{{CRLF}}"_s);

    select({u"/p/a.jpg"_s});
    control<QLineEdit>("txtWidth")->setText(u"0"_s);
    click("cmdGo");
    dialogs.configPaths.push_back(QString::fromStdString(files / "missing.ini"));
    click("cmdLoadConfig");
    EXPECT_THAT(dialogs.messages,
                testing::AllOf(testing::SizeIs(2), testing::Each(testing::Truly(bracketed))));
    EXPECT_TRUE(bracketed(browserFailureText(u"x"_s, 3)));
}

TEST_F(TranslatedWindowTest, DialogTitlesFilterLabelsAndPluginMessagesGoThroughTheTranslation) {
    QString title;
    QStringList filters;
    test::answerNextDialog([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        dialog.selectNameFilter(filters.value(0));
        dialog.reject();
    });
    // Opened on the last filter; a configuration's file types come first, as
    // filter 0, and chosen by their translated label they come back.
    EXPECT_EQ(QtDialogs().selectFiles(nullptr, QString(), 2, u"*.jpg; *.PNG;"_s).filterIndex, 0);
    EXPECT_EQ(title, u"[Select files]"_s);
    // The patterns the dialog filters by stay as they are.
    EXPECT_EQ(filters, (QStringList{u"[Files of the configuration (*.jpg; *.PNG;)] (*.jpg *.PNG)"_s,
                                    u"[All files (*.*)] (*)"_s,
                                    u"[Graphics (*.jpg;*.gif;*.bmp)] (*.jpg *.gif *.bmp)"_s}));

    QStringList messages;
    PluginStart start([] { return std::unique_ptr<HostCore>(); },
                      [&](const QString& text) { messages << text; });
    EXPECT_EQ(start.HandlePluginStart(u"/hkprun"_s), 1);
    EXPECT_EQ(start.HandlePluginStart(u"/hkpreg"_s), 1);
    EXPECT_THAT(messages, testing::AllOf(testing::SizeIs(2), testing::Each(testing::Truly(bracketed))));
}

TEST_F(TranslatedWindowTest, GoWithThumbnailsReportsThroughTheTranslation) {
    open();
    templateBox("cbTextNewEntry")->setEditText(u"{{THUMB(8)}}"_s);
    // A picture that cannot be read; one whose thumbnail folder is a file.
    std::filesystem::create_directories(files / "b");
    files.write("b/thumbs", "x");
    for (const char* picture : {"x.jpg", "b/y.jpg"}) {
        select({QString::fromStdString(files.write(picture, "not a picture"))});
        click("cmdGo");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.messages.isEmpty(); }, 20000)) << picture;
        EXPECT_TRUE(dialogs.messages.takeFirst().startsWith(QLatin1Char('['))) << picture;
    }
}

// The window as a German desktop starts it: the language from LANG alone (no
// such locale need be installed). The checks run in a child of this program,
// whose QApplication starts with that environment.
TEST_F(WindowTest, AGermanDesktopShowsTheWindowInGermanWithEveryCaptionWhole) {
    if (!qEnvironmentVariableIsSet("TABULON_TEST_GERMAN_CHILD")) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(u"LANG"_s, u"de_DE.UTF-8"_s);
        environment.insert(u"TABULON_TEST_GERMAN_CHILD"_s, u"1"_s);
        return test::expectPassesInChild(test::currentTestName(), environment);
    }
    const Translations translations;
    ASSERT_TRUE(translations.loaded()) << QLocale::system().name().toStdString();
    FrmConfig& window = open();
    EXPECT_EQ(control<QGroupBox>("Frame2")->title(), u"Schritt 2 – Dateien auswählen"_s);
    EXPECT_EQ(test::cutCaptions(window), QStringList());

    // Qt's own texts too: the file dialog's buttons.
    QStringList buttons;
    test::answerNextDialog([&](QFileDialog& dialog) {
        for (const QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons())
            buttons << button->text();
        dialog.reject();
    });
    (void)QtDialogs().selectFiles(&window, QString(), 1, QString());
    EXPECT_EQ(buttons, (QStringList{u"&Öffnen"_s, u"Abbrechen"_s}));
}

TEST(TranslationLoading, ALanguageWithoutAWindowTranslationKeepsQtsOwnTextsEnglishToo) {
    const Translations french(QLocale(QLocale::French, QLocale::France));
    EXPECT_FALSE(french.loaded());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Cancel"_s);
}

} // namespace
} // namespace tabulon
