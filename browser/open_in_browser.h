#pragma once

#include <functional>

#include <QString>

class QObject;

namespace tabulon {

class Launcher;

// How a failure is shown: title "Browser Unavailable", warning icon, OK only.
using BrowserMessage = std::function<void(const QString& text)>;

// Opens an address and explains a failure once the opener has given up, as
// long as `window` is still there. The desktop decides how to show what it opens.
void OpenInBrowser(QObject* window, const QString& address, Launcher& launcher, BrowserMessage showMessage);

// The help page in `folder`, joined with one separator.
QString helpPagePath(const QString& folder, const QString& fileName);
// The same as a file address at an anchor.
QString helpPageAddress(const QString& folder, const QString& fileName, const QString& anchor);

// The message for a failure code.
QString browserFailureText(const QString& address, int code);

} // namespace tabulon
