// The user's remembered choices: the selected employee and time-in entry, the time interval and
// the two header texts; and where a shared roster is kept. Kept as text values in the per-user settings file
// (Tarrowby/Tarrowby.conf under the config home, group "Rostelle Software"); every key and its
// default lives here.
#pragma once

#include "schedule/Interval.h"

#include <QString>

#include <optional>

namespace app {

using schedule::Interval;

class Settings {
public:
    static constexpr const char* kEmployeeIndex = "cboName";
    static constexpr const char* kTimeInIndex = "cboTime";
    static constexpr const char* kHourly = "Option3";
    static constexpr const char* kHalfHour = "Option4";
    static constexpr const char* kFifteenMinutes = "Option5";
    static constexpr const char* kDepartment = "Department";
    static constexpr const char* kForAWeek = "For A Week";
    static constexpr const char* kDatabase = "Database";
    static constexpr const char* kSaveFolder = "Save Folder";
    // The preview window's last size, "WIDTHxHEIGHT" in pixels.
    static constexpr const char* kPreviewSize = "Preview Size";
    // How "Print..." and "Save as PDF..." last laid the schedule out: "one" or "width".
    static constexpr const char* kPageLayout = "Page Layout";

    // The stored text of a key, or nullopt when the key is absent.
    static std::optional<QString> stored(const char* key);
    // Writes a text value and puts it on disk at once.
    static void store(const char* key, const QString& value);
    // The file the settings are kept in.
    static QString fileName();

    // Index keys read through the text-to-number conversion; a text that is no number throws.
    static int employeeIndex();                     // default 0
    static void setEmployeeIndex(int index);
    static void setTimeInIndex(int index);

    // The three interval options; defaults true, false, false.
    static bool hourly();
    static bool halfHour();
    static bool fifteenMinutes();
    // Writes all three keys together, as "True" or "False".
    static void setIntervalOptions(bool hourly, bool halfHour, bool fifteenMinutes);
    // The interval the options name; none marked gives Hourly.
    static Interval interval();

    static QString department();                    // default empty
    static void setDepartment(const QString& text);
    static QString forAWeek();                      // default today's date in the short date form
    // The PostgreSQL connection URI of a shared roster; empty (the default) for the working file.
    // Only read: the user sets it by hand, and never with a password in it.
    static QString database();
    static void setForAWeek(const QString& text);
    // The folder a file was last saved to; default empty (none yet).
    static QString saveFolder();
    static QString pageLayout();  // default "one"
    static void setPageLayout(const QString& word);
    static void setSaveFolder(const QString& folder);

    // "True"/"False" (any case) or a number, non-zero meaning true; anything else throws.
    static bool toTruth(const QString& text);
    // Whole decimal numbers (blanks around allowed); anything else throws.
    static int toNumber(const QString& text);
};

}  // namespace app
