// The report driver's sequence. Every statement is trapped, so a failure while building still
// leads to restoring the instance's settings, saving, closing and quitting: no instance is left
// running. Only a roster the sheet cannot hold stops the run before anything starts.
#include "report/ReportDriver.h"

#include "report/Automation.h"
#include "report/FileFormat.h"
#include "report/Instances.h"
#include "report/RosterLimit.h"
#include "report/ScheduleSheet.h"
#include "report/Snapshot.h"
#include "report/WorkingFiles.h"

#include "app/FileNames.h"
#include "app/HeldFiles.h"
#include "app/Helpers.h"
#include "app/Trap.h"

#include "sheet/model/Constants.h"

#include <memory>
#include <optional>

namespace report {
namespace EmployeeShiftSchedule {
namespace {

std::function<int()> g_workingNameDigits;

// The object an optional or owning holder keeps; an empty holder fails with the given words.
template <class Holder>
auto& held(Holder& object, const char* whenMissing)
{
    if (!object)
        throw app::Failure(QString::fromUtf8(whenMissing));
    return *object;
}

constexpr const char* kNoSecondInstance = "The spreadsheet instance for the picture did not start.";
constexpr const char* kNotReopened = "The saved working workbook is not open for the picture.";

}  // namespace

void setWorkingNameDigits(std::function<int()> drawDigit) { g_workingNameDigits = std::move(drawDigit); }

QString GenerateReport0(ReportHost& host)
{
    app::Trap trap(QStringLiteral("EmployeeShiftSchedule"), QStringLiteral("GenerateReport0"));
    int extraSheets = 0;
    QString path;
    const QString bitmap = bitmapPath();
    std::unique_ptr<sheet::Application> second;
    std::optional<sheet::Workbook> secondBook;
    QImage picture;  // what the bitmap holds, handed to the preview without reading it back

    // A roster the sheet cannot hold is refused before any instance starts or any file is written.
    if (rosterRefused(trap, 100))
        return QString();

    trap(102, [] { LoadExcel(); });
    trap(104, [] { xlApp().setVisible(false); });
    trap(106, [] { xlApp().setScreenUpdating(false); });
    trap(108, [] { xlApp().setDisplayAlerts(false); });
    trap(110, [] { xlApp().setEnableEvents(false); });
    trap(112, [] { xlApp().setEnableCancelKey(sheet::xlDisabled); });
    trap(114, [] { xlApp().setCursor(sheet::xlWait); });
    trap(116, [] { setWorkingWorkbook(xlApp().Workbooks().add()); });
    trap(118, [&] { extraSheets = xlApp().Sheets().count() - 1; });
    for (int i = 1; i <= extraSheets; ++i)
        trap(120, [] { xlApp().Sheets().item(2).Delete(); });
    trap(122, [] { xlApp().Sheets().item(xlApp().Sheets().count()).setName("Shift Schedule"); });
    trap(124, [&] { GenerateReport(host, [&host](const BuildProgress& reached) { host.buildProgress(reached); }); });
    trap(126, [] { xlApp().Sheets().item(1).Select(); });
    trap(128, [] { xlApp().Range("B6").Select(); });
    trap(130, [] { xlApp().setCursor(sheet::xlDefault); });
    trap(132, [] { xlApp().setScreenUpdating(true); });
    trap(134, [] { xlApp().setDisplayAlerts(true); });
    trap(136, [] { xlApp().setEnableEvents(true); });
    trap(138, [] { xlApp().setEnableCancelKey(sheet::xlInterrupt); });
    host.buildProgress({BuildProgress::Stage::Saving});
    trap(140, [&] { path = newWorkingWorkbookPath(g_workingNameDigits); });
    trap(142, [&] {
        workingWorkbook().SaveAs(app::toSystemBytes(path), ExcelFileFormat(&xlApp()));
        app::holdFile(path);
    });
    trap(144, [] { xlApp().setDisplayAlerts(false); });
    trap(146, [] { workingWorkbook().Close(); });
    trap(148, [] { xlApp().Quit(); });
    trap(150, [] { ReleaseExcel(); });
    host.buildProgress({BuildProgress::Stage::Picturing});
    trap(152, [&] { second = Excel1::OpenInNewExcel(path); });
    trap(154, [&] { host.setBusyPointer(true); });
    trap(156, [&] {
        sheet::Application& b = held(second, kNoSecondInstance);
        secondBook = b.Workbooks().item(b.Workbooks().count());
    });
    trap(158, [&] {
        picture = Excel1::saveCellsActivesheet(held(secondBook, kNotReopened), bitmap, sheet::render::FileLife::Working);
    });
    trap(160, [&] { held(second, kNoSecondInstance).setDisplayAlerts(false); });
    trap(162, [&] { held(secondBook, kNotReopened).Close(); });
    trap(164, [&] { held(second, kNoSecondInstance).Quit(); });
    second.reset();
    trap(166, [&] { host.setBusyPointer(false); });
    trap(168, [&] { host.loadPreviewPicture(bitmap, picture); });
    trap(170, [&] { host.setPreviewWorkbook(path); });
    trap(172, [&] { host.showPreview(); });
    trap(174, [&] { host.hideMainWindow(); });
    trap(176, [&] { app::DeleteFileForced(bitmap); });
    return path;
}

}  // namespace EmployeeShiftSchedule

void startButtonClick(ReportHost& host)
{
    app::Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton22_Click"));
    if (trap.test(100, [] { return Excel1::CancelIfExcelOpen(); }))
        return;
    trap(102, [&] { host.setBusyPointer(true); });
    trap(104, [&] { EmployeeShiftSchedule::GenerateReport0(host); });
    trap(106, [&] { host.setBusyPointer(false); });
}

}  // namespace report
