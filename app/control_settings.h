#pragma once

class QLineEdit;

// Moving control values and histories between the window and the settings
// store, in sections named after the controls.
namespace tabulon {

class SettingsStore;
class TemplateBox;
class CommentCheckBox;

// Histories longer than this are not read: a damaged count must not stall start-up.
inline constexpr int kMaxStoredHistory = 1000;

void FillComboList(SettingsStore& store, TemplateBox* cb);
void SaveComboList(SettingsStore& store, const TemplateBox* cb);
void FillTextField(SettingsStore& store, QLineEdit* txt);
void SaveTextField(SettingsStore& store, const QLineEdit* txt);
void FillCheckBox(SettingsStore& store, CommentCheckBox* chk);
void SaveCheckBox(SettingsStore& store, const CommentCheckBox* chk);

} // namespace tabulon
