// The question the preview's saves ask before they write over a file that is there.
#pragma once

#include <QString>

namespace preview {

// Whether a save may write `chosen`: Yes (app::msg::kYes) without a question where no file is
// there or where the write will be refused (the write then says why); otherwise the user's answer
// to "Are you sure you wish to overwrite <chosen> ?".
int overwriteAnswer(const QString& chosen);

}  // namespace preview
