#pragma once

#include <QString>

class QApplication;

// Program start: the argument text, the set-up run and the window's font.
namespace tabulon {

// The command line after the program's name, as one text, from the arguments
// exactly as the process got them: read before the toolkit takes its own
// options (-style, -reverse ...) out of them.
QString ArgumentText(int argc, const char* const* argv);

// The name of the program's settings: its executable's base name.
QString ApplicationName();

// The folder that holds the program's files: the executable's own when the
// help page lies beside it (the build tree), else the installed data folder
// (../share/tabulon).
QString ProgramFolder();
// The shipped configurations, in the program's folder.
QString PresetsFolder();

// Stores the program's folder for the help; the set-up run does nothing else.
class SettingsStore;
void SetupRegistry(SettingsStore& store);

// Liberation Sans 8 pt, or DejaVu Sans Condensed 8 pt where it is missing: the
// design's pixel sizes show every caption whole in either.
void ApplyWindowFont(QApplication& app);

} // namespace tabulon
