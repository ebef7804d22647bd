#include "app/preview_window.h"

#include <QImageReader>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/window_place.h"

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

PreviewWindow::PreviewWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new PageView(this)) {
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(tr("Tabulon - Preview"));
    browser_->setObjectName(QStringLiteral("txtPreview"));
    browser_->setOpenLinks(false); // a click on a link in the list is no navigation away
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
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

void PreviewWindow::showPage(const QString& html, const QUrl& base) {
    html_ = html;
    browser_->document()->setBaseUrl(base);
    browser_->setHtml(html);
}

} // namespace tabulon
