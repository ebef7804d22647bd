#include "app/browser_page.h"

#include <system_error>

#include <QDir>
#include <QTemporaryDir>

#include "app/file_names.h"
#include "listgen/html_page.h"
#include "persist/atomic_file.h"
#include "tabulon/version.h"

namespace tabulon {

std::string browserPageText(const QString& list, const QUrl& folder, const std::string& style,
                            const std::string& script) {
    PageInfo page;
    page.style = style;
    page.script = script;
    if (!folder.isEmpty()) {
        QUrl base = folder;
        if (!base.path().endsWith(QLatin1Char('/')))
            base.setPath(base.path() + QLatin1Char('/'));
        page.baseHref = base.toString(QUrl::FullyEncoded).toStdString();
        page.title = base.adjusted(QUrl::StripTrailingSlash).fileName().toStdString();
    }
    if (page.title.empty()) // no selection yet, or the root folder
        page.title = kAppTitle;
    return pageStart(page) + list.toStdString() + pageEnd(page);
}

BrowserPage::BrowserPage() = default;
BrowserPage::~BrowserPage() = default;

Result<QString, PageFailure> BrowserPage::write(const QString& list, const QUrl& folder,
                                                const std::string& style, const std::string& script) {
    if (!dir_ || !dir_->isValid()) {
        // Qt gives an empty path for a TMPDIR that does not exist, which
        // would put the folder at the root.
        const QString temp = QDir::tempPath();
        if (temp.isEmpty())
            return PageFailure{
                qEnvironmentVariable("TMPDIR"),
                QString::fromStdString(std::make_error_code(std::errc::no_such_file_or_directory).message())};
        dir_ = std::make_unique<QTemporaryDir>(temp + QStringLiteral("/tabulon-XXXXXX"));
        if (!dir_->isValid())
            return PageFailure{temp, dir_->errorString()};
    }
    const QString path = dir_->filePath(QStringLiteral("page.html"));
    const IoResult written =
        writeFileAtomically(localPath(path), browserPageText(list, folder, style, script));
    if (!written.ok())
        return PageFailure{path, QString::fromStdString(written.error().code.message())};
    return path;
}

} // namespace tabulon
