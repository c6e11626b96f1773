// The report driver: the start button's question, the build from click to picture, the working
// workbook's name, shape and content, the file format number, and a roster too large to hold.
#include "tests/report/ReportFixture.h"

#include "report/Automation.h"
#include "report/FileFormat.h"
#include "report/Instances.h"
#include "report/ReportDriver.h"
#include "report/RosterLimit.h"
#include "report/WorkingFiles.h"

#include "app/Dialogs.h"
#include "app/ErrorReport.h"

#include "sheet/model/Constants.h"
#include "sheet/render/Renderer.h"

#include "store/Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace report;
using namespace report::EmployeeShiftSchedule;
using report_testing::RecordingHost;
using report_testing::ReportTest;
using report_testing::temporaryFiles;

namespace {

const QRegularExpression kWorkingName(QStringLiteral("^tquill[1-9]{8}\\.xls$"));

class DriverTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        const qint64 ann = addEmployee("Ann", "Cook");
        addShift(store::Weekday::Monday, ann, "08:00:00 AM", "12:00:00 PM");
    }
    void TearDown() override
    {
        setWorkingNameDigits({});
        ReportTest::TearDown();
    }
    RecordingHost host;
};

TEST_F(DriverTest, WithoutAnotherInstanceTheButtonBuildsAtOnceAndHandsOver)
{
    ASSERT_EQ(sheet::Application::liveInstances(), 0);
    startButtonClick(host);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(host.calls, (QStringList{"busy", "busy", "default", "picture", "workbook", "show preview", "hide main",
                                       "default"}));
    EXPECT_EQ(sheet::Application::liveInstances(), 0) << "both instances are gone";
    EXPECT_EQ(xlAppOrNull(), nullptr);
    // Progress after each weekday's headers and each employee row, then saving and picturing.
    QStringList progress;
    for (const store::Weekday day : store::allWeekdays)
        progress << store::weekdayCaption(day) + " 0/1" << store::weekdayCaption(day) + " 1/1";
    EXPECT_EQ(host.progress, progress << "saving" << "picturing");

    const QStringList files = temporaryFiles();
    ASSERT_EQ(files.size(), 1) << files.join(", ").toStdString();
    EXPECT_TRUE(kWorkingName.match(files[0]).hasMatch()) << files[0].toStdString();
    EXPECT_EQ(host.previewWorkbook, QDir::tempPath() + "/" + files[0]);
    EXPECT_GT(host.pictureSize.width(), 500);
    EXPECT_GT(host.pictureSize.height(), 200);
    EXPECT_TRUE(host.pictureHandedOver);
    EXPECT_TRUE(host.handedOverAsTheFileHoldsIt) << "the preview shows what the bitmap holds";
    EXPECT_FALSE(QFile::exists(bitmapPath()));
}

TEST_F(DriverTest, ABitmapThatCannotBeWrittenIsReportedAndThePreviewOpensWithoutAPicture)
{
    ASSERT_TRUE(QDir().mkpath(bitmapPath()));  // a folder where the bitmap goes
    startButtonClick(host);
    const auto reports = errorReports();
    ASSERT_EQ(reports.size(), 2u) << dialogs.texts().join("\n").toStdString();
    EXPECT_TRUE(reports[0].text.contains(app::errorSourceLabel("Excel1", "saveCellsActivesheet") + "at line 114"));
    EXPECT_TRUE(reports[1].text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "GenerateReport0") + "at line 168"));
    EXPECT_FALSE(host.pictureHandedOver);
    EXPECT_TRUE(host.calls.contains("show preview"));
    EXPECT_TRUE(host.calls.contains("hide main"));
    EXPECT_TRUE(QFileInfo(bitmapPath()).isDir()) << "the folder is not the driver's to delete";
}

TEST_F(DriverTest, TheWorkingWorkbookOpensWithOneSheetActiveAndB6Selected)
{
    const QString path = GenerateReport0(host);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_TRUE(errorReports().empty());

    sheet::Application reader;
    const sheet::Workbook book = reader.Workbooks().Open(path.toStdString());
    ASSERT_EQ(book.Sheets().count(), 1);
    EXPECT_EQ(book.ActiveSheet().name(), "Shift Schedule");
    EXPECT_EQ(book.ActiveSheet().ActiveCell().Address(), "B6");
    EXPECT_EQ(book.ActiveSheet().Selection().Address(), "B6");
    EXPECT_EQ(book.ActiveSheet().Range("C5").Text(), "8:00:00 AM");
    EXPECT_EQ(book.ActiveSheet().Range("C6").Text(), "Cook");
    EXPECT_EQ(book.ActiveSheet().PageSetup().PaperSize(), sheet::xlPaperA4);
}

