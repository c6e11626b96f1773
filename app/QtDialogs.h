// Message boxes and the save dialog on screen.
#pragma once

#include "app/Dialogs.h"

namespace app {

class QtDialogs final : public Dialogs {
public:
    int messageBox(const QString& text, int style, const QString& title) override;
    QString saveFileName(const QString& title, const QString& filter) override;
};

// Turns a filter written "Display|pattern|..." into the form the file dialog takes.
QString qtFileFilter(const QString& barSeparatedFilter);

}  // namespace app
