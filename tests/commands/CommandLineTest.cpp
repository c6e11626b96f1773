// The command line: options, the rules that refuse what cannot be meant, and the built program
// run from it without a display.
#include "commands/CommandLine.h"
#include "commands/LoadSampleCommand.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnvironment.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include <unistd.h>

using testing_support::ProgramRun;
using testing_support::runProgram;
using testing_support::workingDatabase;
using testing_support::TestEnvironment;

// Texts in failure messages as text rather than bytes.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QStringList& texts, std::ostream* out) { *out << texts.join(", ").toStdString(); }

namespace {

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
    EXPECT_EQ(schedule::intervalFromWord("hourly"), schedule::Interval::Hourly);
    EXPECT_EQ(schedule::intervalFromWord("half-hour"), schedule::Interval::HalfHour);
    EXPECT_EQ(schedule::intervalFromWord("15-minutes"), schedule::Interval::FifteenMinutes);
    EXPECT_FALSE(schedule::intervalFromWord("weekly").has_value());
}

TEST(CommandLine, NoOptionsMeansTheWindowAndUnknownOptionsAreRefused)
{
    commands::CommandLine commandLine({commands::loadSampleCommand()});
    ASSERT_TRUE(commandLine.parse({"rostelle"}));
    EXPECT_EQ(commandLine.command(), nullptr);
    EXPECT_FALSE(commandLine.helpRequested());

    commands::CommandLine sample({commands::loadSampleCommand()});
    ASSERT_TRUE(sample.parse({"rostelle", "--load-sample", "--interval", "half-hour"}));
    ASSERT_NE(sample.command(), nullptr);

    commands::CommandLine wrong({commands::loadSampleCommand()});
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
    const QString database = workingDatabase(env);
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
    testing_support::writeSettings(env, "Option3=False\nOption4=False\nOption5=True");
    const ProgramRun run = runProgram(env, {"--load-sample"});
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    store::Connection connection(QStringLiteral("command-line-interval"));
    connection.open(workingDatabase(env));
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
    const ProgramRun run = runProgram(env, {"--load-sample"}, [&](QProcessEnvironment& environment) {
        environment.insert("XDG_DATA_HOME", env.root() + "/not-a-folder");
    });
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("Application Error")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("in Rostellix2021/08/31.")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("at line 102")) << qPrintable(run.err);

    const ProgramRun badInterval = runProgram(env, {"--load-sample", "--interval", "weekly"});
    EXPECT_NE(badInterval.exitCode, 0);
    EXPECT_TRUE(badInterval.err.contains("weekly"));
}

namespace {

QCommandLineOption flag(const char* name) { return QCommandLineOption(QString::fromLatin1(name), "stand-in"); }
QCommandLineOption valued(const char* name) { return QCommandLineOption(QString::fromLatin1(name), "stand-in", "value"); }

// Commands shaped like the program's own and like those still to come: a file command that may
// also go with the export, a command of its own, and a general option that every run takes.
std::vector<commands::HeadlessCommand> standInCommands()
{
    commands::HeadlessCommand sample{flag("load-sample"), {valued("interval")}, {}, {}, {}};
    commands::HeadlessCommand pdf{valued("pdf"), {valued("week"), valued("interval")}, {}, {}, {"pdf"}};
    commands::HeadlessCommand workbook{valued("export"),
                                  {valued("picture"), valued("week"), valued("interval"), valued("pdf")},
                                  {},
                                  {},
                                  {"export", "picture", "pdf"}};
    commands::HeadlessCommand init{valued("init-database"), {}, {}, {}, {}};
    return {sample, pdf, workbook, init};
}

// The command a run goes to ("window" for none), or "refused: " and the one line saying why.
QString outcome(const QStringList& arguments)
{
    commands::CommandLine commandLine(standInCommands(), {valued("database")});
    if (!commandLine.parse(QStringList{"rostelle"} + arguments))
        return "refused: " + commandLine.errorText();
    return commandLine.command() ? commandLine.command()->trigger.names().constFirst() : "window";
}

}  // namespace

TEST(CommandLine, ARunGoesToTheOneCommandThatTakesEveryOptionGiven)
{
    EXPECT_EQ(outcome({}), "window");
    EXPECT_EQ(outcome({"--database", "postgresql://host/db"}), "window");
    EXPECT_EQ(outcome({"--load-sample", "--database", "u"}), "load-sample");
    EXPECT_EQ(outcome({"--load-sample", "--load-sample"}), "load-sample");
    EXPECT_EQ(outcome({"--pdf", "a.pdf", "--week", "W"}), "pdf");
    // A command that takes another's trigger does both, whichever is named first.
    EXPECT_EQ(outcome({"--export", "a.xls", "--pdf", "a.pdf"}), "export");
    EXPECT_EQ(outcome({"--pdf", "a.pdf", "--export", "a.xls", "--interval", "hourly"}), "export");
    EXPECT_EQ(outcome({"--init-database", "u", "--database", "v"}), "init-database");
}

