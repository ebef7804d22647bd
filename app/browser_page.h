#pragma once

#include <memory>
#include <string>

#include <QString>
#include <QUrl>

#include "posix/result.h"

class QTemporaryDir;

namespace tabulon {

// The list as a whole page, for a browser: its relative addresses resolve
// against `folder` (a <base>), its title is the folder's name, `style` (CSS)
// goes in its head and `script` (JavaScript) after the list.
std::string browserPageText(const QString& list, const QUrl& folder, const std::string& style,
                            const std::string& script);

// A page that could not be written: the file or folder, and why.
struct PageFailure {
    QString file;
    QString reason;
};

// Writes such a page to a file of its own in a temporary folder. The folder
// lasts as long as this object, so a browser that starts late or reloads the
// page still finds it; each write replaces the page whole.
class BrowserPage {
public:
    BrowserPage();
    ~BrowserPage();

    // The page file's path.
    Result<QString, PageFailure> write(const QString& list, const QUrl& folder, const std::string& style,
                                       const std::string& script);

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

} // namespace tabulon
