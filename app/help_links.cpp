#include "app/help_links.h"

#include <QWidget>

#include "app/settings_keys.h"
#include "app/start.h"
#include "browser/open_in_browser.h"
#include "resources/strings.h"
#include "selection/dialogs.h"

namespace tabulon {

namespace {

const QString kOnlineHelp = QString::fromLatin1(strings::kOnlineHelp);
const QString kHelpFileName = QString::fromLatin1(strings::kHelpFileName);

} // namespace

HelpLinks::HelpLinks(QWidget* window, const SettingsStore& store, Launcher& launcher, Dialogs& dialogs)
    : window_(window), store_(store), launcher_(launcher), dialogs_(dialogs) {}

void HelpLinks::openHelp(bool online) const {
    open(online ? kOnlineHelp : helpPagePath(helpFolder(), kHelpFileName));
}

void HelpLinks::openHelpFor(const QString& control, bool online) const {
    open(online ? kOnlineHelp + QLatin1Char('#') + control
                : helpPageAddress(helpFolder(), kHelpFileName, control));
}

void HelpLinks::open(const QString& address) const {
    OpenInBrowser(window_, address, launcher_,
                  [this](const QString& text) { dialogs_.showBrowserUnavailable(window_, text); });
}

QString HelpLinks::helpFolder() const {
    return settings::read(store_, settings::kHelpFolder, programFolder());
}

} // namespace tabulon
