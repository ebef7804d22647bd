#include "app/preview_window.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace tabulon {

PreviewWindow::PreviewWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(tr("Tabulon - Preview"));
    browser_->setObjectName(QStringLiteral("txtPreview"));
    browser_->setOpenLinks(false); // a click on a link in the list is no navigation away
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 480);
}

void PreviewWindow::ShowPage(const QString& html, const QUrl& base) {
    html_ = html;
    browser_->document()->setBaseUrl(base);
    browser_->setHtml(html);
}

} // namespace tabulon
