#include "app/frm_config.h"

#include <algorithm>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "app/control_settings.h"
#include "app/controls.h"
#include "app/design.h"
#include "app/go_result.h"
#include "app/popup_editor.h"
#include "app/preview_window.h"
#include "app/result_text.h"
#include "app/start.h"
#include "app/window_place.h"
#include "browser/open_in_browser.h"
#include "hostlink/host_core.h"
#include "hostlink/plugin_start.h"
#include "hostlink/result_hand_over.h"
#include "listgen/history.h"
#include "listgen/list_assembly.h"
#include "listgen/name_parts.h"
#include "listgen/selection_text.h"
#include "persist/config_file.h"
#include "persist/settings_store.h"
#include "resources/strings.h"
#include "selection/dialogs.h"
#include "tabulon/version.h"

namespace tabulon {

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}
QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}
std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// The folder part of a path, with its separator, as the dialogs remember it.
QString FolderOf(const QString& path) {
    return FromUtf8(std::string(GetFilePath(Utf8(path))));
}

bool IsDesignControl(const QString& name) {
    return std::any_of(design::kControls.begin(), design::kControls.end(),
                       [&](const design::Control& c) { return name == QLatin1String(c.name); });
}

QWidget* MakeControl(const design::Control& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case design::Kind::Frame:
        return new QGroupBox(text, parent);
    case design::Kind::Label:
        return new QLabel(text, parent);
    case design::Kind::LinkLabel:
        return new LinkLabel(text, parent);
    case design::Kind::LineEdit:
        return new WidthBox(text, parent);
    case design::Kind::CheckBox:
        return new CommentCheckBox(text, parent);
    case design::Kind::ComboBox: {
        auto* box = new TemplateBox(parent);
        box->setEditText(text);
        return box;
    }
    case design::Kind::Button:
        return new QPushButton(text, parent);
    case design::Kind::ResultBox:
    case design::Kind::PopupBox: {
        MultiLineBox* box =
            c.kind == design::Kind::PopupBox ? new PopupBox(parent) : new MultiLineBox(parent);
        box->setPlainText(text);
        return box;
    }
    }
    return nullptr;
}

} // namespace

FrmConfig::FrmConfig(QString argumentText, WindowServices services, QWidget* parent)
    : QWidget(parent), argumentText_(std::move(argumentText)), store_(services.store),
      dialogs_(services.dialogs), launcher_(services.launcher), host_(services.host) {
    setObjectName(QStringLiteral("frmConfig"));
    BuildControls();
    Form_Load();
}

