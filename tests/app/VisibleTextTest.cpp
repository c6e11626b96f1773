// What the program shows of descriptions and names it did not write is whole and visible: a NUL
// no longer ends a report, a control character no longer breaks its lines, a byte that is not
// UTF-8 shows as \xNN.
#include "app/ErrorReport.h"
#include "app/FileNames.h"
#include "app/Trap.h"
#include "app/VisibleText.h"
#include "tests/support/FakeDialogs.h"

#include "sheet/model/SheetError.h"
#include "store/StoreError.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

TEST(VisibleText, ControlCharactersAndStrayBytesShowAsHexEscapes)
{
    EXPECT_EQ(app::visibleText(QString::fromUtf8("08:00\0:00"s.data(), 9)), QStringLiteral("08:00\\x00:00"));
    EXPECT_EQ(app::visibleText(QStringLiteral("a\r\nb\tc\x7F\u0085")), QStringLiteral("a\\x0D\\x0Ab\\x09c\\x7F\\x85"));
    EXPECT_EQ(app::visibleText(app::fromSystemBytes("caf\xE9.xls")), QStringLiteral("caf\\xE9.xls"));
    // Real characters stay, including those written with a surrogate pair whose low half falls in
    // the range escapes use (U+10080 is D800 DC80).
    const QString kept = QStringLiteral("caf\u00E9 \u20AC \U0001F4C5 \U00010080 \\x41");
    EXPECT_EQ(app::visibleText(kept), kept);
}

TEST(VisibleText, ATrappedFailureIsReportedWholeWhateverLayerRaisedIt)
{
    testing_support::FakeDialogs dialogs;
    app::Trap trap("Form1", "listSchedules");
    const std::string bytes = "The stored time \"08:00\0:00 AM\" cannot be read"s;
    const QString withNul = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    trap(100, [&] { throw store::StoreError(withNul); });
    trap(102, [&] { throw app::Failure(withNul); });
    trap(104, [&] { throw sheet::SheetError("Cannot save the workbook to caf\xE9\0.xls: Permission denied"s); });
    ASSERT_EQ(dialogs.messages.size(), 3u);
    const QString shown = QStringLiteral("The stored time \"08:00\\x00:00 AM\" cannot be read\r\n");
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(shown)) << dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(dialogs.messages[1].text.startsWith(shown)) << dialogs.messages[1].text.toStdString();
    EXPECT_TRUE(dialogs.messages[2].text.startsWith("Cannot save the workbook to caf\\xE9\\x00.xls: Permission denied\r\n"))
        << dialogs.messages[2].text.toStdString();
}
