#include "app/control_settings.h"

#include <algorithm>

#include <QLineEdit>

#include "app/controls.h"
#include "app/settings_keys.h"

namespace tabulon {

namespace {

const QString kListCount = QLatin1String(settings::kHistoryCount);
const QString kText = QLatin1String(settings::kText);
const QString kValue = QLatin1String(settings::kCheckState);

} // namespace

void FillComboList(SettingsStore& store, TemplateBox* cb) {
    const QString section = cb->objectName();
    const int count = std::clamp(store.readNumber(section, kListCount, 0), 0, kMaxStoredHistory);
    for (int i = 1; i <= count; ++i)
        cb->appendToHistory(store.ReadSetting(section, QString::number(i), QString()));
    if (cb->count() > 0)
        cb->setEditText(cb->itemText(0));
}

void SaveComboList(SettingsStore& store, const TemplateBox* cb) {
    const QString section = cb->objectName();
    store.WriteSetting(section, kListCount, QString::number(cb->count()));
    for (int i = 1; i <= cb->count(); ++i)
        store.WriteSetting(section, QString::number(i), cb->itemText(i - 1));
}

void FillTextField(SettingsStore& store, QLineEdit* txt) {
    txt->setText(store.ReadSetting(txt->objectName(), kText, txt->text()));
}

void SaveTextField(SettingsStore& store, const QLineEdit* txt) {
    store.WriteSetting(txt->objectName(), kText, txt->text());
}

void FillCheckBox(SettingsStore& store, CommentCheckBox* chk) {
    const int state = store.readNumber(chk->objectName(), kValue, chk->state());
    if (state >= 0 && state <= 2)
        chk->setState(state);
}

void SaveCheckBox(SettingsStore& store, const CommentCheckBox* chk) {
    store.WriteSetting(chk->objectName(), kValue, QString::number(chk->state()));
}

} // namespace tabulon
