#pragma once

#include <string>

#include <QWidget>

#include "listgen/template_set.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tabulon {

class CommentCheckBox;
class Dialogs;
class HostCore;
class MultiLineBox;
class PopupBox;
class SettingsStore;
class TemplateBox;

// The window: the template set, the file selection, Go, the result and the
// popup template editor. Every control carries its design name.
class FrmConfig : public QWidget {
    Q_OBJECT
public:
    // `argumentText` is the command line after the program's name; `host` is
    // the host editor's core in a plug-in run, nullptr otherwise.
    FrmConfig(QString argumentText, SettingsStore& store, Dialogs& dialogs, HostCore* host = nullptr,
              QWidget* parent = nullptr);

    // The popup template editor.
    void PositionTextInputPopup(QComboBox* cb);
    void CloseTextInputPopup(bool CopyText, bool FocusCB);
    TemplateBox* GetHiddenCombobox() const;

    // The default button, pressed by Enter.
    QPushButton* defaultButton() const { return cmdBrowseForFiles_; }
    // The template box that `widget` is, or belongs to; nullptr for any other.
    TemplateBox* templateBoxOf(QWidget* widget) const;

    // The last successful file selection: one full path, or folder NUL names.
    const std::string& selection() const { return selection_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Form_Load();
    void Form_QueryUnload();
    void PlaceWindow();

    void cmdGo_Click();
    void cmdCopy_Click();
    void cmdPluginInsert_Click();
    void cmdBrowseForFiles_Click();
    void cmdSaveConfig_Click();
    void cmdLoadConfig_Click();

    void UpdateComboBoxes();
    TemplateSet CurrentTemplateSet() const;
    void ShowTemplateSet(const TemplateSet& set);

    const QString argumentText_;
    SettingsStore& store_;
    Dialogs& dialogs_;
    HostCore* host_;

    QLineEdit* txtWidth_ = nullptr;
    CommentCheckBox* chkAddComments_ = nullptr;
    TemplateBox* cbTextTop_ = nullptr;
    TemplateBox* cbTextBottom_ = nullptr;
    TemplateBox* cbTextNewEntry_ = nullptr;
    TemplateBox* cbTextEndEntry_ = nullptr;
    TemplateBox* cbTextNewRow_ = nullptr;
    MultiLineBox* txtResult_ = nullptr;
    PopupBox* txtInputPopup_ = nullptr;
    QPushButton* cmdSaveConfig_ = nullptr;
    QPushButton* cmdLoadConfig_ = nullptr;
    QPushButton* cmdBrowseForFiles_ = nullptr;
    QPushButton* cmdGo_ = nullptr;
    QPushButton* cmdPluginInsert_ = nullptr;
    QPushButton* cmdCopy_ = nullptr;
    QLabel* lblHelp_ = nullptr;
    QLabel* lblQuorvane_ = nullptr;
    QLabel* lblMailto_ = nullptr;
    QLabel* lblVersion_ = nullptr;

    std::string selection_;
    int filterIndex_ = 1;       // the file dialog's current filter
    bool closingPopup_ = false; // a close in progress ignores the focus loss it causes
};

} // namespace tabulon
