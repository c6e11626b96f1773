// The headless export: the weekly schedule workbook built from the working database without a
// window or a display, for scripts and scheduled jobs.
//   rostelle --export FILE.xls [--picture FILE.bmp|FILE.png] [--week TEXT] [--department TEXT]
//            [--interval hourly|half-hour|15-minutes]
// Header texts and interval come from the remembered settings unless given; the settings are
// only read. FILE is replaced whole or not at all; nothing is written when the build fails.
#pragma once

#include "app/CommandLine.h"
#include "app/Settings.h"

#include <QString>

#include <optional>

namespace report {

// Exit codes of the export.
inline constexpr int kExportDone = 0;
inline constexpr int kExportFailed = 1;     // something was reported on stderr; see there
inline constexpr int kExportBadUsage = 2;   // an option's value is not usable

struct ExportRequest {
    QString workbookPath;
    QString picturePath;  // empty: no picture
    std::optional<QString> week;
    std::optional<QString> department;
    std::optional<app::Interval> interval;
};

// The command for the program's command line.
app::HeadlessCommand exportCommand();

// Runs the export; failures are written to stderr in the error report's format. A picture needs
// a QGuiApplication (which may run on the offscreen platform).
int runExport(const ExportRequest& request);

}  // namespace report
