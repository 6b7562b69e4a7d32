#pragma once
// A text box whose whole text is selected whenever it takes the focus (by
// Tab, a click or the program), so that typing replaces the value.

class QLineEdit;

namespace zelk {

// The selection is made once the event that brought the focus is over:
// a click's own press would otherwise put the caret in and undo it.
// Owned by the box.
void SelectAllOnFocus(QLineEdit* box);

}  // namespace zelk
