// Helpers that give windows their colours and their text boxes' focus behaviour: the system's
// button-face colour for a window and its option buttons, check boxes, frames and labels, the
// optional skin of the main window, and select-all when a text box receives the focus.
#pragma once

class QLineEdit;
class QWidget;

namespace app {

// The window and its option buttons, check boxes, frames and labels take the button-face colour;
// text boxes, lists, pictures and push buttons keep theirs.
void SetFormColours(QWidget* window);

// When the skin file is present: the button-face colour for the window and its option buttons,
// check boxes, frames, labels and panels, then the file applied as the window's style sheet.
// Without the file nothing changes. Throws when the file cannot be read.
void ApplySkin(QWidget* mainWindow);

// Whenever the box receives the focus its whole text is selected, so that typing replaces it.
void selectWholeTextOnFocus(QLineEdit* box);

}  // namespace app
