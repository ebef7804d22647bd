#include "app/preview_window.h"

#include <QHBoxLayout>
#include <QImageReader>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/window_place.h"
#include "browser/open_in_browser.h"
#include "selection/dialogs.h"

namespace tabulon {

namespace {

// Pictures at most this many pixels on their long side: a gallery of photos
// would otherwise take gigabytes, decoded at full size.
constexpr int kLongestSide = 512;

class PageView final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = document()->baseUrl().resolved(name);
        if (type != QTextDocument::ImageResource || !url.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        QImageReader reader(url.toLocalFile());
        const QSize size = reader.size();
        if (size.isValid() && std::max(size.width(), size.height()) > kLongestSide)
            reader.setScaledSize(size.scaled(kLongestSide, kLongestSide, Qt::KeepAspectRatio));
        return reader.read();
    }
};

} // namespace

PreviewWindow::PreviewWindow(QWidget* owner, Launcher& launcher, Dialogs& dialogs)
    : QWidget(owner, Qt::Window), launcher_(launcher), dialogs_(dialogs), browser_(new PageView(this)) {
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(tr("Tabulon - Preview"));
    browser_->setObjectName(QStringLiteral("txtPreview"));
    browser_->setOpenLinks(false); // a click on a link in the list is no navigation away
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    auto* openInBrowser = new QPushButton(tr("Open in browser"), this);
    openInBrowser->setObjectName(QStringLiteral("cmdOpenInBrowser"));
    connect(openInBrowser, &QPushButton::clicked, this, &PreviewWindow::openInBrowser);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 6, 6, 6);
    buttons->addStretch();
    buttons->addWidget(openInBrowser);
    layout->addLayout(buttons);
    resize(640, 480);
    placeBeside(owner);
}

void PreviewWindow::placeBeside(const QWidget* owner) {
    // Left to itself the desktop may centre the preview over the owner and
    // put its lower part below the screen.
    const QRect ownerFrame = owner->frameGeometry();
    const QRect ownerInside = owner->geometry();
    // Not shown yet, this window has no frame: the owner's stands in for it.
    const QMargins frame(ownerInside.left() - ownerFrame.left(), ownerInside.top() - ownerFrame.top(),
                         ownerFrame.right() - ownerInside.right(),
                         ownerFrame.bottom() - ownerInside.bottom());
    const QRect wanted(QPoint(ownerFrame.right() + 1, ownerFrame.top()), size().grownBy(frame));
    const QRect placed = fittedInto(wanted, owner->screen()->availableGeometry());
    resize(placed.size().shrunkBy(frame));
    move(placed.topLeft());
}

void PreviewWindow::showPage(const QString& html, const QUrl& base, const std::string& style,
                             const std::string& script) {
    html_ = html;
    base_ = base;
    style_ = style;
    script_ = script;
    browser_->document()->setBaseUrl(base);
    browser_->setHtml(html);
}

void PreviewWindow::openInBrowser() {
    const Result<QString, PageFailure> written = page_.write(html_, base_, style_, script_);
    if (!written.ok()) {
        const PageFailure& failure = written.error();
        dialogs_.showMessage(
            this,
            tr("The page for the browser could not be written.\n%1: %2").arg(failure.file, failure.reason));
        return;
    }
    OpenInBrowser(this, QUrl::fromLocalFile(written.value()).toString(QUrl::FullyEncoded), launcher_,
                  [this](const QString& text) { dialogs_.showBrowserUnavailable(this, text); });
}

} // namespace tabulon
