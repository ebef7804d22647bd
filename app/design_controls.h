#pragma once

class QString;
class QWidget;

namespace tabulon {

// Creates the designed controls on `window`: each of its kind, with its
// name, place, caption, focus and tab order, and gives the window and its
// controls their fixed looks: title, icon, tips, link texts, scroll bars.
void buildDesignControls(QWidget* window);

// Whether F1 on the control named `name` opens the help at its place.
bool opensHelp(const QString& name);

} // namespace tabulon