void FrmConfig::BuildControls() {
    setFixedSize(design::Pixels(design::kClientWidth), design::Pixels(design::kClientHeight));
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const design::Control& c : design::kControls) {
        QWidget* parent = c.parent ? findChild<QWidget*>(QString::fromLatin1(c.parent)) : this;
        QWidget* control = MakeControl(c, parent);
        control->setObjectName(QString::fromLatin1(c.name));
        control->setGeometry(design::Pixels(c.left), design::Pixels(c.top), design::Pixels(c.width),
                             design::Pixels(c.height));
        const bool takesFocus = c.kind != design::Kind::Frame && c.kind != design::Kind::Label &&
                                c.kind != design::Kind::LinkLabel;
        control->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
        if (takesFocus && c.kind != design::Kind::PopupBox)
            tabStops.emplace_back(c.tabIndex, control);
    }
    std::sort(tabStops.begin(), tabStops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    setTabOrder(findChild<QWidget*>(QStringLiteral("txtResult")),
                findChild<QWidget*>(QStringLiteral("cmdPreview")));

    const auto find = [this]<class T>(T*& member, const char* name) {
        member = findChild<T*>(QString::fromLatin1(name));
        Q_ASSERT(member);
    };
    find(txtWidth_, "txtWidth");
    find(chkAddComments_, "chkAddComments");
    find(cbTextTop_, "cbTextTop");
    find(cbTextBottom_, "cbTextBottom");
    find(cbTextNewEntry_, "cbTextNewEntry");
    find(cbTextEndEntry_, "cbTextEndEntry");
    find(cbTextNewRow_, "cbTextNewRow");
    find(txtResult_, "txtResult");
    find(txtInputPopup_, "txtInputPopup");
    find(cmdSaveConfig_, "cmdSaveConfig");
    find(cmdLoadConfig_, "cmdLoadConfig");
    find(cmdBrowseForFiles_, "cmdBrowseForFiles");
    find(cmdGo_, "cmdGo");
    find(cmdPluginInsert_, "cmdPluginInsert");
    find(cmdCopy_, "cmdCopy");
    find(cmdPreview_, "cmdPreview");
    find(lblHelp_, "lblHelp");
    find(lblQuorvane_, "lblQuorvane");
    find(lblMailto_, "lblMailto");
    find(lblVersion_, "lblVersion");
    templateBoxes_ = {cbTextTop_, cbTextBottom_, cbTextNewRow_, cbTextNewEntry_, cbTextEndEntry_};

    chkAddComments_->setCheckState(Qt::Checked);
    chkAddComments_->setToolTip(
        QStringLiteral("Check here to have comment tags added at top and bottom of the result"));
    lblHelp_->setToolTip(QStringLiteral("Click to see off-line help. Shift+Click to see online help."));
    QFont bold = lblHelp_->font();
    bold.setBold(true);
    lblHelp_->setFont(bold);
    lblQuorvane_->setText(QStringLiteral(" %1 ").arg(QString::fromLatin1(strings::kSoftwarePage)));
    lblMailto_->setText(QStringLiteral(" mailto:%1 ").arg(QString::fromLatin1(strings::kMailAddress)));
    txtResult_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResult_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResult_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtInputPopup_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtInputPopup_->hide();
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true); // Enter on a focused button presses it
    cmdBrowseForFiles_->setDefault(true);

    connect(cmdGo_, &QPushButton::clicked, this, &FrmConfig::cmdGo_Click);
    connect(cmdCopy_, &QPushButton::clicked, this, &FrmConfig::cmdCopy_Click);
    connect(cmdPluginInsert_, &QPushButton::clicked, this, &FrmConfig::cmdPluginInsert_Click);
    goResult_ = new GoResult(txtResult_);
    if (PluginRun()) {
        handOver_ = new ResultHandOver(*host_, this);
        connect(handOver_, &ResultHandOver::finished, this, &FrmConfig::HandOverFinished);
    }
    connect(cmdPreview_, &QPushButton::clicked, this, &FrmConfig::cmdPreview_Click);
    previewDelay_ = new QTimer(this);
    previewDelay_->setSingleShot(true);
    previewDelay_->setInterval(250);
    connect(previewDelay_, &QTimer::timeout, this, &FrmConfig::UpdatePreview);
    connect(txtResult_, &QPlainTextEdit::textChanged, previewDelay_, qOverload<>(&QTimer::start));
    setAcceptDrops(true);
    for (QWidget* box :
         std::initializer_list<QWidget*>{txtResult_->viewport(), txtInputPopup_->viewport(), txtWidth_})
        box->installEventFilter(this);
    for (TemplateBox* box : templateBoxes_)
        box->lineEdit()->installEventFilter(this);
    connect(cmdBrowseForFiles_, &QPushButton::clicked, this, &FrmConfig::cmdBrowseForFiles_Click);
    connect(cmdSaveConfig_, &QPushButton::clicked, this, &FrmConfig::cmdSaveConfig_Click);
    connect(cmdLoadConfig_, &QPushButton::clicked, this, &FrmConfig::cmdLoadConfig_Click);
    connect(static_cast<LinkLabel*>(lblHelp_), &LinkLabel::released, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers shift) { lblHelp_MouseUp(shift); });
    for (QLabel* link : {lblQuorvane_, lblMailto_}) {
        connect(static_cast<LinkLabel*>(link), &LinkLabel::released, this,
                [this, link](Qt::MouseButton button, Qt::KeyboardModifiers) {
                    if (button == Qt::LeftButton)
                        OpenAddress(link->text().trimmed());
                });
    }
    popupEditor_ = new PopupEditor(this, txtInputPopup_, cmdBrowseForFiles_);
}

