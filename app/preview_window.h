#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace tabulon {

// A window beside the main one that shows the result as a page. It does not
// block the main window and follows the result as it changes.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* owner);

    // Relative addresses in the page (an img src) resolve against `base`.
    void showPage(const QString& html, const QUrl& base);
    QString shownHtml() const { return html_; }

private:
    // Beside the owner, wholly on the owner's screen.
    void placeBeside(const QWidget* owner);

    QTextBrowser* browser_;
    QString html_;
};

} // namespace tabulon
