// The command line: options, and the sample load run by the built program without a display.
#include "app/CommandLine.h"
#include "app/LoadSampleCommand.h"
#include "tests/support/TestEnvironment.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using testing_support::TestEnvironment;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Starts the built program as a script would: no display and no platform chosen.
ProgramRun runProgram(const TestEnvironment& env, const QStringList& arguments, const QString& dataHome = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_DATA_HOME", dataHome.isEmpty() ? env.dataHome() : dataHome);
    environment.insert("XDG_CONFIG_HOME", env.configHome());
    environment.insert("TMPDIR", env.tempDir());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ROSTELLE_EXECUTABLE), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

int storedShiftCount(const QString& database)
{
    store::Connection connection(QStringLiteral("command-line-test"));
    connection.open(database);
    int count = 0;
    for (const store::Weekday day : store::allWeekdays)
        count += static_cast<int>(store::listShifts(connection, day).size());
    connection.close();
    return count;
}

}  // namespace

TEST(CommandLine, IntervalWords)
{
    EXPECT_EQ(app::intervalFromWord("hourly"), app::Interval::Hourly);
    EXPECT_EQ(app::intervalFromWord("half-hour"), app::Interval::HalfHour);
    EXPECT_EQ(app::intervalFromWord("15-minutes"), app::Interval::FifteenMinutes);
    EXPECT_FALSE(app::intervalFromWord("weekly").has_value());
}

TEST(CommandLine, NoOptionsMeansTheWindowAndUnknownOptionsAreRefused)
{
    app::CommandLine commandLine({app::loadSampleCommand()});
    ASSERT_TRUE(commandLine.parse({"rostelle"}));
    EXPECT_EQ(commandLine.command(), nullptr);
    EXPECT_FALSE(commandLine.helpRequested());

    app::CommandLine sample({app::loadSampleCommand()});
    ASSERT_TRUE(sample.parse({"rostelle", "--load-sample", "--interval", "half-hour"}));
    ASSERT_NE(sample.command(), nullptr);

    app::CommandLine wrong({app::loadSampleCommand()});
    EXPECT_FALSE(wrong.parse({"rostelle", "--no-such-option"}));
}

TEST(CommandLine, HelpListsTheOptions)
{
    TestEnvironment env;
    const ProgramRun run = runProgram(env, {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("--load-sample"));
    EXPECT_TRUE(run.out.contains("--interval"));
}

TEST(CommandLine, LoadSampleWithoutADisplayStoresTheSampleAndIsIdempotent)
{
    TestEnvironment env;
    const QString database = env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite";
    const ProgramRun first = runProgram(env, {"--load-sample", "--interval", "hourly"});
    ASSERT_EQ(first.exitCode, 0) << qPrintable(first.err);
    ASSERT_TRUE(QFile::exists(database));
    EXPECT_EQ(storedShiftCount(database), 18);

    // The remembered interval is Hourly (nothing stored), so a second run adds nothing.
    const ProgramRun second = runProgram(env, {"--load-sample"});
    EXPECT_EQ(second.exitCode, 0) << qPrintable(second.err);
    EXPECT_EQ(storedShiftCount(database), 18);

    // After an hourly load a half-hour load adds three Saturday/Sunday shifts.
    const ProgramRun third = runProgram(env, {"--load-sample", "--interval", "half-hour"});
    EXPECT_EQ(third.exitCode, 0) << qPrintable(third.err);
    EXPECT_EQ(storedShiftCount(database), 21);
}

TEST(CommandLine, LoadSampleUsesTheRememberedInterval)
{
    TestEnvironment env;
    QDir().mkpath(env.configHome() + "/Tarrowby");
    QFile conf(env.configHome() + "/Tarrowby/Tarrowby.conf");
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("[Rostelle%20Software]\nOption3=False\nOption4=False\nOption5=True\n");
    conf.close();
    const ProgramRun run = runProgram(env, {"--load-sample"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    store::Connection connection(QStringLiteral("command-line-interval"));
    connection.open(env.dataHome() + "/Tarrowby/Rostelle Software/dbData.sqlite");
    const auto monday = store::listShifts(connection, store::Weekday::Monday);
    ASSERT_FALSE(monday.empty());
    EXPECT_EQ(monday.front().timeIn, "8:15:00 AM");  // the quarter-hour pattern
    connection.close();
}

TEST(CommandLine, FailuresGoToStderrInTheReportsFormatAndTheExitCodeSaysSo)
{
    TestEnvironment env;
    // A data home that is a file: no folder can be made under it.
    QFile blocker(env.root() + "/not-a-folder");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ProgramRun run = runProgram(env, {"--load-sample"}, env.root() + "/not-a-folder");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("Application Error")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("in Rostellix2021/08/31.")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("at line 102")) << qPrintable(run.err);

    const ProgramRun badInterval = runProgram(env, {"--load-sample", "--interval", "weekly"});
    EXPECT_NE(badInterval.exitCode, 0);
    EXPECT_TRUE(badInterval.err.contains("weekly"));
}