void FrmConfig::Form_Load() {
    setWindowTitle(QString::fromLatin1(kAppTitle));
    QIcon icon(QStringLiteral(":/tabulon/icons/tabulon-16.png"));
    icon.addFile(QStringLiteral(":/tabulon/icons/tabulon-32.png"));
    icon.addFile(QStringLiteral(":/tabulon/icons/tabulon-48.png"));
    setWindowIcon(icon);
    PlaceWindow();
    cmdGo_->setEnabled(false);

    for (TemplateBox* cb : templateBoxes_)
        FillComboList(store_, cb);
    FillTextField(store_, txtWidth_);
    FillCheckBox(store_, chkAddComments_);

    cmdPluginInsert_->setVisible(PluginRun());

    lblVersion_->setText(
        QStringLiteral("%1 %2").arg(QString::fromLatin1(kAppTitle), QString::fromLatin1(kVersionText)));
    // Sized to its whole text, growing to the left so it stays inside the window.
    const QRect designed = lblVersion_->geometry();
    lblVersion_->adjustSize();
    lblVersion_->move(designed.right() + 1 - lblVersion_->width(), designed.top());

    for (QLabel* label : {lblQuorvane_, lblMailto_, lblHelp_})
        label->setCursor(Qt::PointingHandCursor);

    cbTextTop_->setToolTip(QString::fromLatin1(strings::String(101)));
    cbTextBottom_->setToolTip(QString::fromLatin1(strings::String(102)));
    cbTextNewEntry_->setToolTip(QString::fromLatin1(strings::String(103)));
    cbTextEndEntry_->setToolTip(QString::fromLatin1(strings::String(104)));
    cbTextNewRow_->setToolTip(QString::fromLatin1(strings::String(105)));

    txtWidth_->setFocus();
}

void FrmConfig::PlaceWindow() {
    const QPoint stored(
        design::Pixels(store_.ReadNumber(QStringLiteral("frmConfig"), QStringLiteral("left"), 0)),
        design::Pixels(store_.ReadNumber(QStringLiteral("frmConfig"), QStringLiteral("top"), 0)));
    // A place the user could not reach (a screen that is gone, a title bar
    // off the screen) falls back to the primary screen.
    QList<QRect> areas;
    for (const QScreen* screen : QApplication::screens())
        areas << screen->availableGeometry();
    const QScreen* primary = QApplication::primaryScreen();
    move(ReachablePlace(stored, size(), areas, primary ? primary->availableGeometry() : QRect()));
}

void FrmConfig::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
}

void FrmConfig::Form_QueryUnload() {
    for (TemplateBox* cb : templateBoxes_)
        SaveComboList(store_, cb);
    SaveTextField(store_, txtWidth_);
    SaveCheckBox(store_, chkAddComments_);
    store_.WriteSetting(QStringLiteral("frmConfig"), QStringLiteral("top"),
                        QString::number(design::Twips(y())));
    store_.WriteSetting(QStringLiteral("frmConfig"), QStringLiteral("left"),
                        QString::number(design::Twips(x())));
    store_.Sync();
}

TemplateSet FrmConfig::CurrentTemplateSet() const {
    TemplateSet set;
    set.width = Utf8(txtWidth_->text());
    set.top = Utf8(cbTextTop_->currentText());
    set.bottom = Utf8(cbTextBottom_->currentText());
    set.newRow = Utf8(cbTextNewRow_->currentText());
    set.newEntry = Utf8(cbTextNewEntry_->currentText());
    set.endEntry = Utf8(cbTextEndEntry_->currentText());
    set.addComments = chkAddComments_->state();
    return set;
}

void FrmConfig::ShowTemplateSet(const TemplateSet& set) {
    txtWidth_->setText(FromUtf8(set.width));
    cbTextTop_->setEditText(FromUtf8(set.top));
    cbTextBottom_->setEditText(FromUtf8(set.bottom));
    cbTextNewRow_->setEditText(FromUtf8(set.newRow));
    cbTextNewEntry_->setEditText(FromUtf8(set.newEntry));
    cbTextEndEntry_->setEditText(FromUtf8(set.endEntry));
    chkAddComments_->setState(set.addComments);
}

void FrmConfig::cmdGo_Click() {
    const TemplateSet set = CurrentTemplateSet();
    const WidthCheck width = CheckWidth(set.width);
    if (!width.ok()) {
        dialogs_.ShowMessage(
            this, QString::fromLatin1(width.error().data(), static_cast<int>(width.error().size())));
        return;
    }
    UpdateComboBoxes();
    StringSink sink;
    try {
        (void)GenerateList(set, selection_, sink); // the width was checked above
    } catch (const std::bad_alloc&) {
        dialogs_.ShowMessage(this, tr("There is not enough memory for this list."));
        return;
    }
    goResult_->Show(sink.take());
    (PluginRun() ? cmdPluginInsert_ : cmdCopy_)->setFocus();
}

