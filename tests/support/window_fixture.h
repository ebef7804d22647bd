#pragma once

#include <deque>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "app/background_go.h"
#include "app/controls.h"
#include "app/frm_config.h"
#include "app/key_commands.h"
#include "browser/xdg_open_launcher.h"
#include "persist/settings_store.h"
#include "selection/dialogs.h"
#include "support/temp_dir.h"

// Qt's short literals, u"text"_s, for every window test.
using namespace Qt::StringLiterals;

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tabulon::test {

// Answers the window's questions as a script says, and records what was asked.
class ScriptedDialogs final : public Dialogs {
public:
    std::deque<FileChoice> fileChoices;
    std::deque<QString> configPaths;
    QStringList messages;
    // "select <folder> <filter>[ <file types>]", "open <folder>", "save <folder>"
    QStringList asked;

    FileChoice selectFiles(QWidget*, const QString& folder, int filterIndex,
                           const QString& fileTypes) override {
        asked << u"select %1 %2"_s.arg(folder).arg(filterIndex) +
                     (fileTypes.isEmpty() ? QString() : QLatin1Char(' ') + fileTypes);
        return take(fileChoices, FileChoice{{}, filterIndex});
    }
    QString openConfiguration(QWidget*, const QString& folder) override {
        asked << u"open %1"_s.arg(folder);
        return take(configPaths, QString());
    }
    QString saveConfiguration(QWidget*, const QString& folder) override {
        asked << u"save %1"_s.arg(folder);
        return take(configPaths, QString());
    }
    void showMessage(QWidget*, const QString& text) override { messages << text; }
    void showBrowserUnavailable(QWidget*, const QString& text) override {
        messages << u"Browser Unavailable: "_s + text;
    }

private:
    template <class T> static T take(std::deque<T>& queue, T otherwise) {
        if (queue.empty())
            return otherwise;
        T next = std::move(queue.front());
        queue.pop_front();
        return next;
    }
};

// A window over fresh settings of its own, with scripted dialogs.
class WindowTest : public testing::Test {
protected:
    WindowTest()
        : appName_(u"tabulon-%1"_s.arg(
              QString::fromLatin1(testing::UnitTest::GetInstance()->current_test_info()->name()))) {
        settings().clear();
    }

    // Opens (again) a window over this test's settings.
    FrmConfig& open(const QString& argumentText = {}, HostCore* host = nullptr) {
        window_.reset();
        store_ = std::make_unique<SettingsStore>(appName_);
        window_ =
            std::make_unique<FrmConfig>(argumentText, WindowServices{*store_, dialogs, launcher_, host});
        new KeyCommands(window_.get());
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return *window_;
    }
    void close() {
        window_->close();
        window_.reset();
    }

    template <class T = QWidget> T* control(const char* name) const {
        T* control = window_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    TemplateBox* templateBox(const char* name) const { return control<TemplateBox>(name); }
    // This test's settings file; the application name its window runs under.
    std::filesystem::path settingsFile() const { return settings().fileName().toStdString(); }
    const QString& appName() const { return appName_; }
    QString stored(const QString& section, const QString& key) const {
        return settings().value(section + QLatin1Char('/') + key).toString();
    }
    void store(const QString& section, const QString& key, const QString& value) const {
        settings().setValue(section + QLatin1Char('/') + key, value);
    }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    // Chooses `paths` through Select files.
    void select(const QStringList& paths, int filter = 1) {
        dialogs.fileChoices.push_back({paths, filter});
        click("cmdBrowseForFiles");
    }
    // Waits until a Go that runs in the background has ended.
    bool waitForGo() const {
        const auto* go = window_->findChild<BackgroundGo*>();
        return QTest::qWaitFor([go] { return !go->running(); }, 20000);
    }
    QString result() const { return control<QPlainTextEdit>("txtResult")->toPlainText(); }
    // A configuration file in the test's folder holding `keys`.
    QString configuration(const char* name, const std::string& keys) const {
        return QString::fromStdString(files.write(name, "[Configuration]\n" + keys));
    }
    void type(QWidget* widget, const QString& text) {
        widget->setFocus();
        QTest::keyClicks(widget, text);
    }
    void key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        widget->setFocus();
        QTest::keyClick(widget, key, modifiers);
    }

    ScriptedDialogs dialogs;
    TempDir files;

private:
    QSettings settings() const {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, u"Tabulon"_s, appName_);
    }

    QString appName_;
    std::unique_ptr<SettingsStore> store_;
    XdgOpenLauncher launcher_;
    std::unique_ptr<FrmConfig> window_;
};

} // namespace tabulon::test
