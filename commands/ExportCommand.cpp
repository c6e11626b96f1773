// The headless export. The same build as the start button's, saved straight to the file the
// caller names; the PDF, when asked for, is printed from that same build; the picture, when asked
// for, is made from the saved file as the preview's is. The files are put in place together once
// all of them are written.
#include "commands/ExportCommand.h"

#include "report/Automation.h"
#include "report/FileFormat.h"
#include "report/Instances.h"
#include "report/ReportHost.h"
#include "report/RosterLimit.h"
#include "report/ScheduleSheet.h"

#include "commands/ExportPainting.h"

#include "app/DataSetup.h"
#include "app/Dialogs.h"
#include "app/FileNames.h"
#include "app/Helpers.h"
#include "app/Paths.h"
#include "app/StoreChoice.h"
#include "app/ProtectedFiles.h"
#include "app/Trap.h"
#include "app/VisibleText.h"

#include "sheet/model/Constants.h"

#include "fileio/StagedWrites.h"

#include "store/Connection.h"
#include "store/ReportQueries.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace commands {
namespace {

namespace ess = report::EmployeeShiftSchedule;
namespace Excel1 = report::Excel1;
using report::FixedScheduleInputs;
using report::rosterRefused;

// Passes every message on to the dialogs in force (stderr without a window) and counts them, so
// that any report turns into a failing exit code.
class CountingDialogs final : public app::Dialogs {
public:
    CountingDialogs() : previous_(&app::dialogs()) { app::setDialogs(this); }
    ~CountingDialogs() override { app::setDialogs(previous_); }
    int messageBox(const QString& text, int style, const QString& title) override
    {
        ++messages_;
        return previous_->messageBox(text, style, title);
    }
    QString saveFileName(const QString& title, const QString& filter) override
    {
        return previous_->saveFileName(title, filter);
    }
    bool printDialog(QPrinter& printer, const QString& title) override { return previous_->printDialog(printer, title); }
    int chooseOne(const QString& title, const QString& text, const QStringList& items, int current) override
    {
        return previous_->chooseOne(title, text, items, current);
    }
    int messages() const { return messages_; }

private:
    app::Dialogs* previous_;
    int messages_ = 0;
};

// Options the export and the PDF command share, declared alike for both.
QCommandLineOption weekOption()
{
    return QCommandLineOption(QStringLiteral("week"),
                              QStringLiteral("With --export or --pdf: the week text (default: the remembered one)."),
                              QStringLiteral("text"));
}

QCommandLineOption departmentOption()
{
    return QCommandLineOption(QStringLiteral("department"),
                              QStringLiteral("With --export or --pdf: the department (default: the remembered one)."),
                              QStringLiteral("text"));
}

QCommandLineOption intervalOption()
{
    return QCommandLineOption(QStringLiteral("interval"),
                              QStringLiteral("Time interval: hourly, half-hour or 15-minutes (default: the remembered one)."),
                              QStringLiteral("interval"));
}

QCommandLineOption pdfOption()
{
    return QCommandLineOption(
        QStringLiteral("pdf"),
        QStringLiteral("Write the weekly schedule as a PDF, without a window (with --export: from the same build)."),
        QStringLiteral("file"));
}

QCommandLineOption pagesOption()
{
    return QCommandLineOption(QStringLiteral("pages"),
                              QStringLiteral("With --pdf: the page layout, one (the sheet's page setup, the default) or "
                                             "width (one A4 landscape page wide, as many tall as needed)."),
                              QStringLiteral("layout"));
}

// The PDF of the built workbook's active sheet, written whole or not at all.
void ExportPdf(const sheet::Workbook& workbook, const QString& path, sheet::render::PageFit fit)
{
    app::Trap trap(QStringLiteral("Main"), QStringLiteral("ExportPdf"));
    trap(100, [&] { painting::savePdf(workbook, path, fit); });
}

bool isPictureName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QStringLiteral("bmp") || suffix == QStringLiteral("png");
}

void usageError(const QString& text) { std::fprintf(stderr, "%s\n", qUtf8Printable(app::visibleText(text))); }

// Says why, when a file the export would write is refused: found before anything is built, so a
// refused target costs nothing and nothing is written.
bool targetRefused(const QString& path)
{
    const std::optional<QString> refusal = path.isEmpty() ? std::nullopt : app::writeRefusal(path);
    if (refusal)
        usageError(*refusal + QLatin1Char('.'));
    return refusal.has_value();
}