void FrmConfig::UpdateComboBoxes() {
    for (TemplateBox* cb : templateBoxes_)
        cb->RecordCurrentText();
}

void FrmConfig::cmdCopy_Click() {
    QApplication::clipboard()->setText(goResult_->HandOverText());
}

bool FrmConfig::PluginRun() const {
    return host_ != nullptr && IsPluginRun(argumentText_);
}

void FrmConfig::cmdPluginInsert_Click() {
    if (!PluginRun() || handOver_->pending())
        return;
    cmdPluginInsert_->setEnabled(false); // until the host has answered
    handOver_->Start(goResult_->HandOverText());
}

void FrmConfig::HandOverFinished(ResultHandOver::Outcome outcome, const QString& reason) {
    cmdPluginInsert_->setEnabled(true);
    // Unless it was handed over, the window stays open with the result, so nothing is lost.
    switch (outcome) {
    case ResultHandOver::Outcome::HandedOver:
        close();
        QCoreApplication::quit();
        return;
    case ResultHandOver::Outcome::NotHandedOver:
        dialogs_.ShowMessage(
            this,
            tr("The result was not handed over to HTML-Kit: %1\nIt is still in the result box.").arg(reason));
        return;
    case ResultHandOver::Outcome::Unknown:
        dialogs_.ShowMessage(this,
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
    if (TemplateBox* edited = popupEditor_->TakeClosedBySelectFiles()) {
        edited->setFocus();
        return;
    }
    const QString section = QString::fromLatin1(design::kSelectFilesDialog);
    const QString folder = store_.ReadSetting(section, QStringLiteral("InitDir"), QString());
    filterIndex_ = store_.ReadNumber(section, QStringLiteral("FilterIndex"), filterIndex_);
    const FileChoice choice = dialogs_.SelectFiles(this, folder, filterIndex_);
    filterIndex_ = choice.filterIndex;
    if (choice.files.isEmpty()) {
        selection_.clear();
        cmdGo_->setEnabled(false);
        return;
    }

    TakeSelection(choice.files);
    store_.WriteSetting(section, QStringLiteral("FilterIndex"), QString::number(filterIndex_));
}

void FrmConfig::TakeSelection(const QStringList& files) {
    std::vector<std::string> paths;
    for (const QString& file : files)
        paths.push_back(LocalPath(file));
    selection_ = SelectionFromPaths(paths);
    firstFolder_ = FolderOf(files.constFirst());
    cmdGo_->setEnabled(true);
    cmdGo_->setFocus();
    store_.WriteSetting(QString::fromLatin1(design::kSelectFilesDialog), QStringLiteral("InitDir"),
                        firstFolder_);
}

namespace {

// The regular files among what is dragged; folders and web addresses are none.
QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile())
            files << QFileInfo(url.toLocalFile()).absoluteFilePath();
    }
    return files;
}

} // namespace

void FrmConfig::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void FrmConfig::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    if (popupEditor_->isOpen())
        CloseTextInputPopup(true, false);
    TakeSelection(files);
}

bool FrmConfig::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QWidget::eventFilter(watched, event);
    auto* drag = static_cast<QDropEvent*>(event);
    if (LocalFiles(drag->mimeData()).isEmpty())
        return false; // text dragged into a box stays the box's business
    if (type == QEvent::Drop)
        dropEvent(drag);
    else
        drag->acceptProposedAction();
    return true;
}

void FrmConfig::cmdPreview_Click() {
    if (!preview_)
        preview_ = new PreviewWindow(this);
    preview_->ShowPage(BoxText(txtResult_), QUrl::fromLocalFile(firstFolder_));
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
}

void FrmConfig::UpdatePreview() {
    if (preview_ && preview_->isVisible()) // a hidden preview catches up when shown
        preview_->ShowPage(BoxText(txtResult_), QUrl::fromLocalFile(firstFolder_));
}

