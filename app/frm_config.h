#pragma once

#include <array>
#include <string>

#include <QPointer>
#include <QWidget>

#include "app/config_commands.h"
#include "app/help_links.h"
#include "base/template_set.h"
#include "hostlink/result_hand_over.h"
#include "persist/config_file.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tabulon {

class BackgroundGo;
class CommentCheckBox;
class Dialogs;
class LinkLabel;
class GoResult;
class HostCore;
class Launcher;
class MultiLineBox;
class PopupBox;
class PopupEditor;
class PreviewWindow;
class SettingsStore;
class TemplateBox;

// What the window works with besides its controls.
struct WindowServices {
    SettingsStore& store;
    Dialogs& dialogs;
    Launcher& launcher;
    HostCore* host = nullptr; // the host editor's core in a plug-in run
};

// The window: the template set, the file selection, Go, the result and the
// popup template editor. Every control carries its design name.
class FrmConfig : public QWidget {
    Q_OBJECT
public:
    // `argumentText` is the command line after the program's name.
    FrmConfig(QString argumentText, WindowServices services, QWidget* parent = nullptr);

    // F1 and Shift+F1 (help at the control's anchor) and F2 (the popup editor
    // over a template box) for the controls that take the help keys.
    void HandleKeyDown(QWidget* control, int keyCode, Qt::KeyboardModifiers shift);
    // The control that the help keys serve for `widget`, or nullptr.
    QWidget* helpControlOf(QWidget* widget) const;

    // The popup template editor.
    void PositionTextInputPopup(QComboBox* cb);
    void CloseTextInputPopup(bool CopyText, bool FocusCB);
    TemplateBox* GetHiddenCombobox() const;

    // The default button, pressed by Enter.
    QPushButton* defaultButton() const { return cmdBrowseForFiles_; }

    // Files from outside, dropped or named on the command line, become the
    // selection; none leaves it as it is.
    void takeFiles(const QStringList& files);

    // The last successful file selection: one full path, or folder NUL names.
    const std::string& selection() const { return selection_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void Form_Load();
    void Form_QueryUnload();

    void cmdGo_Click();
    void showResult(std::string result);
    void cmdCopy_Click();
    void cmdPluginInsert_Click();
    void handOverFinished(ResultHandOver::Outcome outcome, const QString& reason);
    void cmdPreview_Click();
    void updatePreview();
    // A successful choice of files, from the dialog or a drop.
    void takeSelection(const QStringList& files);
    void cmdBrowseForFiles_Click();
    void cmdSaveConfig_Click();
    void cmdLoadConfig_Click();

    bool pluginRun() const; // "/hkprun" with the host's core at hand
    void UpdateComboBoxes();
    TemplateSet currentTemplateSet() const;
    void showTemplateSet(const TemplateSet& set);

    const QString argumentText_;
    SettingsStore& store_;
    Dialogs& dialogs_;
    Launcher& launcher_;
    HostCore* host_;
    HelpLinks help_;

    QLineEdit* txtWidth_ = nullptr;
    CommentCheckBox* chkAddComments_ = nullptr;
    MultiLineBox* txtResult_ = nullptr;
    GoResult* goResult_ = nullptr;         // what Copy and Insert hand over
    BackgroundGo* backgroundGo_ = nullptr; // Go with thumbnails or photo metadata
    ResultHandOver* handOver_ = nullptr;   // in a plug-in run only
    PopupBox* txtInputPopup_ = nullptr;
    QPushButton* cmdSaveConfig_ = nullptr;
    QPushButton* cmdLoadConfig_ = nullptr;
    QPushButton* cmdBrowseForFiles_ = nullptr;
    QPushButton* cmdGo_ = nullptr;
    QPushButton* cmdPluginInsert_ = nullptr;
    QPushButton* cmdCopy_ = nullptr;
    QPushButton* cmdPreview_ = nullptr;
    QPointer<PreviewWindow> preview_;
    QTimer* previewDelay_ = nullptr; // re-renders once typing pauses
    LinkLabel* lblHelp_ = nullptr;
    LinkLabel* lblQuorvane_ = nullptr;
    LinkLabel* lblMailto_ = nullptr;

    // In the order their settings are filled and saved.
    std::array<TemplateBox*, 5> templateBoxes_{};

    // Where a page of the result will be: the folder that holds every selected
    // file, or the configuration's RelativeTo= from there. The :rel forms name
    // files from it and the preview and the browser's page resolve against it.
    QString pageFolder() const;
    // The result as a page, with the loaded configuration's style and script.
    void showInPreview();

    std::string selection_;
    QString firstFolder_; // the folder of the selection's first file
    int filterIndex_ = 1; // the file dialog's current filter
    OfferedFileTypes fileTypes_;
    // The loaded configuration's keys beyond the set: for every Go and the browser's page.
    ConfigExtras extras_;
    PopupEditor* popupEditor_ = nullptr;
};

} // namespace tabulon