TEST(CommandLine, WhatNoGivenCommandTakesIsRefusedWithOneLine)
{
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{"--export", "a.xls", "--load-sample"}, "--export and --load-sample cannot be used together."},
        {{"--load-sample", "--export", "a.xls", "--pdf", "a.pdf"}, "--load-sample and --export cannot be used together."},
        {{"--pdf", "a.pdf", "--init-database", "u"}, "--pdf and --init-database cannot be used together."},
        {{"--week", "W"}, "--week works only with --pdf or --export."},
        {{"--interval", "hourly", "--database", "u"}, "--interval works only with --load-sample or --pdf or --export."},
        {{"--load-sample", "--week", "W"}, "--week works only with --pdf or --export, not with --load-sample."},
        {{"--pdf", "a.pdf", "--picture", "a.png"}, "--picture works only with --export, not with --pdf."},
        {{"--export", "a.xls", "--export", "b.xls"}, "--export is given more than once; give it once."},
        {{"schedule.xls"}, "Unexpected argument \"schedule.xls\": no option takes it. Try \"rostelle --help\"."},
        {{"--export", "a.xls", "--", "--load-sample"},
         "Unexpected argument \"--load-sample\": no option takes it. Try \"rostelle --help\"."},
        {{"--no-such"}, "Unknown option 'no-such'. Try \"rostelle --help\"."},
        {{"--export"}, "Missing value after '--export'. Try \"rostelle --help\"."},
    };
    for (const auto& [arguments, line] : cases) {
        const QString result = outcome(arguments);
        EXPECT_EQ(result, "refused: " + line) << qPrintable(arguments.join(' '));
        EXPECT_FALSE(result.contains('\n'));
    }

    // Asking for help or the version is never refused: the answer says how to use the rest.
    commands::CommandLine commandLine(standInCommands());
    ASSERT_TRUE(commandLine.parse({"rostelle", "--week", "W", "--help"}));
    EXPECT_TRUE(commandLine.helpRequested());
    ASSERT_TRUE(commandLine.parse({"rostelle", "stray", "--version"}));
    EXPECT_TRUE(commandLine.versionRequested());
}

TEST(CommandLine, TwoFilesOfOneRunMayNotBeOneFile)
{
    TestEnvironment env;
    const QString folder = env.root();
    QDir(folder).mkdir("sub");
    const QString workbook = folder + "/week.xls";
    const QString refusal = "refused: --export and --pdf name the same file";

    // Not made yet: the same name in the same folder, however spelt.
    EXPECT_TRUE(outcome({"--export", workbook, "--pdf", folder + "/sub/../week.xls"}).startsWith(refusal));
    EXPECT_TRUE(outcome({"--export", workbook, "--pdf", folder + "//./week.xls"}).startsWith(refusal));
    // A link that leads nowhere yet leads to the workbook once the export has written it.
    ASSERT_TRUE(QFile::link(workbook, folder + "/dangling.pdf"));
    EXPECT_TRUE(outcome({"--export", workbook, "--pdf", folder + "/dangling.pdf"}).startsWith(refusal));
    // The other way round the export replaces the link with the workbook, and the file the link
    // named is still a file of its own, whichever option comes first.
    ASSERT_TRUE(QFile::link(folder + "/later.pdf", folder + "/first.xls"));
    EXPECT_EQ(outcome({"--export", folder + "/first.xls", "--pdf", folder + "/later.pdf"}), "export");
    EXPECT_EQ(outcome({"--pdf", folder + "/later.pdf", "--export", folder + "/first.xls"}), "export");
    // Existing files by device and inode: through a link to the folder and through a hard link.
    QFile existing(workbook);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    ASSERT_TRUE(QFile::link(folder, folder + "/sub/up"));
    EXPECT_TRUE(outcome({"--export", workbook, "--pdf", folder + "/sub/up/week.xls"}).startsWith(refusal));
    ASSERT_EQ(::link(QFile::encodeName(workbook).constData(), QFile::encodeName(folder + "/hard.pdf").constData()), 0);
    EXPECT_TRUE(outcome({"--export", workbook, "--pdf", folder + "/hard.pdf"}).startsWith(refusal));
    EXPECT_TRUE(outcome({"--export", workbook, "--picture", "x.png", "--pdf", folder + "/hard.pdf"})
                    .startsWith(refusal));

    // Different files pass, including a name that differs only in case.
    EXPECT_EQ(outcome({"--export", workbook, "--pdf", folder + "/week.pdf"}), "export");
    EXPECT_EQ(outcome({"--export", workbook, "--pdf", folder + "/WEEK.xls"}), "export");
    EXPECT_EQ(outcome({"--export", workbook, "--pdf", folder + "/sub/week.xls"}), "export");
}

