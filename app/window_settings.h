#pragma once

class QWidget;

// The window's place between runs, beside the controls' own values.
namespace tabulon {

class SettingsStore;

// Moves the window to its stored place, or onto the primary screen when the
// stored place could not be reached there.
void restoreWindowPlace(const SettingsStore& store, QWidget* window);
void saveWindowPlace(SettingsStore& store, const QWidget* window);

} // namespace tabulon