namespace {

// The folder the save dialog opens in: the one last used, but not the shipped
// presets that a load may have left (the program's own, and read-only once
// installed); there, and before any, the user's documents or home folder.
QString SaveFolder(const QString& remembered) {
    if (!remembered.isEmpty() && QDir::cleanPath(remembered) != QDir::cleanPath(PresetsFolder()))
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

void FrmConfig::cmdSaveConfig_Click() {
    const QString section = QString::fromLatin1(design::kConfigDialog);
    const QString path = dialogs_.SaveConfiguration(
        this, SaveFolder(store_.ReadSetting(section, QStringLiteral("InitDir"), QString())));
    if (path.isEmpty())
        return;
    if (const IoResult saved = SaveConfiguration(LocalPath(path), CurrentTemplateSet()); !saved.ok())
        dialogs_.ShowMessage(
            this, tr("The configuration could not be saved.\n%1").arg(FromUtf8(saved.error().message())));
    store_.WriteSetting(section, QStringLiteral("InitDir"), FolderOf(path));
}

void FrmConfig::cmdLoadConfig_Click() {
    const QString section = QString::fromLatin1(design::kConfigDialog);
    // Until a folder of the user's own is remembered, the shipped presets are offered.
    const QString path = dialogs_.OpenConfiguration(
        this, store_.ReadSetting(section, QStringLiteral("InitDir"), PresetsFolder()));
    if (path.isEmpty())
        return;
    TemplateSet set = CurrentTemplateSet();
    if (const IoResult loaded = LoadConfiguration(LocalPath(path), set); !loaded.ok()) {
        dialogs_.ShowMessage(
            this, tr("The configuration could not be loaded.\n%1").arg(FromUtf8(loaded.error().message())));
        return;
    }
    ShowTemplateSet(set);
    store_.WriteSetting(section, QStringLiteral("InitDir"), FolderOf(path));
}

QString FrmConfig::HelpFolder() const {
    return store_.ReadSetting(QStringLiteral("Locations"), QStringLiteral("Root"), ProgramFolder());
}

void FrmConfig::OpenAddress(const QString& address) {
    OpenInBrowser(this, address, 0, launcher_,
                  [this](const QString& text) { dialogs_.ShowBrowserUnavailable(this, text); });
}

void FrmConfig::lblHelp_MouseUp(Qt::KeyboardModifiers shift) {
    if (shift & Qt::ShiftModifier)
        OpenAddress(QString::fromLatin1(strings::String(200)));
    else
        OpenAddress(HelpPagePath(HelpFolder(), QString::fromLatin1(strings::String(201))));
}

QWidget* FrmConfig::helpControlOf(QWidget* widget) const {
    if (TemplateBox* box = templateBoxOf(widget))
        return box;
    // Every control that takes the focus has its place in the help page, named
    // as the control; the popup editor hands F1 to the box it edits.
    for (QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        if (w != txtInputPopup_ && w->focusPolicy() != Qt::NoFocus && IsDesignControl(w->objectName()))
            return w;
    }
    return nullptr;
}

void FrmConfig::HandleKeyDown(QWidget* control, int keyCode, Qt::KeyboardModifiers shift) {
    if (keyCode == Qt::Key_F1) {
        const QString anchor = QLatin1Char('#') + control->objectName();
        if (shift & Qt::ShiftModifier)
            OpenAddress(QString::fromLatin1(strings::String(200)) + anchor);
        else
            OpenAddress(HelpPageAddress(HelpFolder(), QString::fromLatin1(strings::String(201)),
                                        control->objectName()));
    }
    if (keyCode == Qt::Key_F2) {
        if (auto* box = qobject_cast<TemplateBox*>(control))
            PositionTextInputPopup(box);
    }
}

TemplateBox* FrmConfig::templateBoxOf(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget()) {
        if (auto* box = qobject_cast<TemplateBox*>(w))
            return box;
    }
    return nullptr;
}

void FrmConfig::PositionTextInputPopup(QComboBox* cb) {
    popupEditor_->Open(cb);
}

TemplateBox* FrmConfig::GetHiddenCombobox() const {
    return popupEditor_->EditedBox();
}

void FrmConfig::CloseTextInputPopup(bool CopyText, bool FocusCB) {
    popupEditor_->Close(CopyText, FocusCB);
}

} // namespace tabulon
