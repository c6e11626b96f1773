// The error report's text and the trap's report-and-go-on behaviour.
#include "app/ErrorReport.h"
#include "app/Trap.h"
#include "app/BuildConfig.h"
#include "tests/support/FakeDialogs.h"

#include "store/StoreError.h"

#include <gtest/gtest.h>

using testing_support::FakeDialogs;

TEST(ErrorReport, TextIsLaidOutByteForByte)
{
    const QString label = app::errorSourceLabel("Form1", "Form_Load");
    EXPECT_EQ(label, QStringLiteral("in Rostellix2021/08/31.Form1.Form_Load "));
    const QString text = app::applicationErrorText(label, 142, "Disk full");
    EXPECT_EQ(text, QStringLiteral("Disk full\r\nin Rostellix2021/08/31.Form1.Form_Load at line 142\r\r"
                                   "Please email screenshot of this message to ")
                        + QString::fromUtf8(app::config::kSupportEmail));
    // An empty description leaves the first line empty.
    EXPECT_TRUE(app::applicationErrorText(label, 100, QString()).startsWith("\r\nin Rostellix"));
}

TEST(ErrorReport, ShownWithWarningStyleAndItsOwnTitle)
{
    FakeDialogs dialogs;
    app::ShowApplicationError(app::errorSourceLabel("Form3", "RedrawImage"), 104, "boom");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].style, 48);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Application Error"));
}

TEST(ErrorReport, EachFailingStatementIsReportedAndTheProcedureGoesOn)
{
    FakeDialogs dialogs;
    app::Trap trap("Form1", "PushButton3_Click");
    std::vector<int> ran;
    trap(100, [&] { throw app::Failure("first"); });
    trap(102, [&] { throw std::runtime_error("second"); });
    trap(104, [&] { ran.push_back(104); });
    EXPECT_EQ(ran, std::vector<int>{104});
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("first\r\nin Rostellix2021/08/31.Form1.PushButton3_Click at line 100\r\r"));
    EXPECT_TRUE(dialogs.messages[1].text.startsWith("second\r\nin Rostellix2021/08/31.Form1.PushButton3_Click at line 102\r\r"));
    EXPECT_EQ(trap.failures(), 2);
}

TEST(ErrorReport, AFailingConditionEntersItsBranch)
{
    FakeDialogs dialogs;
    app::Trap trap("Form1", "Form_Load");
    EXPECT_TRUE(trap.test(100, []() -> bool { throw app::Failure("cannot tell"); }));
    EXPECT_FALSE(trap.test(102, [] { return false; }));
    EXPECT_EQ(trap.value(104, -1, []() -> int { throw app::Failure("x"); }), -1);
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST(ErrorReport, ALostConnectionIsToldOncePerProcedureAndEveryStepStillCounts)
{
    FakeDialogs dialogs;
    app::Trap trap("Form1", "PushButton2_Click");
    trap(100, [] { throw store::ConnectionLost("The connection to the database roster was lost (gone)."); });
    EXPECT_TRUE(trap.test(102, []() -> bool { throw store::ConnectionLost("The connection ... was lost."); }));
    trap(104, [] { throw app::Failure("something else"); });
    trap(106, [] { throw store::ConnectionLost("The connection ... was lost."); });
    EXPECT_EQ(trap.failures(), 4);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(dialogs.messages[0].text.contains("at line 100"));
    EXPECT_TRUE(dialogs.messages[1].text.startsWith("something else"));

    app::Trap next("Form1", "PushButton3_Click");
    next(100, [] { throw store::ConnectionLost("The connection ... was lost."); });
    EXPECT_EQ(dialogs.messages.size(), 3u) << "the next action tells it again";
}
