#include <functional>

#include <QAccessible>
#include <QAccessibleInterface>

#include "support/window_fixture.h"

namespace tabulon {
namespace {

using test::WindowTest;

void walk(QAccessibleInterface* node, const std::function<void(QAccessibleInterface*)>& visit) {
    visit(node);
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i))
            walk(child, visit);
}

std::string objectName(const QAccessibleInterface* node) {
    return node->object() ? node->object()->objectName().toStdString() : std::string("(no object)");
}

// What a screen reader announces a control by. An editable combo box reads as
// its text on this platform, so its own name is what the window gave it.
QString spokenName(QAccessibleInterface* node) {
    if (node->role() == QAccessible::ComboBox)
        return qobject_cast<QWidget*>(node->object())->accessibleName();
    return node->text(QAccessible::Name).trimmed();
}

// Every control a user can reach with Tab (and the link labels) has a name,
// and a description that is its tooltip where it has one.
void expectNamedAndDescribed(QWidget& window) {
    int checked = 0;
    walk(QAccessible::queryAccessibleInterface(&window), [&](QAccessibleInterface* node) {
        const auto* widget = qobject_cast<QWidget*>(node->object());
        const bool link = qobject_cast<const LinkLabel*>(widget) != nullptr;
        if (node->state().invisible || !(node->state().focusable || link))
            return;
        ++checked;
        EXPECT_FALSE(spokenName(node).isEmpty()) << objectName(node);
        const QString tip = widget ? widget->toolTip() : QString();
        if (!tip.isEmpty()) {
            EXPECT_EQ(node->text(QAccessible::Description), tip) << objectName(node);
        }
        if (link || widget->objectName() == QLatin1String("txtResult")) {
            EXPECT_FALSE(node->text(QAccessible::Description).isEmpty()) << objectName(node);
        }
    });
    EXPECT_GE(checked, 20); // the 11 controls of the tab cycle, the box edits, the 3 links
}

TEST_F(WindowTest, AScreenReaderFindsANameForEveryControlAndTheTipAsItsDescription) {
    FrmConfig& window = open();
    expectNamedAndDescribed(window);
    EXPECT_EQ(templateBox("cbTextEndEntry")->accessibleName(), control<QLabel>("Label7")->text());
    EXPECT_EQ(control<QLabel>("Label1")->buddy(), control("txtWidth"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(control("txtWidth"))->text(QAccessible::Name),
              u"Width"_s);

    // The popup editor reads as the box it edits.
    window.PositionTextInputPopup(templateBox("cbTextNewRow"));
    EXPECT_EQ(control("txtInputPopup")->accessibleName(), u"New row"_s);
    expectNamedAndDescribed(window);
}

} // namespace
} // namespace tabulon
