#include "app/window_settings.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "app/design.h"
#include "app/settings_keys.h"
#include "app/window_place.h"

namespace tabulon {

void restoreWindowPlace(const SettingsStore& store, QWidget* window) {
    const QPoint stored(design::pixels(settings::readNumber(store, settings::kWindowLeft, 0)),
                        design::pixels(settings::readNumber(store, settings::kWindowTop, 0)));
    // A place the user could not reach (a screen that is gone, a title bar
    // off the screen) falls back to the primary screen.
    QList<QRect> areas;
    for (const QScreen* screen : QApplication::screens())
        areas << screen->availableGeometry();
    const QScreen* primary = QApplication::primaryScreen();
    window->move(
        reachablePlace(stored, window->size(), areas, primary ? primary->availableGeometry() : QRect()));
}

void saveWindowPlace(SettingsStore& store, const QWidget* window) {
    settings::write(store, settings::kWindowTop, QString::number(design::twips(window->y())));
    settings::write(store, settings::kWindowLeft, QString::number(design::twips(window->x())));
}

} // namespace tabulon
