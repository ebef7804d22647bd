#include "app/design_controls.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QGroupBox>
#include <QIcon>
#include <QPushButton>

#include "app/accessible_names.h"
#include "app/controls.h"
#include "app/design.h"
#include "app/window_text.h"
#include "resources/strings.h"
#include "tabulon/version.h"

namespace tabulon {

namespace {

QWidget* makeControl(const design::Control& c, QWidget* parent) {
    const QString text = windowText(c.text);
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
    case design::Kind::ComboBox:
        return new TemplateBox(parent);
    case design::Kind::Button:
        return new QPushButton(text, parent);
    case design::Kind::ResultBox:
        return new MultiLineBox(parent);
    case design::Kind::PopupBox:
        return new PopupBox(parent);
    }
    return nullptr;
}

template <class T = QWidget> T* find(const QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name));
}

void decorate(QWidget* window) {
    window->setWindowTitle(QString::fromLatin1(kAppTitle));
    QIcon icon(QStringLiteral(":/tabulon/icons/tabulon-16.png"));
    icon.addFile(QStringLiteral(":/tabulon/icons/tabulon-32.png"));
    icon.addFile(QStringLiteral(":/tabulon/icons/tabulon-48.png"));
    window->setWindowIcon(icon);

    namespace name = design::name;
    const QString shortTip = windowText(strings::kShortTemplateTip);
    const QString entryTip = windowText(strings::kEntryTemplateTip);
    for (const char* box : {name::kTextTop, name::kTextBottom, name::kTextNewRow})
        find(window, box)->setToolTip(shortTip);
    for (const char* box : {name::kTextNewEntry, name::kTextEndEntry})
        find(window, box)->setToolTip(entryTip);
    find(window, name::kAddComments)
        ->setToolTip(windowText(QT_TRANSLATE_NOOP(
            "tabulon::FrmConfig", "Check here to have comment tags added at top and bottom of the result")));

    auto* help = find<QLabel>(window, name::kHelp);
    help->setToolTip(windowText(QT_TRANSLATE_NOOP(
        "tabulon::FrmConfig", "Click to see off-line help. Shift+Click to see online help.")));
    QFont bold = help->font();
    bold.setBold(true);
    help->setFont(bold);
    find<QLabel>(window, name::kSoftwarePage)
        ->setText(QStringLiteral(" %1 ").arg(QString::fromLatin1(strings::kSoftwarePage)));
    find<QLabel>(window, name::kMailto)
        ->setText(QStringLiteral(" mailto:%1 ").arg(QString::fromLatin1(strings::kMailAddress)));
    for (LinkLabel* link : window->findChildren<LinkLabel*>())
        link->setCursor(Qt::PointingHandCursor);

    auto* version = find<QLabel>(window, name::kVersion);
    version->setText(
        QStringLiteral("%1 %2").arg(QString::fromLatin1(kAppTitle), QString::fromLatin1(kVersionText)));
    // Sized to its whole text, growing to the left so it stays inside the window.
    const QRect designed = version->geometry();
    version->adjustSize();
    version->move(designed.right() + 1 - version->width(), designed.top());

    auto* result = find<QPlainTextEdit>(window, name::kResult);
    result->setLineWrapMode(QPlainTextEdit::NoWrap);
    result->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    result->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* popup = find<QPlainTextEdit>(window, name::kPopup);
    popup->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    popup->hide();
    for (QPushButton* button : window->findChildren<QPushButton*>())
        button->setAutoDefault(true); // Enter on a focused button presses it
    find<QPushButton>(window, name::kSelectFiles)->setDefault(true);
}

} // namespace

bool opensHelp(const QString& name) {
    const auto* c = std::find_if(design::kControls.begin(), design::kControls.end(),
                                 [&](const design::Control& c) { return name == QLatin1String(c.name); });
    return c != design::kControls.end() && c->help == design::Help::Opens;
}

void buildDesignControls(QWidget* window) {
    window->setFixedSize(design::pixels(design::kClientWidth), design::pixels(design::kClientHeight));
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const design::Control& c : design::kControls) {
        QWidget* parent = c.parent ? find(window, c.parent) : window;
        QWidget* control = makeControl(c, parent);
        control->setObjectName(QString::fromLatin1(c.name));
        control->setGeometry(design::pixels(c.left), design::pixels(c.top), design::pixels(c.width),
                             design::pixels(c.height));
        const bool takesFocus = c.kind != design::Kind::Frame && c.kind != design::Kind::Label &&
                                c.kind != design::Kind::LinkLabel;
        control->setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
        if (takesFocus && c.kind != design::Kind::PopupBox)
            tabStops.emplace_back(c.tabIndex, control);
    }
    std::sort(tabStops.begin(), tabStops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    QWidget::setTabOrder(find(window, design::name::kResult), find(window, design::name::kPreview));
    decorate(window);
    nameForScreenReaders(window);
}

} // namespace tabulon
