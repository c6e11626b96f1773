// The headless export: the workbook and the one-page PDF from the working database with the
// remembered or the given header texts and interval, its exit codes in the built program, and that
// it never writes the settings or a broken file.
#include "tests/report/ReportFixture.h"

#include "commands/ExportCommand.h"

#include "commands/CommandLine.h"
#include "app/ErrorReport.h"
#include "app/Paths.h"
#include "app/Settings.h"

#include "fileio/TestHooks.h"

#include "store/Connection.h"

#include "tests/support/PdfProbe.h"
#include "tests/support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <functional>
#include <vector>

using namespace commands;
using report_testing::ReportTest;
using testing_support::fileBytes;
using testing_support::writeFile;

namespace {

class ExportTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        const qint64 ann = addEmployee("Ann", "Cook");
        addShift(store::Weekday::Monday, ann, "08:00:00 AM", "10:00:00 AM");
        // The export opens the working database itself.
        store::shared().close();
    }
    QString settingsFile() const { return environment.configHome() + "/Tarrowby/Tarrowby.conf"; }
    // The workbook as the engine's reader sees it.
    std::string shown(const QString& path, const char* cell)
    {
        sheet::Application reader;
        return reader.Workbooks().Open(path.toStdString()).ActiveSheet().Range(cell).Text();
    }
    int runCommandLine(const QStringList& arguments)
    {
        commands::CommandLine commandLine({exportCommand(), pdfCommand()});
        // What the command line refuses ends the program as a usage error, before any command runs.
        if (!commandLine.parse(QStringList{"rostelle"} + arguments))
            return kExportBadUsage;
        if (!commandLine.command())
            return -1;
        return commandLine.command()->run(commandLine.parser());
    }
    QString target = QDir::tempPath() + "/week.xls";
};

TEST_F(ExportTest, UsesTheRememberedTextsAndIntervalAndNeverWritesTheSettings)
{
    app::Settings::setDepartment("Bar");
    app::Settings::setForAWeek("Week 50");
    app::Settings::setIntervalOptions(false, true, false);
    const QByteArray before = fileBytes(settingsFile());
    ASSERT_FALSE(before.isEmpty());

    EXPECT_EQ(runExport({target, {}, {}, {}, {}}), kExportDone);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(shown(target, "L1"), "Week 50");
    EXPECT_EQ(shown(target, "L2"), "Bar");
    EXPECT_EQ(shown(target, "D5"), "8:30:00 AM");
    EXPECT_EQ(shown(target, "C6"), "Cook");
    EXPECT_EQ(fileBytes(settingsFile()), before);
}

TEST_F(ExportTest, GivenTextsAndIntervalWinAndNoSettingsFileAppears)
{
    EXPECT_EQ(runCommandLine({"--export", target, "--week", "=Dec 7", "--department", "Hall", "--interval",
                              "15-minutes"}),
              kExportDone);
    EXPECT_EQ(shown(target, "L1"), "=Dec 7");
    EXPECT_EQ(shown(target, "L2"), "Hall");
    EXPECT_EQ(shown(target, "D5"), "8:15:00 AM");
    EXPECT_FALSE(QFile::exists(settingsFile()));
    EXPECT_EQ(QDir(QDir::tempPath()).entryList({"*.xls*"}, QDir::Files), QStringList{"week.xls"})
        << "no working files are left beside it";
}

TEST_F(ExportTest, WritesThePictureWhenAskedFor)
{
    const QString png = QDir::tempPath() + "/week.png";
    EXPECT_EQ(runCommandLine({"--export", target, "--picture", png}), kExportDone);
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 500);
}

