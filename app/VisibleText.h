// The form in which the program shows text it did not write itself (failure descriptions, file
// names): control characters and bytes that are not UTF-8 as \xNN, so nothing is cut off, nothing
// turns into a line break and nothing vanishes.
#pragma once

#include <QString>

namespace app {

// Each control character (U+0000..U+001F, U+007F..U+009F) and each byte carried as
// U+DC80..U+DCFF (FileNames.h) as "\x" and two upper-case hex digits; everything else as it is.
QString visibleText(const QString& text);

}  // namespace app
