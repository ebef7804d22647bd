#pragma once

#include <cstdlib>

#include <QSettings>
#include <QString>

#include "support/stand_in_opener.h"
#include "support/temp_dir.h"

namespace tabulon::test {

// What a window test program sets up before its QApplication: the offscreen
// platform, a private runtime folder, settings in a folder of their own (never
// the user's), and a stand-in opener instead of the desktop's handlers.
class Headless {
public:
    Headless() {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr)
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(settings_.path()));
        ::setenv("XDG_CONFIG_HOME", settings_.path().c_str(), 1);
    }

private:
    TempDir runtime_;
    TempDir settings_;
    StandInOpener opener_;
};

} // namespace tabulon::test
