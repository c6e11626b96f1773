// The headless export: the weekly schedule built from the working database without a window or
// a display, for scripts and scheduled jobs, as a workbook, as a PDF (one page, or one page wide
// and as many tall as it needs), or both from one build.
//   rostelle --export FILE.xls [--pdf FILE.pdf [--pages one|width]] [--picture FILE.bmp|FILE.png]
//            [--week TEXT] [--department TEXT] [--interval hourly|half-hour|15-minutes]
//   rostelle --pdf FILE.pdf [--pages one|width] [--week TEXT] [--department TEXT] [--interval ...]
// Header texts and interval come from the remembered settings unless given; the settings are
// only read. Each file is replaced whole or not at all; nothing is written when the build fails.
#pragma once

#include "commands/CommandLine.h"
#include "app/Settings.h"
#include "sheet/render/PageFit.h"

#include <QString>

#include <optional>

namespace commands {

// Exit codes of the export.
inline constexpr int kExportDone = 0;
inline constexpr int kExportFailed = 1;     // something was reported on stderr; see there
inline constexpr int kExportBadUsage = 2;   // an option's value is not usable

struct ExportRequest {
    QString workbookPath;  // unused when pdfOnly
    QString picturePath;   // empty: no picture
    std::optional<QString> week;
    std::optional<QString> department;
    std::optional<schedule::Interval> interval;
    std::optional<QString> pdfPath;  // set: the PDF is written there too
    bool pdfOnly = false;            // the PDF alone, no workbook (--pdf without --export)
    std::optional<sheet::render::PageFit> pages;  // the PDF's layout; unset: one page
};

// The commands for the program's command line: --export, which also takes --pdf, and --pdf alone.
commands::HeadlessCommand exportCommand();
commands::HeadlessCommand pdfCommand();

// Runs the export; failures are written to stderr in the error report's format. A picture or a
// PDF needs a QGuiApplication (which may run on the offscreen platform).
int runExport(const ExportRequest& request);

}  // namespace commands