TEST_F(DriverTest, WithAnotherInstanceAliveTheUserIsAskedFirst)
{
    sheet::Application other;
    const sheet::Workbook othersBook = other.Workbooks().add();
    othersBook.ActiveSheet().Range("A1").setFormulaR1C1("mine");

    dialogs.answers = {app::msg::kNo};
    startButtonClick(host);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Excel may be open. It is recommended that you close Excel first.\r"
              "Use Ctrl+Alt+Del > Task Manager > EXCEL.EXE if necessary.\r\n\r\n"
              "Would you like to proceed anyway?");
    EXPECT_EQ(dialogs.messages[0].style, app::msg::kYesNo);
    EXPECT_EQ(dialogs.messages[0].title, app::applicationTitle());
    EXPECT_TRUE(host.calls.isEmpty()) << "No changes nothing, not even the pointer";
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_EQ(sheet::Application::liveInstances(), 1);

    dialogs.answers = {app::msg::kYes};
    startButtonClick(host);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(temporaryFiles().size(), 1);
    EXPECT_TRUE(host.calls.contains("show preview"));
    EXPECT_FALSE(other.hasQuit()) << "the other instance keeps running";
    EXPECT_EQ(other.Workbooks().count(), 1);
    EXPECT_EQ(othersBook.ActiveSheet().Range("A1").Text(), "mine");
    EXPECT_EQ(sheet::Application::liveInstances(), 1);
}

TEST_F(DriverTest, IsExcelRunningSeesOnlyLiveInstances)
{
    EXPECT_FALSE(Excel1::IsExcelRunning());
    EXPECT_FALSE(Excel1::CancelIfExcelOpen());
    {
        sheet::Application alive;
        EXPECT_TRUE(Excel1::IsExcelRunning());
        alive.Quit();
        EXPECT_FALSE(Excel1::IsExcelRunning());
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DriverTest, ANameWhoseFileExistsIsDrawnAgain)
{
    const QString taken = QDir::tempPath() + "/tquill11111111.xls";
    testing_support::writeFile(taken, "someone else's");

    int calls = 0;
    setWorkingNameDigits([&] { return calls++ < 8 ? 1 : 2; });
    const QString path = GenerateReport0(host);
    EXPECT_EQ(path, QDir::tempPath() + "/tquill22222222.xls");
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(testing_support::fileBytes(taken), "someone else's");
}

TEST_F(DriverTest, WorkingNamesHaveFourteenCharactersWithoutZeroBeforeTheExtension)
{
    for (int i = 0; i < 200; ++i) {
        const QFileInfo path(newWorkingWorkbookPath());
        EXPECT_TRUE(kWorkingName.match(path.fileName()).hasMatch()) << path.fileName().toStdString();
        EXPECT_EQ(path.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    }
    EXPECT_EQ(bitmapPath(), QDir::tempPath() + "/temp.bmp");
}

TEST_F(DriverTest, WorkingNamesGoToTmpWhenTmpdirNamesNoFolder)
{
    // The fixture's environment puts TMPDIR back afterwards.
    qputenv("TMPDIR", QFile::encodeName(environment.root() + "/missing"));
    EXPECT_TRUE(kWorkingName.match(QFileInfo(newWorkingWorkbookPath()).fileName()).hasMatch());
    EXPECT_EQ(QFileInfo(newWorkingWorkbookPath()).path(), QStringLiteral("/tmp"));
    EXPECT_EQ(bitmapPath(), QStringLiteral("/tmp/temp.bmp"));
}

TEST_F(DriverTest, OlderVersionsGetTheOlderFileFormatNumberWhateverTheSeparator)
{
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::French, QLocale::France)}) {
        const std::string name = locale.name().toStdString();
        for (const char* version : {"11.0", "11,0"})
            EXPECT_EQ(ExcelFileFormatForVersion(version, locale), sheet::xlWorkbookNormal) << name << " " << version;
        for (const char* version : {"12.0", "14.0", "16.0", "12,0", "16,0"})
            EXPECT_EQ(ExcelFileFormatForVersion(version, locale), sheet::xlExcel8) << name << " " << version;
    }
    EXPECT_EQ(LocalDecimalSeparator(QLocale::c()), ".");
    EXPECT_EQ(LocalDecimalSeparator(QLocale(QLocale::German, QLocale::Germany)), ",");
    EXPECT_ANY_THROW(ExcelFileFormatForVersion("sixteen", QLocale::c()));
}