TEST(CommandLine, EachMisuseOfTheProgramExitsTwoWithOneLineAndTouchesNothing)
{
    TestEnvironment env;
    const QString same = env.root() + "/same.png";
    const std::vector<std::pair<QStringList, QString>> misuses = {
        {{"--export", env.root() + "/a.xls", "--load-sample"}, "--export and --load-sample cannot be used together."},
        {{"--week", "W"}, "--week works only with --export or --pdf."},
        {{"--department", "Kitchen"}, "--department works only with --export or --pdf."},
        {{"--picture", env.root() + "/p.png"}, "--picture works only with --export."},
        {{"--interval", "hourly"}, "--interval works only with --load-sample or --export or --pdf."},
        {{"--load-sample", "--week", "W"}, "--week works only with --export or --pdf, not with --load-sample."},
        {{"--pdf", env.root() + "/a.pdf", "--picture", env.root() + "/p.png"}, "--picture works only with --export, not with --pdf."},
        {{"--pdf", same, "--export", same},
         QString("--export and --pdf name the same file (\"%1\"); each needs a file of its own.").arg(same)},
        {{"--export", same, "--picture", same},
         QString("--export and --picture name the same file (\"%1\"); each needs a file of its own.").arg(same)},
        {{"--load-sample", "extra"}, "Unexpected argument \"extra\": no option takes it. Try \"rostelle --help\"."},
        // Every file a command writes needs a name, whichever command writes it.
        {{"--export", env.root() + "/a.xls", "--picture", ""}, "--picture needs the path of the file to write."},
        {{"--export", env.root() + "/a.xls", "--pdf", " "}, "--pdf needs the path of the file to write."},
        {{"--pdf", ""}, "--pdf needs the path of the file to write."},
        {{"--export", ""}, "--export needs the path of the file to write."},
    };
    for (const auto& [arguments, line] : misuses) {
        const ProgramRun run = runProgram(env, arguments);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(arguments.join(' '));
        EXPECT_EQ(run.err, line + "\n") << qPrintable(arguments.join(' '));
        EXPECT_TRUE(run.out.isEmpty());
    }
    // Nothing ran: no database, no workbook, no picture.
    EXPECT_TRUE(QDir(env.dataHome()).isEmpty());
    EXPECT_TRUE(QDir(env.root(), "*.png").entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(env.root(), "*.xls").entryList(QDir::Files).isEmpty());
}

TEST(CommandLine, VersionPrintsTheProgramsVersion)
{
    TestEnvironment env;
    const ProgramRun run = runProgram(env, {"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QString("rostelle %1\n").arg(ROSTELLE_VERSION));
    EXPECT_TRUE(run.err.isEmpty());
}

TEST(CommandLine, APictureWithoutASessionPrintsOnlyItsOwnMessagesAndLeavesNoFolder)
{
    TestEnvironment env;
    const QString workbook = env.root() + "/week.xls";
    const QString picture = env.root() + "/week.png";
    const auto noSession = [](QProcessEnvironment& environment) { environment.remove("XDG_RUNTIME_DIR"); };
    ASSERT_EQ(runProgram(env, {"--load-sample"}, noSession).exitCode, 0);

    const ProgramRun run = runProgram(env, {"--export", workbook, "--picture", picture}, noSession);
    ASSERT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(QFile::exists(picture));
    EXPECT_EQ(QDir(env.tempDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());

    // A TMPDIR that names a missing folder is passed over for /tmp, as for every working file.
    const QString missing = env.root() + "/no-such-folder";
    const ProgramRun missingTemporary = runProgram(env, {"--export", workbook, "--picture", picture},
                                                   [&](QProcessEnvironment& environment) {
                                                       noSession(environment);
                                                       environment.insert("TMPDIR", missing);
                                                   });
    EXPECT_EQ(missingTemporary.exitCode, 0);
    EXPECT_EQ(missingTemporary.err, "");
    EXPECT_FALSE(QFileInfo::exists(missing));

    // A session's own runtime folder is used as it is.
    const QString runtime = env.root() + "/runtime";
    ASSERT_TRUE(QDir().mkdir(runtime));
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const ProgramRun inSession = runProgram(env, {"--export", workbook, "--picture", picture},
                                            [&](QProcessEnvironment& environment) {
                                                environment.insert("XDG_RUNTIME_DIR", runtime);
                                            });
    EXPECT_EQ(inSession.exitCode, 0);
    EXPECT_EQ(inSession.err, "");
    EXPECT_TRUE(QDir(runtime).isEmpty());
    EXPECT_TRUE(QDir(env.tempDir()).isEmpty());
}
