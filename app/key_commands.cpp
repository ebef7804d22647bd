#include "app/key_commands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "app/controls.h"
#include "app/design.h"
#include "app/frm_config.h"

namespace tabulon {

KeyCommands::KeyCommands(FrmConfig* window) : QObject(window), window_(window) {
    qApp->installEventFilter(this);
}

bool KeyCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    // Once per key, at the window's focus widget: a drop-down list or a dialog
    // is a window of its own and keeps its keys.
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || watched != focus || focus->window() != window_)
        return false;

    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        qobject_cast<QPushButton*>(focus) == nullptr) {
        key->accept(); // claims the key before any control's own use of it
        if (event->type() == QEvent::KeyPress)
            window_->defaultButton()->click();
        return true;
    }
    if ((key->key() == Qt::Key_F1 || key->key() == Qt::Key_F2) && event->type() == QEvent::KeyPress) {
        if (key->isAutoRepeat())
            return true; // a held F1 would open a page per repeat
        QWidget* control = window_->helpControlOf(focus);
        // The popup editor hands F1 to the template box it edits.
        if (control == nullptr && key->key() == Qt::Key_F1 &&
            focus->objectName() == QLatin1String(design::name::kPopup))
            control = window_->GetHiddenCombobox();
        if (control != nullptr) {
            window_->HandleKeyDown(control, key->key(), key->modifiers());
            return true;
        }
    }
    return false;
}

} // namespace tabulon
