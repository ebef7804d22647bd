#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>

#include "app/design.h"

namespace tabulon::test {

// The designed controls whose caption is wider than the room inside them.
inline QStringList cutCaptions(const QWidget& window) {
    QStringList cut;
    for (const design::Control& c : design::kControls) {
        auto* widget = window.findChild<QWidget*>(QString::fromLatin1(c.name));
        QString text;
        int room = widget->width();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            text = frame->title();
            room -= 16; // the frame's border on both sides
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
            room -= qobject_cast<QCheckBox*>(widget) ? 22 : 6; // box, or bevel
        }
        if (QFontMetrics(widget->font()).horizontalAdvance(text) > room)
            cut << widget->objectName();
    }
    return cut;
}

} // namespace tabulon::test