TEST_F(ExportTest, UnusableOptionsAreUsageErrors)
{
    EXPECT_EQ(runCommandLine({"--export", target, "--interval", "weekly"}), kExportBadUsage);
    EXPECT_EQ(runCommandLine({"--export", target, "--picture", "week.gif"}), kExportBadUsage);
    EXPECT_EQ(runCommandLine({"--export", ""}), kExportBadUsage);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(ExportTest, AFailureIsReportedAndLeavesNoFileAndAnOldOneUntouched)
{
    EXPECT_EQ(runExport({QDir::tempPath() + "/no/such/folder/week.xls", {}, {}, {}, {}}), kExportFailed);
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_TRUE(dialogs.errorReports()[0].text.contains(app::errorSourceLabel("Main", "ExportSchedule") + "at line "));

    writeFile(target, "last week's schedule");
    writeFile(app::paths::workingDatabase(), QByteArray(4096, 'x'));
    dialogs.clear();
    EXPECT_EQ(runExport({target, {}, {}, {}, {}}), kExportFailed);
    EXPECT_FALSE(dialogs.errorReports().empty());
    EXPECT_EQ(fileBytes(target), "last week's schedule");
    EXPECT_EQ(sheet::Application::liveInstances(), 0);
}

TEST_F(ExportTest, APdfAloneIsTheSchedulesOneLandscapePageAndLeavesNothingElse)
{
    app::Settings::setForAWeek("Week 50");
    const QByteArray before = fileBytes(settingsFile());
    const QString pdf = QDir::tempPath() + "/week.pdf";
    EXPECT_EQ(runCommandLine({"--pdf", pdf, "--department", "Hall", "--interval", "half-hour"}), kExportDone);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join("\n").toStdString();
    const testing_support::PdfProbe probe(pdf);
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    EXPECT_EQ(probe.pages(), 1);
    EXPECT_GT(probe.pageSizePoints().width(), probe.pageSizePoints().height());
    for (const char* text : {"Week 50", "Hall", "Ann", "Cook", "8:30:00 AM", "TOTAL"})
        EXPECT_TRUE(probe.text().contains(text)) << text;
    EXPECT_EQ(QDir(QDir::tempPath()).entryList(QDir::Files), QStringList{"week.pdf"}) << "no workbook, no working files";
    EXPECT_EQ(fileBytes(settingsFile()), before);
}

TEST_F(ExportTest, TheWorkbookAndThePdfComeFromOneBuild)
{
    const QString pdf = QDir::tempPath() + "/week.pdf";
    EXPECT_EQ(runCommandLine({"--export", target, "--pdf", pdf, "--week", "Week 9"}), kExportDone);
    EXPECT_EQ(shown(target, "L1"), "Week 9");
    EXPECT_EQ(shown(target, "C6"), "Cook");
    const testing_support::PdfProbe probe(pdf);
    EXPECT_EQ(probe.pages(), 1);
    EXPECT_TRUE(probe.text().contains("Week 9"));
    EXPECT_TRUE(probe.text().contains("Cook"));

    // The one build is refused as a whole: a broken database writes neither file.
    QFile::remove(target);
    QFile::remove(pdf);
    writeFile(app::paths::workingDatabase(), QByteArray(4096, 'x'));
    EXPECT_EQ(runCommandLine({"--export", target, "--pdf", pdf}), kExportFailed);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ExportTest, APdfThatCannotBeWrittenIsReportedAndTheOldOneStaysWhole)
{
    const QString pdf = QDir::tempPath() + "/week.pdf";
    writeFile(pdf, "last week's PDF");
    fileio::test_hooks::setFault([](fileio::test_hooks::Step step) { return step == fileio::test_hooks::Step::Sync ? EIO : 0; });
    EXPECT_EQ(runCommandLine({"--pdf", pdf}), kExportFailed);
    fileio::test_hooks::setFault({});
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_TRUE(dialogs.errorReports()[0].text.startsWith(QStringLiteral("The PDF cannot be saved as \"%1\": Input/output error").arg(pdf)));
    EXPECT_TRUE(dialogs.errorReports()[0].text.contains(app::errorSourceLabel("Main", "ExportPdf") + "at line 100"));
    EXPECT_EQ(fileBytes(pdf), "last week's PDF");
    EXPECT_EQ(QDir(QDir::tempPath()).entryList(QDir::Files | QDir::Hidden), QStringList{"week.pdf"});

    EXPECT_EQ(runCommandLine({"--pdf", "  "}), kExportBadUsage);
    EXPECT_EQ(runCommandLine({"--pdf", pdf, "--interval", "weekly"}), kExportBadUsage);
    EXPECT_EQ(runExport({{}, QDir::tempPath() + "/week.png", {}, {}, {}, pdf, true}), kExportBadUsage);
    EXPECT_EQ(fileBytes(pdf), "last week's PDF");
}

TEST_F(ExportTest, APdfOrPictureThatCannotBeWrittenLeavesTheWorkbookAsItWas)
{
    using fileio::test_hooks::Step;
    const QString folder = QDir::tempPath();
    const QString pdf = folder + "/week.pdf";
    const QString png = folder + "/week.png";
    // Fails the n-th time the step is reached: the workbook is written first, then the PDF, then
    // the picture.
    const auto failAt = [](Step step, int n) {
        return [step, n, count = 0](Step at) mutable { return at == step && ++count == n ? EIO : 0; };
    };
    struct Case {
        const char* what;
        QStringList files;
        std::function<int(Step)> fault;
    };
    const std::vector<Case> cases{
        {"a PDF in a missing folder reached through ..", {"--pdf", folder + "/missing/../week.pdf"}, {}},
        {"a picture in a missing folder reached through ..", {"--picture", folder + "/missing/../week.png"}, {}},
        {"a PDF that cannot be synced", {"--pdf", pdf}, failAt(Step::Sync, 2)},
        {"a picture that cannot be synced", {"--picture", png}, failAt(Step::Sync, 2)},
        {"the last file failing to go in place", {"--pdf", pdf, "--picture", png}, failAt(Step::Commit, 3)},
    };
    for (const QByteArray& before : {QByteArray(), QByteArray("last week's schedule")}) {
        for (const Case& failing : cases) {
            SCOPED_TRACE(std::string(failing.what) + (before.isEmpty() ? ", no workbook before" : ", a workbook before"));
            QFile::remove(target);
            if (!before.isEmpty())
                writeFile(target, before);
            fileio::test_hooks::setFault(failing.fault);
            EXPECT_EQ(runCommandLine(QStringList{"--export", target} + failing.files), kExportFailed);
            fileio::test_hooks::setFault({});
            EXPECT_FALSE(dialogs.errorReports().empty());
            dialogs.clear();
            EXPECT_EQ(QFile::exists(target), !before.isEmpty());
            if (!before.isEmpty())
                EXPECT_EQ(fileBytes(target), before);
            const QStringList expected = before.isEmpty() ? QStringList() : QStringList{"week.xls"};
            EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), expected) << "no PDF, picture or temporary file";
        }
    }

    // The program in a folder it may not write, as a user without root's rights runs it.
    if (!testing_support::canDropOverrideRights())
        return;
    const QString locked = folder + "/locked";
    ASSERT_TRUE(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::ExeOther);
    writeFile(target, "last week's schedule");
    for (const QString& option : {QStringLiteral("--pdf"), QStringLiteral("--picture")}) {
        SCOPED_TRACE(option.toStdString());
        const QString file = locked + (option == "--pdf" ? "/week.pdf" : "/week.png");
        const auto run = testing_support::startProgram(environment, {{"--export", target, option, file}, {}, true});
        const testing_support::ProgramRun result = testing_support::finish(*run);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.err.contains(target + " was not written.")) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(file + " was not written.")) << result.err.toStdString();
        EXPECT_EQ(fileBytes(target), "last week's schedule");
        EXPECT_TRUE(QDir(locked).isEmpty());
    }
}

