// The roster a command works on, opened as start-up opens it: the data folders and the working
// file made when missing, then the store the run chose (--database, the setting, or the file).
#pragma once

#include "store/Location.h"

#include <QString>

#include <cstdio>

namespace commands {

// Opens the shared connection; an empty text when it is open, else why not (a password in a
// connection text already hidden). The caller closes it.
QString openCommandStore(store::Access access);

// Writes the text to the stream line by line, control characters shown as the error report shows them.
void sayLines(std::FILE* stream, const QString& text);

}  // namespace commands
