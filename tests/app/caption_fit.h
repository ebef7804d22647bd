#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QWidget>

#include "app/design.h"

namespace tabulon::test {

// What a label, frame or button shows as its caption.
inline QString caption(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget))
        return frame->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        return button->text();
    return {};
}

// The designed controls of `window` whose caption does not show whole, as
// "name: caption (width > room)"; empty when every caption fits.
inline QStringList cutCaptions(const QWidget& window) {
    QStringList cut;
    for (const design::Control& c : design::kControls) {
        const QWidget* widget = window.findChild<QWidget*>(QString::fromLatin1(c.name));
        if (widget == nullptr) {
            cut << QStringLiteral("%1: missing").arg(QString::fromLatin1(c.name));
            continue;
        }
        const QString text = caption(*widget);
        int room = widget->width();
        if (qobject_cast<const QGroupBox*>(widget))
            room -= 16; // the frame's border on both sides
        else if (qobject_cast<const QAbstractButton*>(widget))
            room -= qobject_cast<const QCheckBox*>(widget) ? 22 : 6; // box, or bevel
        const int width = QFontMetrics(widget->font()).horizontalAdvance(text);
        if (!text.isEmpty() && width > room)
            cut << QStringLiteral("%1: %2 (%3 > %4)")
                       .arg(QString::fromLatin1(c.name), text)
                       .arg(width)
                       .arg(room);
    }
    return cut;
}

} // namespace tabulon::test
