#pragma once
// A result box's text is one number: a double-click selects all of it (" 15.55026"
// selects "15.55026"), not the word the click falls in, so that it can be copied whole.

class QLabel;

namespace tervalen::view {

void selectWholeNumberOnDoubleClick(QLabel* resultBox);

}  // namespace tervalen::view