// Week, department and interval as given on the command line; false after a usage error.
bool readHeaderOptions(const QCommandLineParser& parser, ExportRequest& request)
{
    if (parser.isSet(QStringLiteral("week")))
        request.week = parser.value(QStringLiteral("week"));
    if (parser.isSet(QStringLiteral("department")))
        request.department = parser.value(QStringLiteral("department"));
    if (parser.isSet(QStringLiteral("interval"))) {
        request.interval = schedule::intervalFromWord(parser.value(QStringLiteral("interval")));
        if (!request.interval) {
            usageError(QStringLiteral("Unknown interval \"%1\": use hourly, half-hour or 15-minutes.")
                           .arg(parser.value(QStringLiteral("interval"))));
            return false;
        }
    }
    if (parser.isSet(QStringLiteral("pages"))) {
        const QString word = parser.value(QStringLiteral("pages"));
        request.pages = sheet::render::pageFitNamed(word.toStdString());
        if (!request.pages) {
            usageError(QStringLiteral("Unknown page layout \"%1\": use one or width.").arg(word));
            return false;
        }
    }
    return true;
}

}  // namespace

int runExport(const ExportRequest& request)
{
    if (!request.pdfOnly && request.workbookPath.trimmed().isEmpty()) {
        usageError(QStringLiteral("--export needs the path of the workbook to write."));
        return kExportBadUsage;
    }
    if ((request.pdfOnly || request.pdfPath) && request.pdfPath.value_or(QString()).trimmed().isEmpty()) {
        usageError(QStringLiteral("--pdf needs the path of the PDF to write."));
        return kExportBadUsage;
    }
    if (request.pages && !request.pdfOnly && !request.pdfPath) {
        usageError(QStringLiteral("--pages works only with --pdf."));
        return kExportBadUsage;
    }
    const QString workbookPath = request.pdfOnly ? QString() : request.workbookPath;
    const QString pdfPath = request.pdfPath.value_or(QString());
    if (request.pdfOnly && !request.picturePath.isEmpty()) {
        // The picture is made from the saved workbook, which a PDF alone does not write.
        usageError(QStringLiteral("--picture works only with --export."));
        return kExportBadUsage;
    }
    if (!request.picturePath.isEmpty() && !isPictureName(request.picturePath)) {
        usageError(QStringLiteral("The picture \"%1\" must end in .bmp or .png.").arg(request.picturePath));
        return kExportBadUsage;
    }
    app::protectProgramFiles();
    if (targetRefused(workbookPath) || targetRefused(pdfPath) || targetRefused(request.picturePath))
        return kExportBadUsage;

    CountingDialogs reports;
    // A picture or a PDF needs the fonts: they get ready on a second core while the sheet is built.
    std::shared_ptr<void> fonts;
    if ((!pdfPath.isEmpty() || !request.picturePath.isEmpty()) && painting::canPaint())
        fonts = painting::readyFonts({ess::kSheetFont});
    std::optional<fileio::StagedWrites> staged;
    app::ShortenAppTitle();
    app::Trap trap(QStringLiteral("Main"), QStringLiteral("ExportSchedule"));

    // The same data steps as a start: folders and the working database made when missing.
    if (trap.test(100, [] { return app::nothingAt(app::paths::makerFolder()); }))
        trap(102, [] { app::createFolder(app::paths::makerFolder()); });
    if (trap.test(104, [] { return app::nothingAt(app::paths::dataFolder()); }))
        trap(106, [] { app::createFolder(app::paths::dataFolder()); });
    if (trap.test(108, [] { return app::usesWorkingFile() && !app::FileExists(app::paths::workingDatabase()); }))
        trap(110, [] { app::copyTemplateDatabase(app::paths::templateDatabase(), app::paths::workingDatabase()); });
    const bool openedHere = !store::sharedIsOpen() || !app::isChosenStore(store::shared().location());
    if (openedHere)
        trap(112, [] { store::shared().open(app::chosenStore(store::Access::ReadOnly)); });
    if (reports.messages() > 0)
        return kExportFailed;

    QString week;
    QString department;
    schedule::Interval interval = schedule::Interval::Hourly;
    trap(114, [&] { week = request.week ? *request.week : app::Settings::forAWeek(); });
    trap(116, [&] { department = request.department ? *request.department : app::Settings::department(); });
    trap(118, [&] { interval = request.interval ? *request.interval : app::Settings::interval(); });
    rosterRefused(trap, 120);

    if (reports.messages() == 0) {
        const FixedScheduleInputs inputs(week, department, interval);
        int extraSheets = 0;
        trap(122, [] { ess::LoadExcel(); });
        trap(124, [] { ess::xlApp().setVisible(false); });
        trap(126, [] { ess::xlApp().setScreenUpdating(false); });
        trap(128, [] { ess::xlApp().setDisplayAlerts(false); });
        trap(130, [] { ess::xlApp().setEnableEvents(false); });
        trap(132, [] { ess::setWorkingWorkbook(ess::xlApp().Workbooks().add()); });
        trap(134, [&] { extraSheets = ess::xlApp().Sheets().count() - 1; });
        for (int i = 1; i <= extraSheets; ++i)
            trap(136, [] { ess::xlApp().Sheets().item(2).Delete(); });
        trap(138, [] { ess::xlApp().Sheets().item(ess::xlApp().Sheets().count()).setName("Shift Schedule"); });
        trap(140, [&] { ess::GenerateReport(inputs); });
        trap(142, [] { ess::xlApp().Sheets().item(1).Select(); });
        trap(144, [] { ess::xlApp().Range("B6").Select(); });
        trap(146, [] { ess::xlApp().setScreenUpdating(true); });
        trap(148, [] { ess::xlApp().setEnableEvents(true); });
        // A build that reported a failure is not saved: the files the caller names are whole or absent.
        // A saved one is held back until every file is ready, so that a later failure writes none.
        if (reports.messages() == 0) {
            staged.emplace();
            if (!workbookPath.isEmpty())
                trap(150, [&] {
                    ess::workingWorkbook().SaveAs(app::toSystemBytes(workbookPath), ess::ExcelFileFormat(&ess::xlApp()));
                });
            if (!pdfPath.isEmpty() && reports.messages() == 0)
                ExportPdf(ess::workingWorkbook(), pdfPath, request.pages.value_or(sheet::render::PageFit::OnePage));
        }
        trap(152, [] { ess::workingWorkbook().Close(); });
        trap(154, [] { ess::xlApp().Quit(); });
        ess::ReleaseExcel();
    }

    if (reports.messages() == 0 && !request.picturePath.isEmpty()) {
        if (!painting::canPaint()) {
            trap(156, [] { throw app::Failure(QStringLiteral("The picture cannot be painted without the graphics platform.")); });
        } else {
            // Painted from the saved workbook as the preview's is: the one held back, not yet in place.
            std::unique_ptr<sheet::Application> second;
            trap(158, [&] {
                second = Excel1::OpenInNewExcel(app::fromSystemBytes(staged->readablePath(app::toSystemBytes(workbookPath))));
            });
            if (second) {
                trap(160, [&] {
                    painting::savePicture(second->Workbooks().item(second->Workbooks().count()), request.picturePath);
                });
                trap(162, [&] { second->Quit(); });
            }
        }
    }

    std::vector<std::string> stillReplaced;
    if (staged && reports.messages() == 0)
        trap(164, [&] {
            try {
                staged->commit();
            } catch (...) {
                stillReplaced = staged->stillReplaced();
                throw;
            }
        });
    staged.reset();
    if (reports.messages() > 0)
        for (const QString& path : {workbookPath, pdfPath, request.picturePath})
            if (!path.isEmpty() && std::ranges::find(stillReplaced, app::toSystemBytes(path)) == stillReplaced.end())
                std::fprintf(stderr, "%s was not written.\n", qUtf8Printable(app::visibleText(path)));

    if (openedHere)
        store::shared().close();
    return reports.messages() == 0 ? kExportDone : kExportFailed;
}

