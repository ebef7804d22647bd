#pragma once

#include <QString>

class QWidget;

namespace tabulon {

class Dialogs;
class Launcher;
class SettingsStore;

// The help page, offline beside the program or online, and the maker's
// addresses, opened in the desktop's browser. A failure is explained once
// the browser has given up, as long as the window is still there.
class HelpLinks {
public:
    HelpLinks(QWidget* window, const SettingsStore& store, Launcher& launcher, Dialogs& dialogs);

    // The help page's start; online with `online`.
    void openHelp(bool online) const;
    // The help page at the place of the control named `control`.
    void openHelpFor(const QString& control, bool online) const;
    void open(const QString& address) const;

private:
    QString helpFolder() const;

    QWidget* window_;
    const SettingsStore& store_;
    Launcher& launcher_;
    Dialogs& dialogs_;
};

} // namespace tabulon
