#pragma once

#include <QCoreApplication>

namespace tabulon {

// A user text of the window outside its own class, looked up where the
// window's translation keeps it.
inline QString windowText(const char* source) {
    return QCoreApplication::translate("tabulon::FrmConfig", source);
}

} // namespace tabulon
