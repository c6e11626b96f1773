// Helpers that give windows their colours: the system's button-face colour for a window and its
// option buttons, check boxes, frames and labels, and the optional skin of the main window.
#pragma once

class QWidget;

namespace app {

// The window and its option buttons, check boxes, frames and labels take the button-face colour;
// text boxes, lists, pictures and push buttons keep theirs.
void SetFormColours(QWidget* window);

// When the skin file is present: the button-face colour for the window and its option buttons,
// check boxes, frames, labels and panels, then the file applied as the window's style sheet.
// Without the file nothing changes. Throws when the file cannot be read.
void ApplySkin(QWidget* mainWindow);

}  // namespace app
