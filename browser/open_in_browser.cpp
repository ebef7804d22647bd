#include "browser/open_in_browser.h"

#include <string>

#include <QCoreApplication>
#include <QPointer>
#include <QUrl>

#include "base/name_parts.h"
#include "browser/launcher.h"
#include "tabulon/version.h"

namespace tabulon {

QString browserFailureText(const QString& address, int code) {
    const QString title = QString::fromLatin1(kAppTitle);
    if (code == kNoAssociation)
        return QCoreApplication::translate("tabulon::OpenInBrowser",
                                           "%1 could not find a file association for %2 on your system. You "
                                           "should check that your browser is correctly installed and "
                                           "associated with this type of file.")
            .arg(title, address);
    return QCoreApplication::translate(
               "tabulon::OpenInBrowser",
               "%1 had a problem running your web browser on URL %2. You should check "
               "that your browser is correctly installed.(Error%3)")
        .arg(title, address, QString::number(code));
}

QString helpPagePath(const QString& folder, const QString& fileName) {
    std::string path;
    appendJoinedPath(path, folder.toStdString(), fileName.toStdString());
    return QString::fromStdString(path);
}

QString helpPageAddress(const QString& folder, const QString& fileName, const QString& anchor) {
    QUrl address = QUrl::fromLocalFile(helpPagePath(folder, fileName));
    address.setFragment(anchor);
    return address.toString(QUrl::FullyEncoded);
}

void OpenInBrowser(QObject* window, const QString& address, Launcher& launcher, BrowserMessage showMessage) {
    launcher.open(address, [window = QPointer<QObject>(window), address, showMessage](int code) {
        if (code != 0 && window)
            showMessage(browserFailureText(address, code));
    });
}

} // namespace tabulon
