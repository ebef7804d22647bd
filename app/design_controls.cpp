#include "app/design_controls.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>

#include "app/controls.h"
#include "app/design.h"

namespace tabulon {

namespace {

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

} // namespace

void BuildDesignControls(QWidget* window) {
    window->setFixedSize(design::Pixels(design::kClientWidth), design::Pixels(design::kClientHeight));
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const design::Control& c : design::kControls) {
        QWidget* parent = c.parent ? window->findChild<QWidget*>(QString::fromLatin1(c.parent)) : window;
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
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    QWidget::setTabOrder(window->findChild<QWidget*>(QLatin1String(design::name::kResult)),
                         window->findChild<QWidget*>(QLatin1String(design::name::kPreview)));
}

} // namespace tabulon
