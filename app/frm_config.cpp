#include "app/frm_config.h"

#include <array>
#include <utility>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "app/background_go.h"
#include "app/config_commands.h"
#include "app/control_settings.h"
#include "app/controls.h"
#include "app/design.h"
#include "app/design_controls.h"
#include "app/file_drop_filter.h"
#include "app/file_names.h"
#include "app/go_result.h"
#include "app/popup_editor.h"
#include "app/preview_window.h"
#include "app/result_text.h"
#include "app/settings_keys.h"
#include "app/window_settings.h"
#include "base/width.h"
#include "hostlink/host_core.h"
#include "hostlink/plugin_start.h"
#include "hostlink/result_hand_over.h"
#include "listgen/entry_template.h"
#include "listgen/list_assembly.h"
#include "listgen/relative_names.h"
#include "listgen/selection_text.h"
#include "selection/dialogs.h"

namespace tabulon {

namespace {

// The engine's width messages are English; marked here so that a translation
// holds them too, and tied to the engine's texts so that the two never part.
constexpr const char* kWidthMessages[] = {
    QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Enter a width"),
    QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Enter a width > 0"),
};
static_assert(kWidthMessages[0] == kEnterWidth && kWidthMessages[1] == kEnterWidthAboveZero);

} // namespace

FrmConfig::FrmConfig(QString argumentText, WindowServices services, QWidget* parent)
    : QWidget(parent), argumentText_(std::move(argumentText)), store_(services.store),
      dialogs_(services.dialogs), launcher_(services.launcher), host_(services.host),
      help_(this, services.store, services.launcher, services.dialogs) {
    setObjectName(QLatin1String(design::kWindowName));
    buildControls();
    connectControls();
    Form_Load();
}

void FrmConfig::buildControls() {
    buildDesignControls(this);
    const auto find = [this]<class T>(T*& member, const char* name) {
        member = findChild<T*>(QLatin1String(name));
        Q_ASSERT(member);
    };
    namespace name = design::name;
    find(txtWidth_, name::kWidth);
    find(chkAddComments_, name::kAddComments);
    find(txtResult_, name::kResult);
    find(txtInputPopup_, name::kPopup);
    find(cmdSaveConfig_, name::kSaveConfig);
    find(cmdLoadConfig_, name::kLoadConfig);
    find(cmdBrowseForFiles_, name::kSelectFiles);
    find(cmdGo_, name::kGo);
    find(cmdPluginInsert_, name::kInsert);
    find(cmdCopy_, name::kCopy);
    find(cmdPreview_, name::kPreview);
    find(lblHelp_, name::kHelp);
    find(lblQuorvane_, name::kSoftwarePage);
    find(lblMailto_, name::kMailto);
    for (std::size_t i = 0; i < kTemplateTexts.size(); ++i)
        find(templateBoxes_[i], kTemplateTexts[i].first);
    showTemplateSet(initialTemplateSet());

    goResult_ = new GoResult(txtResult_);
    backgroundGo_ =
        new BackgroundGo(this, dialogs_, [this](std::string result) { showResult(std::move(result)); });
    popupEditor_ = new PopupEditor(this, txtInputPopup_, cmdBrowseForFiles_);
}

void FrmConfig::connectControls() {
    connect(cmdGo_, &QPushButton::clicked, this, &FrmConfig::cmdGo_Click);
    connect(cmdCopy_, &QPushButton::clicked, this, &FrmConfig::cmdCopy_Click);
    connect(cmdPluginInsert_, &QPushButton::clicked, this, &FrmConfig::cmdPluginInsert_Click);
    if (pluginRun()) {
        handOver_ = new ResultHandOver(*host_, this);
        connect(handOver_, &ResultHandOver::finished, this, &FrmConfig::handOverFinished);
    }
    connect(cmdPreview_, &QPushButton::clicked, this, &FrmConfig::cmdPreview_Click);
    previewDelay_ = new QTimer(this);
    previewDelay_->setSingleShot(true);
    previewDelay_->setInterval(250);
    connect(previewDelay_, &QTimer::timeout, this, &FrmConfig::updatePreview);
    connect(txtResult_, &QPlainTextEdit::textChanged, previewDelay_, qOverload<>(&QTimer::start));

    // Files dropped on the window or on a text box, where a text drop would land, become the selection.
    auto* drops = new FileDropFilter(this);
    for (QWidget* target : {static_cast<QWidget*>(this), txtResult_->viewport(), txtInputPopup_->viewport(),
                            static_cast<QWidget*>(txtWidth_)})
        drops->watch(target);
    for (TemplateBox* box : templateBoxes_)
        drops->watch(box->lineEdit());
    connect(drops, &FileDropFilter::filesDropped, this, &FrmConfig::takeFiles);

    connect(cmdBrowseForFiles_, &QPushButton::clicked, this, &FrmConfig::cmdBrowseForFiles_Click);
    connect(cmdSaveConfig_, &QPushButton::clicked, this, &FrmConfig::cmdSaveConfig_Click);
    connect(cmdLoadConfig_, &QPushButton::clicked, this, &FrmConfig::cmdLoadConfig_Click);
    connect(lblHelp_, &LinkLabel::released, this, [this](Qt::MouseButton, Qt::KeyboardModifiers modifiers) {
        help_.openHelp(modifiers & Qt::ShiftModifier);
    });
    for (LinkLabel* link : {lblQuorvane_, lblMailto_}) {
        connect(link, &LinkLabel::released, this,
                [this, link](Qt::MouseButton button, Qt::KeyboardModifiers) {
                    if (button == Qt::LeftButton)
                        help_.open(link->text().trimmed());
                });
    }
}

void FrmConfig::Form_Load() {
    restoreWindowPlace(store_, this);
    cmdGo_->setEnabled(false);

    for (TemplateBox* cb : templateBoxes_)
        FillComboList(store_, cb);
    FillTextField(store_, txtWidth_);
    FillCheckBox(store_, chkAddComments_);

    cmdPluginInsert_->setVisible(pluginRun());

    txtWidth_->setFocus();
}

void FrmConfig::closeEvent(QCloseEvent* event) {
    backgroundGo_->stop();
    Form_QueryUnload();
    event->accept();
}

void FrmConfig::Form_QueryUnload() {
    for (TemplateBox* cb : templateBoxes_)
        SaveComboList(store_, cb);
    SaveTextField(store_, txtWidth_);
    SaveCheckBox(store_, chkAddComments_);
    saveWindowPlace(store_, this);
    store_.sync();
}

TemplateSet FrmConfig::currentTemplateSet() const {
    TemplateSet set;
    set.width = txtWidth_->text().toStdString();
    for (std::size_t i = 0; i < kTemplateTexts.size(); ++i)
        set.*kTemplateTexts[i].second = templateBoxes_[i]->currentText().toStdString();
    set.addComments = chkAddComments_->state();
    return set;
}

void FrmConfig::showTemplateSet(const TemplateSet& set) {
    txtWidth_->setText(QString::fromStdString(set.width));
    for (std::size_t i = 0; i < kTemplateTexts.size(); ++i)
        templateBoxes_[i]->setEditText(QString::fromStdString(set.*kTemplateTexts[i].second));
    chkAddComments_->setState(set.addComments);
}

void FrmConfig::cmdGo_Click() {
    if (backgroundGo_->running())
        return; // one list at a time; its progress shows soon
    const TemplateSet set = currentTemplateSet();
    const WidthCheck width = checkWidth(set.width);
    if (!width.ok()) {
        // The engine's texts are English; a translation may hold them too.
        dialogs_.showMessage(this, tr(std::string(width.error()).c_str()));
        return;
    }
    UpdateComboBoxes();
    ListOptions options{.leaveOut = {extras_.leaveOutUnsized, nullptr},
                        .newFolder = extras_.newFolder,
                        .relativeTo = localPath(pageFolder())};
    if (EntryTemplate(set.newEntry, set.endEntry).usesMedia()) {
        backgroundGo_->start(set, width.value(), selection_, std::move(options));
        return;
    }
    StringSink sink;
    std::vector<std::string> leftOut;
    options.leaveOut.warn = [&leftOut](const std::string& why) { leftOut.push_back(why); };
    try {
        generateList(set, width.value(), selection_, sink, std::move(options));
    } catch (const std::bad_alloc&) {
        dialogs_.showMessage(this, tr("There is not enough memory for this list."));
        return;
    }
    showResult(sink.take());
    BackgroundGo::showPictureNotes(this, dialogs_, leftOut);
}

void FrmConfig::showResult(std::string result) {
    goResult_->show(std::move(result));
    (pluginRun() ? cmdPluginInsert_ : cmdCopy_)->setFocus();
}

void FrmConfig::UpdateComboBoxes() {
    for (TemplateBox* cb : templateBoxes_)
        cb->recordCurrentText();
}

void FrmConfig::cmdCopy_Click() {
    QApplication::clipboard()->setText(goResult_->handOverText());
}

bool FrmConfig::pluginRun() const {
    return host_ != nullptr && isPluginRun(argumentText_);
}

void FrmConfig::cmdPluginInsert_Click() {
    if (!pluginRun())
        return;
    cmdPluginInsert_->setEnabled(false); // until the host has answered
    handOver_->start(goResult_->handOverText());
}

void FrmConfig::handOverFinished(ResultHandOver::Outcome outcome, const QString& reason) {
    cmdPluginInsert_->setEnabled(true);
    // Unless it was handed over, the window stays open with the result, so nothing is lost.
    switch (outcome) {
    case ResultHandOver::Outcome::HandedOver:
        close();
        QCoreApplication::quit();
        return;
    case ResultHandOver::Outcome::NotHandedOver:
        dialogs_.showMessage(
            this,
            tr("The result was not handed over to HTML-Kit: %1\nIt is still in the result box.").arg(reason));
        return;
    case ResultHandOver::Outcome::Unknown:
        dialogs_.showMessage(this,
                             tr("The result may not have reached HTML-Kit: no answer from the editor; the "
                                "list may still arrive.\nIt is still in the result box."));
        return;
    }
}

void FrmConfig::cmdBrowseForFiles_Click() {
    if (popupEditor_->isOpen()) {
        CloseTextInputPopup(true, true);
        return;
    }
    // The press that led to this click took the focus from the popup and closed it.
    if (TemplateBox* edited = popupEditor_->takeClosedBySelectFiles()) {
        edited->setFocus();
        return;
    }
    const QString folder = settings::read(store_, settings::kSelectFilesFolder, QString());
    filterIndex_ = settings::readNumber(store_, settings::kSelectFilesFilter, filterIndex_);
    const FileChoice choice =
        dialogs_.selectFiles(this, folder, fileTypes_.dialogFilter(filterIndex_), fileTypes_.patterns());
    filterIndex_ = choice.filterIndex;
    if (choice.files.isEmpty()) {
        selection_.clear();
        cmdGo_->setEnabled(false);
        return;
    }

    takeSelection(choice.files);
    if (fileTypes_.takeChoice(filterIndex_))
        settings::write(store_, settings::kSelectFilesFilter, QString::number(filterIndex_));
}

void FrmConfig::takeSelection(const QStringList& files) {
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(localPath(file));
    selection_ = selectionFromPaths(paths);
    firstFolder_ = folderOf(files.constFirst());
    cmdGo_->setEnabled(true);
    cmdGo_->setFocus();
    settings::write(store_, settings::kSelectFilesFolder, firstFolder_);
}

void FrmConfig::takeFiles(const QStringList& files) {
    if (files.isEmpty())
        return;
    if (popupEditor_->isOpen())
        CloseTextInputPopup(true, false);
    takeSelection(files);
}

QString FrmConfig::pageFolder() const {
    if (selection_.empty())
        return {};
    return QFile::decodeName(resolveRelativeTo(selectionFolder(selection_), extras_.relativeTo).c_str());
}

void FrmConfig::showInPreview() {
    preview_->showPage(boxText(txtResult_), QUrl::fromLocalFile(pageFolder()),
                       expandLineBreaks(extras_.style), expandLineBreaks(extras_.script));
}

void FrmConfig::cmdPreview_Click() {
    if (!preview_)
        preview_ = new PreviewWindow(this, launcher_, dialogs_);
    showInPreview();
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
}

void FrmConfig::updatePreview() {
    if (preview_ && preview_->isVisible()) // a hidden preview catches up when shown
        showInPreview();
}

void FrmConfig::cmdSaveConfig_Click() {
    saveConfigurationAs(this, dialogs_, store_, currentTemplateSet());
}

void FrmConfig::cmdLoadConfig_Click() {
    if (const std::optional<LoadedConfiguration> loaded =
            loadConfigurationFrom(this, dialogs_, store_, currentTemplateSet())) {
        showTemplateSet(loaded->set);
        fileTypes_.offer(loaded->extras.files);
        extras_ = loaded->extras;
    }
}

QWidget* FrmConfig::helpControlOf(QWidget* widget) const {
    // Each such control has its place in the help page, named as the control;
    // the line edit inside a template box reaches the box.
    for (QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        if (opensHelp(w->objectName()))
            return w;
    }
    return nullptr;
}

void FrmConfig::HandleKeyDown(QWidget* control, int keyCode, Qt::KeyboardModifiers shift) {
    if (keyCode == Qt::Key_F1)
        help_.openHelpFor(control->objectName(), shift & Qt::ShiftModifier);
    if (keyCode == Qt::Key_F2) {
        if (auto* box = qobject_cast<TemplateBox*>(control))
            PositionTextInputPopup(box);
    }
}

void FrmConfig::PositionTextInputPopup(QComboBox* cb) {
    if (auto* box = qobject_cast<TemplateBox*>(cb))
        popupEditor_->open(box);
}

TemplateBox* FrmConfig::GetHiddenCombobox() const {
    return popupEditor_->editedBox();
}

void FrmConfig::CloseTextInputPopup(bool CopyText, bool FocusCB) {
    popupEditor_->close(CopyText, FocusCB);
}

} // namespace tabulon
