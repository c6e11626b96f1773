// The week's hours and the copy of a day from the command line, through the built program: what
// they write and print, their exit codes, and the copy's message with its list of skipped shifts.
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnvironment.h"

#include "app/DayCopyMessage.h"

#include "store/Connection.h"
#include "store/Shifts.h"

#include <QFile>

#include <gtest/gtest.h>

using testing_support::ProgramRun;
using testing_support::runProgram;
using testing_support::TestEnvironment;

namespace {

int shiftsOn(const TestEnvironment& env, store::Weekday day)
{
    store::Connection connection(QStringLiteral("roster-commands-test"));
    connection.open(testing_support::workingDatabase(env));
    return static_cast<int>(store::listShifts(connection, day).size());
}

}  // namespace

TEST(RosterCommands, HoursGoToStandardOutputOrToTheFileAndMisuseExitsTwo)
{
    TestEnvironment env;
    ASSERT_EQ(runProgram(env, {"--load-sample", "--interval", "hourly"}).exitCode, 0);
    const ProgramRun out = runProgram(env, {"--hours"});
    ASSERT_EQ(out.exitCode, 0) << qPrintable(out.err);
    const QStringList lines = out.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << qPrintable(out.out);
    EXPECT_EQ(lines.front(), "Employee,Monday,Tuesday,Wednesday,Thursday,Friday,Saturday,Sunday,Total");
    EXPECT_TRUE(lines.back().startsWith("Total,"));

    const QString csv = env.tempDir() + "/hours.csv";
    ASSERT_EQ(runProgram(env, {"--hours", csv}).exitCode, 0);
    EXPECT_EQ(testing_support::fileBytes(csv), out.out.toUtf8());

    for (const QStringList& misuse : {QStringList{"--hours", "a.csv", "b.csv"}, QStringList{"--hours", ""},
                                      QStringList{"--hours", testing_support::workingDatabase(env)},
                                      QStringList{"--load-sample", "x.csv"}}) {
        const ProgramRun run = runProgram(env, misuse);
        EXPECT_EQ(run.exitCode, 2) << misuse.join(' ').toStdString() << ": " << qPrintable(run.err);
        EXPECT_EQ(run.err.count('\n'), 1) << qPrintable(run.err);
    }
}

TEST(RosterCommands, CopyDayCopiesSaysWhatItDidAndRefusesWhatCannotBeMeant)
{
    TestEnvironment env;
    ASSERT_EQ(runProgram(env, {"--load-sample", "--interval", "hourly"}).exitCode, 0);
    const int monday = shiftsOn(env, store::Weekday::Monday);
    const int saturday = shiftsOn(env, store::Weekday::Saturday);
    const ProgramRun copy = runProgram(env, {"--copy-day", "monday", "--to", "Saturday"});
    ASSERT_EQ(copy.exitCode, 0) << qPrintable(copy.err);
    EXPECT_TRUE(copy.out.startsWith("Shifts of Monday copied: ")) << qPrintable(copy.out);
    EXPECT_GT(shiftsOn(env, store::Weekday::Saturday), saturday);
    EXPECT_LE(shiftsOn(env, store::Weekday::Saturday), saturday + monday);

    for (const QStringList& misuse : {QStringList{"--copy-day", "Moonday", "--to", "Tuesday"},
                                      QStringList{"--copy-day", "Monday"},
                                      QStringList{"--copy-day", "Monday", "--to", "Tuesday,Funday"},
                                      QStringList{"--copy-day", "Monday", "--to", "Monday"},
                                      QStringList{"--to", "Monday"}}) {
        const ProgramRun run = runProgram(env, misuse);
        EXPECT_EQ(run.exitCode, 2) << misuse.join(' ').toStdString() << ": " << qPrintable(run.err);
        EXPECT_EQ(run.err.count('\n'), 1) << qPrintable(run.err);
    }
}

TEST(RosterCommands, TheCopyMessageListsTenSkippedShiftsAndCountsTheRest)
{
    store::DayCopy copy;
    copy.from = store::Weekday::Monday;
    copy.copied = {{store::Weekday::Tuesday, 2}, {store::Weekday::Friday, 0}};
    for (int i = 0; i < 12; ++i)
        copy.skipped.push_back({QStringLiteral("E%1").arg(i), QTime(9, 0), QTime(17, 30), store::Weekday::Friday});
    const QString text = app::dayCopyMessage(copy);
    EXPECT_TRUE(text.startsWith("Shifts of Monday copied: 2 to Tuesday, 0 to Friday.\nSkipped 12, ")) << qPrintable(text);
    EXPECT_TRUE(text.contains("E9, 9:00:00 AM to 5:30:00 PM, on Friday; and 2 more.")) << qPrintable(text);
    EXPECT_FALSE(text.contains("E10"));
    EXPECT_EQ(app::dayCopyMessage({store::Weekday::Sunday, {{store::Weekday::Monday, 0}}, {}}),
              "Sunday has no shifts to copy; nothing was changed.");
}