TEST_F(DriverTest, WithoutAnApplicationOneIsStartedAndQuitJustToAskForTheFileFormat)
{
    ASSERT_EQ(sheet::Application::liveInstances(), 0);
    EXPECT_EQ(ExcelFileFormat(nullptr), sheet::xlExcel8);
    EXPECT_EQ(sheet::Application::liveInstances(), 0);
}

TEST_F(DriverTest, AFailingBuildIsReportedAndStillSavedAndQuit)
{
    store::shared().close();
    const QString path = GenerateReport0(host);
    const auto reports = errorReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(reports[0].text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "GenerateReport0") + "at line 100"));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(sheet::Application::liveInstances(), 0);
    EXPECT_TRUE(host.calls.contains("hide main"));
}

TEST_F(DriverTest, ARosterTooLargeForOneSheetIsRefusedBeforeAnythingIsWritten)
{
    EXPECT_EQ(lastScheduleRow(maxScheduleEmployees()), 65532);
    EXPECT_LE(lastScheduleRow(maxScheduleEmployees()), sheet::kMaxRows);
    EXPECT_GT(lastScheduleRow(maxScheduleEmployees() + 1), sheet::kMaxRows);

    addStaff(static_cast<int>(maxScheduleEmployees()));  // one is there already

    startButtonClick(host);
    const auto reports = errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.startsWith("The schedule cannot be made: 9360 employees need 65539 rows"));
    EXPECT_TRUE(reports[0].text.contains(app::errorSourceLabel("EmployeeShiftSchedule", "GenerateReport0") + "at line 100"));
    EXPECT_TRUE(temporaryFiles().isEmpty());
    EXPECT_EQ(host.calls, (QStringList{"busy", "default"}));
    EXPECT_EQ(sheet::Application::liveInstances(), 0);
    EXPECT_EQ(xlAppOrNull(), nullptr);
}

TEST_F(DriverTest, ARosterPastTheOldCellLimitsIsBuiltSavedPicturedAndReadBack)
{
    // A shift over the whole day at 15 minutes gives every weekday 96 time columns: the sheet
    // holds more than the 2,000,000 cells the reader once refused, and its picture more than the
    // million the renderer once refused.
    const int employees = 2900 + 1;  // with the fixture's own
    addStaff(employees - 1, "12:00:00 AM", "11:45:00 PM");
    host.chosen = Interval::FifteenMinutes;
    const QString path = GenerateReport0(host);
    EXPECT_TRUE(errorReports().empty()) << dialogs.texts().join("\n").toStdString();
    EXPECT_EQ(host.calls.filter("show preview").size(), 1);

    // Pictured scaled down to fit the picture limits, not refused.
    EXPECT_TRUE(host.pictureHandedOver);
    EXPECT_GT(host.pictureSize.height(), 1000);
    EXPECT_LE(host.pictureSize.height(), sheet::render::kMaxPictureSide);
    EXPECT_LE(static_cast<long long>(host.pictureSize.width()) * host.pictureSize.height(),
              sheet::render::kMaxPicturePixels);

    sheet::Application reader;
    const sheet::Worksheet read = reader.Workbooks().Open(path.toStdString()).ActiveSheet();
    const sheet::Range used = read.UsedRange();
    EXPECT_GT(static_cast<long long>(used.Rows().count()) * used.Columns().count(), 2'000'000);
    // Sunday's header row comes after six blocks of a header row, the employees and two closing
    // rows, its title above it; its time columns run from C (12:00 AM) to CT (11:45 PM), then
    // "Sick?" and "TOTAL".
    const int sunday = 5 + 6 * (employees + 2);
    const int last = sunday + employees;
    EXPECT_EQ(read.Range("B" + std::to_string(sunday - 1)).Text(), "Sunday");
    EXPECT_EQ(read.Range("CT" + std::to_string(sunday)).Text(), "11:45:00 PM");
    EXPECT_EQ(read.Range("CV" + std::to_string(sunday)).Text(), "TOTAL");
    EXPECT_EQ(read.Range("B" + std::to_string(last)).Text(), "Employee 02900");
    EXPECT_EQ(read.Range("C" + std::to_string(last)).Text(), "Staff");
    EXPECT_EQ(read.Range("CT" + std::to_string(last)).Text(), "Staff");
    EXPECT_EQ(read.Range("CU" + std::to_string(last)).Text(), "");
    EXPECT_EQ(read.Range("CV" + std::to_string(last)).Text(), "1");
}

}  // namespace
