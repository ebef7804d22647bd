#include "app/accessible_names.h"

#include <QLabel>
#include <QLineEdit>

#include "app/controls.h"
#include "app/design.h"
#include "app/window_text.h"

namespace tabulon {

namespace {

template <class T = QWidget> T* find(const QWidget* window, const char* name) {
    return window->findChild<T*>(QLatin1String(name));
}

// The label that captions each box. The labels lie in a frame and the boxes
// on the window, so the toolkit cannot pair them by itself.
struct Caption {
    const char* label;
    const char* box;
};
constexpr Caption kCaptions[] = {
    {"Label1", design::name::kWidth},        {"Label2", design::name::kTextTop},
    {"Label3", design::name::kTextBottom},   {"Label4", design::name::kTextNewEntry},
    {"Label7", design::name::kTextEndEntry}, {"Label5", design::name::kTextNewRow},
};

} // namespace

void nameForScreenReaders(QWidget* window) {
    namespace name = design::name;
    for (const Caption& c : kCaptions) {
        auto* label = find<QLabel>(window, c.label);
        QWidget* box = find(window, c.box);
        label->setBuddy(box);
        box->setAccessibleName(label->text());
        // An editable box reads as its text on this platform; its edit field
        // carries the caption as well.
        if (auto* combo = qobject_cast<QComboBox*>(box)) {
            combo->lineEdit()->setAccessibleName(label->text());
            combo->lineEdit()->setAccessibleDescription(combo->toolTip());
        }
    }
    auto* result = find(window, name::kResult);
    result->setAccessibleName(windowText(QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Result")));
    result->setAccessibleDescription(windowText(QT_TRANSLATE_NOOP(
        "tabulon::FrmConfig", "The list that GO! made; it may be edited before it is copied")));
    find(window, name::kHelp)->setAccessibleName(windowText(QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Help")));
    const auto link = [window](const char* name, const char* title) {
        auto* label = find<QLabel>(window, name);
        label->setAccessibleName(windowText(title));
        label->setAccessibleDescription(label->text().trimmed());
    };
    link(name::kSoftwarePage, QT_TRANSLATE_NOOP("tabulon::FrmConfig", "The maker's web page"));
    link(name::kMailto, QT_TRANSLATE_NOOP("tabulon::FrmConfig", "Mail to the maker"));
}

} // namespace tabulon
