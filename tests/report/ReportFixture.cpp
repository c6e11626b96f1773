#include "tests/report/ReportFixture.h"

#include "report/Automation.h"

#include "app/DataSetup.h"
#include "app/Paths.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QProcess>

namespace report_testing {

void RecordingHost::setBusyPointer(bool busy) { calls << (busy ? QStringLiteral("busy") : QStringLiteral("default")); }

void RecordingHost::buildProgress(const report::BuildProgress& reached)
{
    switch (reached.stage) {
    case report::BuildProgress::Stage::Drawing:
        progress << QStringLiteral("%1 %2/%3").arg(store::weekdayCaption(reached.day)).arg(reached.employeesDone).arg(reached.employees);
        break;
    case report::BuildProgress::Stage::Saving:
        progress << QStringLiteral("saving");
        break;
    case report::BuildProgress::Stage::Picturing:
        progress << QStringLiteral("picturing");
        break;
    }
}

void RecordingHost::loadPreviewPicture(const QString& picturePath, const QImage& written)
{
    calls << QStringLiteral("picture");
    const QImage file(picturePath);
    pictureHandedOver = !written.isNull();
    if (pictureHandedOver) {
        handedOverAsTheFileHoldsIt =
            !file.isNull() && file.convertToFormat(QImage::Format_RGB32) == written.convertToFormat(QImage::Format_RGB32);
        pictureSize = written.size();
        return;
    }
    if (file.isNull())
        throw std::runtime_error("File not found: " + picturePath.toStdString());
    pictureSize = file.size();
}

void RecordingHost::setPreviewWorkbook(const QString& workbookPath)
{
    calls << QStringLiteral("workbook");
    previewWorkbook = workbookPath;
}

void RecordingHost::showPreview() { calls << QStringLiteral("show preview"); }
void RecordingHost::hideMainWindow() { calls << QStringLiteral("hide main"); }

void ReportTest::SetUp()
{
    app::paths::setProgramFolder(QFileInfo(QStringLiteral(ROSTELLE_TEMPLATE_DATABASE)).absolutePath());
    QDir().mkpath(app::paths::dataFolder());
    app::copyTemplateDatabase(app::paths::templateDatabase(), app::paths::workingDatabase());
    store::shared().open(app::paths::workingDatabase());
}

void ReportTest::TearDown()
{
    report::EmployeeShiftSchedule::ReleaseExcel();
    store::shared().close();
    app::paths::setProgramFolder(QString());
}

qint64 ReportTest::addEmployee(const QString& name, const QString& position)
{
    return store::insertEmployee(store::shared(), name, position);
}

void ReportTest::addShift(store::Weekday day, qint64 employee, const QString& timeIn, const QString& timeOut)
{
    store::insertShift(store::shared(), day, employee, timeIn, timeOut);
}

void ReportTest::addStaff(int employees, const QString& timeIn, const QString& timeOut)
{
    store::shared().execute("begin");
    for (int i = 1; i <= employees; ++i) {
        const qint64 id = addEmployee(QStringLiteral("Employee %1").arg(i, 5, 10, QLatin1Char('0')), "Staff");
        if (!timeIn.isEmpty())
            for (const store::Weekday day : store::allWeekdays)
                addShift(day, id, timeIn, timeOut);
    }
    store::shared().execute("commit");
}

void ReportTest::startWorkbook()
{
    using namespace report::EmployeeShiftSchedule;
    LoadExcel();
    setWorkingWorkbook(xlApp().Workbooks().add());
    while (xlApp().Sheets().count() > 1)
        xlApp().Sheets().item(2).Delete();
}

sheet::Worksheet ReportTest::sheet() const { return report::EmployeeShiftSchedule::xlApp().ActiveSheet(); }

QString ReportTest::text(const QString& cell) const
{
    return QString::fromStdString(sheet().Range(cell.toStdString()).Text());
}

int ReportTest::fill(const QString& cell) const { return sheet().Range(cell.toStdString()).Interior().ColorIndex(); }

QJsonObject readWithXlrd(const QString& path, QString* error)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(ROSTELLE_REPORT_TEST_DIR "/read_workbook.py"), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(python.readAllStandardError());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QStringList temporaryFiles() { return QDir(QDir::tempPath()).entryList(QDir::Files, QDir::Name); }

std::string intervalTestName(const ::testing::TestParamInfo<report::Interval>& info)
{
    switch (info.param) {
    case report::Interval::Hourly:
        return "Hourly";
    case report::Interval::HalfHour:
        return "HalfHour";
    case report::Interval::FifteenMinutes:
        break;
    }
    return "FifteenMinutes";
}

}  // namespace report_testing
