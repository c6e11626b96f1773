// Column letters by the spreadsheet's base-26 naming without a zero digit.
#include "report/ColumnLetters.h"

#include "app/Dialogs.h"
#include "app/Trap.h"

#include <cmath>
#include <cstdint>

namespace report::Excel1 {

QString ColumnNumberToLetter(int columnNumber)
{
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    app::Trap trap(QStringLiteral("Excel1"), QStringLiteral("ColumnNumberToLetter"));
    QString result;

    if (trap.test(100, [&] { return columnNumber > 256; })) {
        trap(102, [&] { app::MsgBox(QStringLiteral("Number is higher than number of columns."), app::msg::kOkOnly); });
        return result;
    }
    double x = 0;
    std::int16_t i = 0;
    long j = 0;
    trap(104, [&] { x = columnNumber / 26.0; });
    trap(106, [&] { i = static_cast<std::int16_t>(std::trunc(x)); });
    trap(108, [&] { j = std::lround((x - i) * 26.0); });
    if (trap.test(110, [&] { return j == 0; })) {
        trap(112, [&] { i = static_cast<std::int16_t>(i - 1); });
        trap(114, [&] { j = 26; });
    }
    trap(116, [&] {
        // Below column 1 there is no letter to pick: the lookup fails like any other bad index.
        if (i < 0 || i > 26 || j < 1 || j > 26)
            throw app::Failure(QStringLiteral("Column %1 is not a column of the sheet.").arg(columnNumber));
        result = (i == 0 ? QString() : kLetters.mid(i - 1, 1)) + kLetters.mid(static_cast<int>(j) - 1, 1);
    });
    return result;
}

}  // namespace report::Excel1
