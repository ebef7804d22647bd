#include <filesystem>

#include <QAbstractButton>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QTranslator>

#include "app/design.h"
#include "browser/open_in_browser.h"
#include "hostlink/plugin_start.h"
#include "selection/qt_dialogs.h"
#include "support/next_file_dialog.h"
#include "window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

// Brackets every text it is asked for, so a text that never asked shows plain.
class BracketingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override {
        return QStringLiteral("[%1]").arg(QString::fromUtf8(source));
    }
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
        QWidget* widget = control(c.name);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(widget))
            text = frame->title();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        EXPECT_TRUE(bracketed(text)) << c.name << ": " << text.toStdString();
    }
    click("cmdPreview");
    EXPECT_TRUE(bracketed(control<QAbstractButton>("cmdOpenInBrowser")->text()));
    for (const char* name : {"cbTextTop", "cbTextNewEntry", "chkAddComments", "lblHelp"})
        EXPECT_TRUE(bracketed(control(name)->toolTip())) << name;

    // Stored data stays as it is: names and the initial templates.
    EXPECT_EQ(templateBox("cbTextTop")->currentText(), QStringLiteral("<table border=\"0\"><tr>{{CRLF}}"));

    dialogs.fileChoices.push_back({{QStringLiteral("/p/a.jpg")}, 1});
    click("cmdBrowseForFiles");
    control<QLineEdit>("txtWidth")->setText(QStringLiteral("0"));
    click("cmdGo");
    dialogs.configPaths.push_back(QString::fromStdString(files / "missing.ini"));
    click("cmdLoadConfig");
    ASSERT_EQ(dialogs.messages.size(), 2);
    for (const QString& message : dialogs.messages)
        EXPECT_TRUE(message.startsWith(QLatin1Char('['))) << message.toStdString();
    EXPECT_TRUE(bracketed(browserFailureText(QStringLiteral("x"), 3)));
}

TEST_F(TranslatedWindowTest, DialogTitlesFilterLabelsAndPluginMessagesGoThroughTheTranslation) {
    QString title;
    QStringList filters;
    test::answerNextFileDialog([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        dialog.selectNameFilter(filters.value(0));
        dialog.reject();
    });
    // Opened on the second filter; the first, chosen by its translated label, comes back.
    EXPECT_EQ(QtDialogs().selectFiles(nullptr, QString(), 2, QString()).filterIndex, 1);
    EXPECT_EQ(title, QStringLiteral("[Select files]"));
    // The patterns the dialog filters by stay as they are.
    EXPECT_EQ(filters, (QStringList{QStringLiteral("[All files (*.*)] (*)"),
                                    QStringLiteral("[Graphics (*.jpg;*.gif;*.bmp)] (*.jpg *.gif *.bmp)")}));

    QStringList messages;
    PluginStart start([] { return std::unique_ptr<HostCore>(); },
                      [&](const QString& text) { messages << text; });
    EXPECT_EQ(start.HandlePluginStart(QStringLiteral("/hkprun")), 1);
    EXPECT_EQ(start.HandlePluginStart(QStringLiteral("/hkpreg")), 1);
    ASSERT_EQ(messages.size(), 2);
    for (const QString& message : messages)
        EXPECT_TRUE(bracketed(message)) << message.toStdString();
}

TEST_F(TranslatedWindowTest, GoWithThumbnailsReportsThroughTheTranslation) {
    open();
    templateBox("cbTextNewEntry")->setEditText(QStringLiteral("{{THUMB(8)}}"));
    // A picture that cannot be read; one whose thumbnail folder is a file.
    std::filesystem::create_directories(files / "b");
    files.write("b/thumbs", "x");
    for (const char* picture : {"x.jpg", "b/y.jpg"}) {
        dialogs.fileChoices.push_back({{QString::fromStdString(files.write(picture, "not a picture"))}, 1});
        click("cmdBrowseForFiles");
        click("cmdGo");
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.messages.isEmpty(); }, 20000)) << picture;
        EXPECT_TRUE(dialogs.messages.takeFirst().startsWith(QLatin1Char('['))) << picture;
    }
}

} // namespace
} // namespace tabulon
