#pragma once

#include <QString>

class QApplication;

// Program start: the argument text, the set-up run and the window's font.
namespace tabulon {

// The command line after the program's name, as one text, from the arguments
// exactly as the process got them: read before the toolkit takes its own
// options (-style, -reverse ...) out of them.
QString argumentText(int argc, const char* const* argv);

// The name of the program's settings: its executable's base name.
QString applicationName();

// The folder that holds the program's files: the executable's own when the
// help page lies beside it (the build tree), else the installed data folder
// (../share/tabulon).
QString programFolder();
// The shipped configurations, in the program's folder.
QString presetsFolderPath();

// Stores the program's folder for the help; the set-up run does nothing else.
class SettingsStore;
void SetupRegistry(SettingsStore& store);

// Liberation Sans 8 pt, or DejaVu Sans Condensed 8 pt where it is missing: the
// design's pixel sizes show every caption whole in either.
void applyWindowFont(QApplication& app);

} // namespace tabulon
