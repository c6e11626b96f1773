// The window's lists without a window.
#include "commands/HeadlessSampleView.h"

#include "app/Settings.h"
#include "app/Trap.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/TimeText.h"

namespace commands {

using app::Failure;
using app::Settings;
using schedule::Interval;
using schedule::stepMinutes;

HeadlessSampleView::HeadlessSampleView(Interval interval) : times_(store::timeListEntries(stepMinutes(interval))) {}

void HeadlessSampleView::loadEmployees()
{
    const auto employees = store::listEmployees(store::shared());
    names_.clear();
    ids_.clear();
    selectedEmployee_ = -1;
    for (const auto& employee : employees) {
        names_ << employee.name;
        ids_.push_back(employee.id);
    }
}

void HeadlessSampleView::selectEmployeeByName(const QString& name)
{
    const int index = static_cast<int>(names_.indexOf(name));
    if (index < 0)
        throw Failure(QStringLiteral("The employee list has no entry \"%1\"").arg(name));
    selectedEmployee_ = index;
    Settings::setEmployeeIndex(index);
}

qint64 HeadlessSampleView::selectedEmployeeId() const
{
    if (selectedEmployee_ < 0)
        throw Failure(QStringLiteral("No employee is selected"));
    return ids_[selectedEmployee_];
}

void HeadlessSampleView::selectTimeIn(int position)
{
    if (position < 0 || position >= times_.size())
        throw Failure(QStringLiteral("The time list has no entry at position %1.").arg(position));
    timeIn_ = position;
    Settings::setTimeInIndex(position);
}

void HeadlessSampleView::selectTimeOut(int position)
{
    if (position < 0 || position >= times_.size())
        throw Failure(QStringLiteral("The time list has no entry at position %1.").arg(position));
    timeOut_ = position;
}

QString HeadlessSampleView::selectedTimeIn() const
{
    if (timeIn_ < 0)
        throw Failure(QStringLiteral("No time in is selected"));
    return times_[timeIn_];
}

QString HeadlessSampleView::selectedTimeOut() const
{
    if (timeOut_ < 0)
        throw Failure(QStringLiteral("No time out is selected"));
    return times_[timeOut_];
}

}  // namespace commands
