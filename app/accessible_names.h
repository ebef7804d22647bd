#pragma once

class QWidget;

namespace tabulon {

// Gives the window's controls the names and descriptions a screen reader
// reads: each box the caption of the label beside it, the result box and the
// link labels names of their own. A description comes from the tooltip where
// there is one (the toolkit reads it there by itself).
void nameForScreenReaders(QWidget* window);

} // namespace tabulon
