#pragma once

#include <QtGlobal>

// The program's fixed texts: the template boxes' tips and the maker's addresses.
namespace tabulon::strings {

// The tips are translated where the window shows them.
inline constexpr const char* kShortTemplateTip =
    QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Following variables are allowed: {{CRLF}} inserts a CR/LF.");
// No blank after "without dot.": the tip reads as users have always seen it.
inline constexpr const char* kEntryTemplateTip = QT_TRANSLATE_NOOP(
    "tabulon::FrmConfig",
    "{{FILE}} full filename including path. {{EXT}} file ext. {{SHORTEXT}} file ext. without dot.{{PATH}} "
    "path. "
    "{{BASE}} base part of filename. {{CRLF}} CR/LF. {{INC}} File content. {{INC(x)}} Content of file x.");

// The maker's addresses, shown by the link labels and used by the help.
// The maker's page for this program: the web link and what a host editor is told.
inline constexpr const char* kSoftwarePage = "https://quorvane.example/tabulon/";
inline constexpr const char* kMailAddress = "tabulon@quorvane.example";
inline constexpr const char* kOnlineHelp = "https://quorvane.example/doc?product=tabulon&document=help";
inline constexpr const char* kHelpFileName = "help-tabulon.html";
// The window's name for the desktop and software centres: the maker's domain reversed, then the
// program. The desktop entry and the metainfo are installed under it.
inline constexpr const char* kDesktopId = "example.quorvane.tabulon";

// What the program tells a host editor about itself when it registers.
inline constexpr const char* kCopyright = "Copyright (C) 2026 Quorvane";
inline constexpr const char* kAuthor = "Quorvane";

} // namespace tabulon::strings
