#pragma once

#include <array>

// The window's controls as designed: names, kinds, places and texts. The
// names are stored data (settings sections, configuration keys, help
// anchors) and never change.
namespace tabulon::design {

enum class Kind { Frame, Label, LinkLabel, LineEdit, CheckBox, ComboBox, Button, ResultBox, PopupBox };

struct Control {
    const char* name;
    Kind kind;
    const char* parent;           // nullptr: the window itself
    int left, top, width, height; // twips
    int tabIndex;
    const char* text;
};

// Twips to logical pixels at 96 dots per inch.
constexpr int Pixels(int twips) {
    return twips / 15;
}
constexpr int Twips(int pixels) {
    return pixels * 15;
}

inline constexpr int kClientWidth = 10845;
inline constexpr int kClientHeight = 4800;

// The two file dialogs have no visible area; their names are settings sections.
inline constexpr const char* kSelectFilesDialog = "cdSelectFiles";
inline constexpr const char* kConfigDialog = "cdSaveLoadConfig";

// In creation order: frames first, so the controls laid over them stack above.
inline constexpr std::array<Control, 31> kControls{{
    {"Frame1", Kind::Frame, nullptr, 60, 75, 5295, 3495, 12, "Step 1 - Configure"},
    {"Frame2", Kind::Frame, nullptr, 60, 3645, 2535, 735, 13, "Step 2 - Select files"},
    {"Frame3", Kind::Frame, nullptr, 2700, 3645, 2655, 735, 14, "Step 3 - Go!"},
    {"Frame4", Kind::Frame, nullptr, 5460, 75, 5295, 4305, 15, "Step 4 - Check result and copy"},
    {"Label1", Kind::Label, "Frame1", 120, 360, 495, 255, 16, "Width"},
    {"chkAddComments", Kind::CheckBox, "Frame1", 3615, 285, 1455, 375, 1, "Add comments"},
    {"Label2", Kind::Label, "Frame1", 120, 720, 615, 255, 17, "Text top"},
    {"Label3", Kind::Label, "Frame1", 120, 1080, 1335, 255, 18, "Text bottom"},
    {"Label4", Kind::Label, "Frame1", 120, 1560, 1215, 255, 19, "New entry"},
    {"Label7", Kind::Label, "Frame1", 120, 1920, 975, 255, 23, "End entry"},
    {"Label5", Kind::Label, "Frame1", 120, 2280, 1335, 255, 20, "New row"},
    {"Label6", Kind::Label, "Frame1", 120, 2760, 4575, 255, 21, "Save or load configuration:"},
    {"cmdSaveConfig", Kind::Button, "Frame1", 120, 3000, 2415, 375, 7, "Save configuration to file"},
    {"cmdLoadConfig", Kind::Button, "Frame1", 2640, 3000, 2415, 375, 8, "Load configuration from file"},
    {"cmdBrowseForFiles", Kind::Button, "Frame2", 120, 255, 1215, 375, 28, "Select files"},
    {"cmdGo", Kind::Button, "Frame3", 120, 255, 1215, 375, 29, "GO!"},
    {"cmdPreview", Kind::Button, "Frame4", 120, 3840, 1215, 375, 9, "Preview"},
    {"cmdPluginInsert", Kind::Button, "Frame4", 2280, 3840, 1575, 375, 10, "Insert into HTML-Kit"},
    {"cmdCopy", Kind::Button, "Frame4", 3960, 3840, 1215, 375, 11, "Copy"},
    {"txtWidth", Kind::LineEdit, nullptr, 1320, 405, 1575, 285, 0, "4"},
    {"cbTextTop", Kind::ComboBox, nullptr, 1320, 765, 3855, 315, 2, "<table border=\"0\"><tr>{{CRLF}}"},
    {"cbTextBottom", Kind::ComboBox, nullptr, 1320, 1125, 3855, 315, 3, "{{CRLF}}</tr></table>{{CRLF}}"},
    {"cbTextNewEntry", Kind::ComboBox, nullptr, 1320, 1605, 3855, 315, 4, "<td>{{FILE}}</td>"},
    {"cbTextEndEntry", Kind::ComboBox, nullptr, 1320, 1965, 3855, 315, 5, "{{CRLF}}"},
    {"cbTextNewRow", Kind::ComboBox, nullptr, 1320, 2325, 3855, 315, 6, "</tr><tr>{{CRLF}}"},
    {"txtResult", Kind::ResultBox, nullptr, 5640, 360, 5055, 3495, 9, ""},
    {"lblHelp", Kind::LinkLabel, nullptr, 60, 4455, 405, 255, 25, "  ?  "},
    {"lblQuorvane", Kind::LinkLabel, nullptr, 585, 4455, 2880, 255, 27, ""},
    {"lblMailto", Kind::LinkLabel, nullptr, 3555, 4455, 3540, 255, 26, ""},
    {"lblVersion", Kind::Label, nullptr, 10335, 4485, 360, 180, 22, ""},
    {"txtInputPopup", Kind::PopupBox, nullptr, 3360, 75, 1950, 285, 24, ""},
}};

} // namespace tabulon::design
