#pragma once

#include <QUrl>
#include <QWidget>

#include "app/browser_page.h"

class QTextBrowser;

namespace tabulon {

class Dialogs;
class Launcher;

// A window beside the main one that shows the result as a page. It does not
// block the main window and follows the result as it changes. "Open in
// browser" shows the same page in the desktop's browser, where style sheets
// and grids work.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(QWidget* owner, Launcher& launcher, Dialogs& dialogs);

    // Relative addresses in the page (an img src) resolve against `base`;
    // `style` (CSS) and `script` (JavaScript) are for the browser's page,
    // which can run them.
    void showPage(const QString& html, const QUrl& base, const std::string& style, const std::string& script);
    QString shownHtml() const { return html_; }

private:
    // Beside the owner, wholly on the owner's screen.
    void placeBeside(const QWidget* owner);
    void openInBrowser();

    Launcher& launcher_;
    Dialogs& dialogs_;
    QTextBrowser* browser_;
    QString html_;
    QUrl base_;
    std::string style_;
    std::string script_;
    BrowserPage page_;
};

} // namespace tabulon
