#pragma once

class QWidget;

namespace tabulon {

// Creates the designed controls on `window`: each of its kind, with its
// name, place, caption, focus and tab order.
void BuildDesignControls(QWidget* window);

} // namespace tabulon
