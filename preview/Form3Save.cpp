// "Save Results To Excel File": copies the working workbook to a path the user chooses. An existing
// file is replaced only once the new copy is complete, so a failed save never loses it; a target
// that is not a file or is one of the program's own is refused without the overwrite question.
#include "preview/Form3.h"

#include "app/Dialogs.h"
#include "app/Trap.h"
#include "preview/CopyFile.h"
#include "preview/Overwrite.h"

namespace preview {

void Form3::PushButton6_Click()
{
    app::Trap trap(QStringLiteral("Form3"), QStringLiteral("PushButton6_Click"));
    if (mSaving)
        return;  // a save is already running; this click is ignored
    trap(100, [&] { mSaving = true; });

    const QString chosen = trap.value(102, QString(), [&] {
        return app::dialogs().saveFileName(QStringLiteral("Save File"), QStringLiteral("Excel Files (*.xls)|*.xls|"));
    });

    int answer = 0;  // neither Yes nor No until decided
    // A refused target is not asked about: the copy's step reports the refusal and writes nothing.
    if (!chosen.isEmpty())
        answer = trap.value(104, 0, [&] { return overwriteAnswer(chosen); });

    bool copied = true;
    if (answer == app::msg::kYes)
        copied = trap(106, [&] { replaceFileAtomically(mExcelFile, chosen); });

    // A copy that failed has been reported; "Done." would claim the opposite.
    if (copied)
        trap(108, [&] { app::MsgBox(QStringLiteral("Done.")); });
    mSaving = false;
}

}  // namespace preview
