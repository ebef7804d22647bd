#pragma once

#include <array>

#include <QtGlobal>

#include "base/template_set.h"

// The window's controls as designed: names, kinds, places and texts. The
// names are stored data (settings sections, configuration keys, help
// anchors) and never change.
namespace tabulon::design {

enum class Kind { Frame, Label, LinkLabel, LineEdit, CheckBox, ComboBox, Button, ResultBox, PopupBox };

// Whether F1 on the control opens the help page at its anchor.
enum class Help { None, Opens };

struct Control {
    const char* name;
    Kind kind;
    const char* parent;           // nullptr: the window itself
    int left, top, width, height; // twips
    int tabIndex;
    Help help;
    const char* text; // the caption, translatable; template boxes start with the initial template set
};

// The names the program refers to; the window's name is its settings section too.
inline constexpr const char* kWindowName = "frmConfig";
namespace name {
// The template boxes are named as the configuration files store their values.
using namespace template_key;
inline constexpr const char* kSaveConfig = "cmdSaveConfig";
inline constexpr const char* kLoadConfig = "cmdLoadConfig";
inline constexpr const char* kSelectFiles = "cmdBrowseForFiles";
inline constexpr const char* kGo = "cmdGo";
inline constexpr const char* kPreview = "cmdPreview";
inline constexpr const char* kInsert = "cmdPluginInsert";
inline constexpr const char* kCopy = "cmdCopy";
inline constexpr const char* kResult = "txtResult";
inline constexpr const char* kHelp = "lblHelp";
inline constexpr const char* kSoftwarePage = "lblQuorvane";
inline constexpr const char* kMailto = "lblMailto";
inline constexpr const char* kVersion = "lblVersion";
inline constexpr const char* kPopup = "txtInputPopup";
} // namespace name

// Twips to logical pixels at 96 dots per inch.
constexpr int pixels(int twips) {
    return twips / 15;
}
constexpr int twips(int pixels) {
    return pixels * 15;
}

inline constexpr int kClientWidth = 10845;
inline constexpr int kClientHeight = 4800;

// In creation order: frames first, so the controls laid over them stack above.
inline constexpr std::array<Control, 31> kControls{{
    {"Frame1", Kind::Frame, nullptr, 60, 75, 5295, 3495, 12, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Step 1 - Configure")},
    {"Frame2", Kind::Frame, nullptr, 60, 3645, 2535, 735, 13, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Step 2 - Select files")},
    {"Frame3", Kind::Frame, nullptr, 2700, 3645, 2655, 735, 14, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Step 3 - Go!")},
    {"Frame4", Kind::Frame, nullptr, 5460, 75, 5295, 4305, 15, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Step 4 - Check result and copy")},
    {"Label1", Kind::Label, "Frame1", 120, 360, 495, 255, 16, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Width")},
    {name::kAddComments, Kind::CheckBox, "Frame1", 3615, 285, 1455, 375, 1, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Add comments")},
    {"Label2", Kind::Label, "Frame1", 120, 720, 615, 255, 17, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Text top")},
    {"Label3", Kind::Label, "Frame1", 120, 1080, 1335, 255, 18, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Text bottom")},
    {"Label4", Kind::Label, "Frame1", 120, 1560, 1215, 255, 19, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "New entry")},
    {"Label7", Kind::Label, "Frame1", 120, 1920, 975, 255, 23, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "End entry")},
    {"Label5", Kind::Label, "Frame1", 120, 2280, 1335, 255, 20, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "New row")},
    {"Label6", Kind::Label, "Frame1", 120, 2760, 4575, 255, 21, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Save or load configuration:")},
    {name::kSaveConfig, Kind::Button, "Frame1", 120, 3000, 2415, 375, 7, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Save configuration to file")},
    {name::kLoadConfig, Kind::Button, "Frame1", 2640, 3000, 2415, 375, 8, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Load configuration from file")},
    {name::kSelectFiles, Kind::Button, "Frame2", 120, 255, 1215, 375, 28, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Select files")},
    {name::kGo, Kind::Button, "Frame3", 120, 255, 1215, 375, 29, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "GO!")},
    {name::kPreview, Kind::Button, "Frame4", 120, 3840, 1215, 375, 9, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Preview")},
    {name::kInsert, Kind::Button, "Frame4", 2280, 3840, 1575, 375, 10, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Insert into HTML-Kit")},
    {name::kCopy, Kind::Button, "Frame4", 3960, 3840, 1215, 375, 11, Help::Opens,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Copy")},
    {name::kWidth, Kind::LineEdit, nullptr, 1320, 405, 1575, 285, 0, Help::Opens, ""},
    {name::kTextTop, Kind::ComboBox, nullptr, 1320, 765, 3855, 315, 2, Help::Opens, ""},
    {name::kTextBottom, Kind::ComboBox, nullptr, 1320, 1125, 3855, 315, 3, Help::Opens, ""},
    {name::kTextNewEntry, Kind::ComboBox, nullptr, 1320, 1605, 3855, 315, 4, Help::Opens, ""},
    {name::kTextEndEntry, Kind::ComboBox, nullptr, 1320, 1965, 3855, 315, 5, Help::Opens, ""},
    {name::kTextNewRow, Kind::ComboBox, nullptr, 1320, 2325, 3855, 315, 6, Help::Opens, ""},
    {name::kResult, Kind::ResultBox, nullptr, 5640, 360, 5055, 3495, 9, Help::Opens, ""},
    {name::kHelp, Kind::LinkLabel, nullptr, 60, 4455, 405, 255, 25, Help::None,
     QT_TRANSLATE_NOOP("tabulon::FrmConfig", "  ?  ")},
    {name::kSoftwarePage, Kind::LinkLabel, nullptr, 585, 4455, 2880, 255, 27, Help::None, ""},
    {name::kMailto, Kind::LinkLabel, nullptr, 3555, 4455, 3540, 255, 26, Help::None, ""},
    {name::kVersion, Kind::Label, nullptr, 10335, 4485, 360, 180, 22, Help::None, ""},
    {name::kPopup, Kind::PopupBox, nullptr, 3360, 75, 1950, 285, 24, Help::None, ""},
}};

} // namespace tabulon::design
