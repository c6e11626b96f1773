// The overwrite question.
#include "preview/Overwrite.h"

#include "app/Dialogs.h"
#include "app/Helpers.h"
#include "app/ProtectedFiles.h"
#include "app/VisibleText.h"

namespace preview {

int overwriteAnswer(const QString& chosen)
{
    if (!app::FileExists(chosen) || app::writeRefusal(chosen))
        return app::msg::kYes;
    return app::MsgBox(QStringLiteral("Are you sure you wish to overwrite ") + app::visibleText(chosen) + QStringLiteral(" ?"),
                       app::msg::kYesNo);
}

}  // namespace preview
