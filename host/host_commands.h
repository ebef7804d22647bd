#pragma once

#include <QStringList>

namespace tabulon::host {

inline constexpr int kExitOk = 0;
inline constexpr int kExitNoResult = 1;
inline constexpr int kExitUsage = 2; // also: the name is taken, or there is no bus

// `tabulon-host serve | register | run [--plugin PATH]`; returns the exit status.
[[nodiscard]] int runHost(const QStringList& arguments);

} // namespace tabulon::host
