// What the schedule builder needs from the window that starts it: the two header texts, the
// chosen interval, the busy pointer, how far a build has got, and the hand-over to the preview.
// The main window implements it; the headless export implements the reading half from the
// remembered settings.
#pragma once

#include "app/Settings.h"

#include "store/Weekday.h"

#include <QImage>
#include <QString>

#include <functional>
#include <utility>

namespace report {

using schedule::Interval;

// The header texts and the interval the sheet is built from.
class ScheduleInputs {
public:
    virtual ~ScheduleInputs() = default;
    virtual QString weekText() const = 0;        // the week box (txtForAWeek)
    virtual QString departmentText() const = 0;  // the department box (txtDepartment)
    virtual Interval interval() const = 0;       // the selected option (Option3, Option4, Option5)
};

// Header texts and interval given as values (tests, the headless export).
class FixedScheduleInputs final : public ScheduleInputs {
public:
    FixedScheduleInputs(QString week, QString department, Interval interval)
        : week_(std::move(week)), department_(std::move(department)), interval_(interval) {}
    QString weekText() const override { return week_; }
    QString departmentText() const override { return department_; }
    Interval interval() const override { return interval_; }

private:
    QString week_;
    QString department_;
    Interval interval_;
};

// How far a build has got: drawing a weekday (with how many of its employee rows are done),
// then saving the working workbook, then picturing it.
struct BuildProgress {
    enum class Stage { Drawing, Saving, Picturing };
    Stage stage = Stage::Drawing;
    store::Weekday day = store::Weekday::Monday;
    int employeesDone = 0;
    int employees = 0;
};
// Told as the build goes on; it must not throw.
using BuildProgressSink = std::function<void(const BuildProgress&)>;

// The window that starts a build and receives its result.
class ReportHost : public ScheduleInputs {
public:
    // The hourglass while the workbook is built, the default pointer afterwards.
    virtual void setBusyPointer(bool busy) = 0;

    // How far the build has got, told after each weekday's headers, after each employee row and
    // before saving and picturing. A window may show it and let pending events run; it must not
    // throw. The default shows nothing.
    virtual void buildProgress(const BuildProgress&) {}

    // The hand-over to the preview window, in this order. loadPreviewPicture gets the picture
    // file and, when the driver wrote it in this process, the picture it holds, which the preview
    // takes instead of reading the file back (a null image: read the file). It throws when the
    // picture cannot be loaded (the preview then opens without one).
    virtual void loadPreviewPicture(const QString& picturePath, const QImage& written) = 0;
    virtual void setPreviewWorkbook(const QString& workbookPath) = 0;
    virtual void showPreview() = 0;
    virtual void hideMainWindow() = 0;
};

}  // namespace report