commands::HeadlessCommand exportCommand()
{
    const QCommandLineOption picture(QStringLiteral("picture"),
                                     QStringLiteral("With --export: also write the sheet's picture (.bmp or .png)."),
                                     QStringLiteral("file"));
    const QCommandLineOption week = weekOption();
    const QCommandLineOption department = departmentOption();
    const QCommandLineOption interval = intervalOption();
    const QCommandLineOption pdf = pdfOption();
    const QCommandLineOption trigger(
        QStringLiteral("export"),
        QStringLiteral("Write the weekly schedule workbook (.xls) from the working database, without a window."),
        QStringLiteral("file"));

    commands::HeadlessCommand command{trigger, {picture, week, department, interval, pdf, pagesOption()}, {}, {}};
    command.paints = [=](const QCommandLineParser& parser) { return parser.isSet(picture) || parser.isSet(pdf); };
    command.writes = {trigger.names().constFirst(), pdf.names().constFirst(), picture.names().constFirst()};
    command.run = [=](const QCommandLineParser& parser) {
        ExportRequest request;
        request.workbookPath = parser.value(trigger);
        if (parser.isSet(picture))
            request.picturePath = parser.value(picture);
        if (parser.isSet(pdf))
            request.pdfPath = parser.value(pdf);
        return readHeaderOptions(parser, request) ? runExport(request) : kExportBadUsage;
    };
    return command;
}

commands::HeadlessCommand pdfCommand()
{
    const QCommandLineOption trigger = pdfOption();
    commands::HeadlessCommand command{trigger, {weekOption(), departmentOption(), intervalOption(), pagesOption()}, {}, {}};
    command.paints = [](const QCommandLineParser&) { return true; };
    command.writes = {trigger.names().constFirst()};
    command.run = [=](const QCommandLineParser& parser) {
        ExportRequest request;
        request.pdfOnly = true;
        request.pdfPath = parser.value(trigger);
        return readHeaderOptions(parser, request) ? runExport(request) : kExportBadUsage;
    };
    return command;
}

}  // namespace commands