TEST_F(ExportTest, AFreshMachineGetsTheDatabaseMadeAndAnEmptySchedule)
{
    QFile::remove(app::paths::workingDatabase());
    EXPECT_EQ(runExport({target, {}, QString("W"), QString("D"), schedule::Interval::Hourly}), kExportDone);
    EXPECT_TRUE(QFile::exists(app::paths::workingDatabase()));
    EXPECT_EQ(shown(target, "B4"), "Monday");
    EXPECT_EQ(shown(target, "C5"), "7:00:00 AM");
    EXPECT_EQ(shown(target, "B6"), "Tuesday");
}

TEST_F(ExportTest, TheProgramExitsZeroOnSuccessOneOnFailureTwoOnBadUsage)
{
    const auto run = [&](const QStringList& arguments, QString* errors = nullptr) {
        const testing_support::ProgramRun result = testing_support::runProgram(environment, arguments);
        if (errors)
            *errors = result.err;
        return result.exitCode;
    };
    const QString picture = QDir::tempPath() + "/week.bmp";
    EXPECT_EQ(run({"--export", target, "--picture", picture, "--interval", "half-hour"}), 0);
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(QImage(picture).isNull());

    const QString pdf = QDir::tempPath() + "/week.pdf";
    EXPECT_EQ(run({"--pdf", pdf, "--week", "Week 9"}), 0);
    EXPECT_TRUE(QFile::exists(pdf));

    QString errors;
    EXPECT_EQ(run({"--pdf", QDir::tempPath() + "/missing/week.pdf"}, &errors), 1);
    EXPECT_TRUE(errors.contains("in Rostellix2021/08/31.Main.ExportPdf at line 100")) << errors.toStdString();
    EXPECT_EQ(run({"--pdf", pdf, "--picture", picture}, &errors), 2);
    EXPECT_EQ(run({"--export", target, "--interval", "weekly"}, &errors), 2);
    EXPECT_TRUE(errors.contains("weekly")) << errors.toStdString();
    EXPECT_EQ(run({"--export", QDir::tempPath() + "/missing/week.xls"}, &errors), 1);
    EXPECT_TRUE(errors.contains("Application Error")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("in Rostellix2021/08/31.Main.ExportSchedule at line ")) << errors.toStdString();
}

}  // namespace

TEST_F(ExportTest, ATextTheWorkbookCannotHoldIsRefusedOnEveryRoadWithTheSameWords)
{
    const QString pdf = QDir::tempPath() + "/week.pdf";
    const QString week(40000, QLatin1Char('w'));
    for (const QStringList& road : {QStringList{"--export", target}, QStringList{"--pdf", pdf},
                                    QStringList{"--export", target, "--pdf", pdf}}) {
        SCOPED_TRACE(road.join(' ').toStdString());
        dialogs.clear();
        EXPECT_EQ(runCommandLine(road + QStringList{"--week", week}), kExportFailed);
        ASSERT_EQ(dialogs.errorReports().size(), 1u) << dialogs.texts().join("\n").toStdString();
        EXPECT_TRUE(dialogs.errorReports()[0].text.contains("is longer than 32767 characters"));
        EXPECT_FALSE(QFile::exists(target));
        EXPECT_FALSE(QFile::exists(pdf));
    }
    EXPECT_EQ(runCommandLine({"--pdf", pdf, "--week", QString(32767, QLatin1Char('w'))}), kExportDone);
}
