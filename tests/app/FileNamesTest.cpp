// Text that comes from the system as bytes keeps every byte on its way back, and what the program
// shows of descriptions and names it did not write is whole and visible: a NUL no longer ends a
// report, a control character no longer breaks its lines, a byte that is not UTF-8 shows as \xNN.
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

TEST(FileNames, EveryByteSequenceComesBackAsItWent)
{
    const std::string samples[] = {
        "plain.xls",
        "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\x85.xls"s,      // 2-, 3- and 4-byte UTF-8
        "caf\xE9.xls"s,                                          // Latin-1
        "\x80\xBF lone continuations"s,
        "cut \xE2\x82"s,                                         // a sequence cut short at the end
        "overlong \xC0\xAF and \xE0\x80\xAF"s,
        "surrogate \xED\xB2\x80 encoded"s,                       // what an escape would look like
        "past Unicode \xF4\x90\x80\x80 \xF5\xFF"s,
        "nul \0 inside"s,
    };
    for (const std::string& bytes : samples)
        EXPECT_EQ(app::toSystemBytes(app::fromSystemBytes(bytes)), bytes) << bytes;

    EXPECT_EQ(app::fromSystemBytes("caf\xE9.xls"), QStringLiteral("caf") + QChar(0xDCE9) + QStringLiteral(".xls"));
    EXPECT_EQ(app::fromSystemBytes("caf\xC3\xA9"), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(app::toSystemBytes(QStringLiteral("\U0001F4C5")), "\xF0\x9F\x93\x85");
}

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
