#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTranslator>

#include "app/design.h"
#include "browser/open_in_browser.h"
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

    static bool Bracketed(const QString& text) {
        return text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']'));
    }

private:
    BracketingTranslator translator_;
};

TEST_F(TranslatedWindowTest, EveryUserTextOfTheWindowGoesThroughTheTranslation) {
    Open();
    for (const design::Control& c : design::kControls) {
        if (*c.text == '\0')
            continue;
        QWidget* control = Control(c.name);
        QString text;
        if (auto* label = qobject_cast<QLabel*>(control))
            text = label->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(control))
            text = frame->title();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            text = button->text();
        EXPECT_TRUE(Bracketed(text)) << c.name << ": " << text.toStdString();
    }
    for (const char* name : {"cbTextTop", "cbTextNewEntry", "chkAddComments", "lblHelp"})
        EXPECT_TRUE(Bracketed(Control(name)->toolTip())) << name;

    // Stored data stays as it is: names and the initial templates.
    EXPECT_EQ(Box("cbTextTop")->currentText(), QStringLiteral("<table border=\"0\"><tr>{{CRLF}}"));

    dialogs.fileChoices.push_back({{QStringLiteral("/p/a.jpg")}, 1});
    Click("cmdBrowseForFiles");
    Control<QLineEdit>("txtWidth")->setText(QStringLiteral("0"));
    Click("cmdGo");
    dialogs.configPaths.push_back(QString::fromStdString(files / "missing.ini"));
    Click("cmdLoadConfig");
    ASSERT_EQ(dialogs.messages.size(), 2);
    for (const QString& message : dialogs.messages)
        EXPECT_TRUE(message.startsWith(QLatin1Char('['))) << message.toStdString();
    EXPECT_TRUE(Bracketed(BrowserFailureText(QStringLiteral("x"), 3)));
}

} // namespace
} // namespace tabulon
