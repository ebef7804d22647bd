#pragma once

#include <QCoreApplication>

namespace tabulon {

// A user text of the window outside its own class, looked up where the
// window's translation keeps it. A literal is marked where it is written,
// windowText(QT_TRANSLATE_NOOP("tabulon::FrmConfig", "...")), for lupdate.
inline QString windowText(const char* source) {
    return QCoreApplication::translate("tabulon::FrmConfig", source);
}

} // namespace tabulon
