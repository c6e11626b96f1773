// Loading the sample data set: the three sample employees and their pattern of shifts, placed
// by positions in the time lists so that the clock times follow the chosen interval. The
// procedure works through a view of the main window's lists (employee list with its identifiers,
// the two time lists), so it runs the same against the window and without one.
#pragma once

#include <QString>

namespace app {

class SampleLoadView {
public:
    virtual ~SampleLoadView() = default;
    // Rebuilds the employee list from the database; leaves nothing selected.
    virtual void loadEmployees() = 0;
    // Selects the first entry with exactly this text (remembered like a user's choice); throws
    // when no entry has it.
    virtual void selectEmployeeByName(const QString& name) = 0;
    // The identifier of the selected employee; throws when none is selected.
    virtual qint64 selectedEmployeeId() const = 0;
    // How many entries each time list holds.
    virtual int timeListCount() const = 0;
    // Selects these positions in the time-in and time-out lists (the time-in selection is
    // remembered like a user's choice); throws for a position outside the list.
    virtual void selectTimeIn(int position) = 0;
    virtual void selectTimeOut(int position) = 0;
    // The texts of the selected time entries; throw when nothing is selected.
    virtual QString selectedTimeIn() const = 0;
    virtual QString selectedTimeOut() const = 0;
};

// Stores every sample employee that is not there yet and each sample shift that does not collide
// with one of that employee's shifts on that weekday. Failures are reported under the sample
// button's label and the procedure goes on. Returns how many failures were reported.
int loadSampleData(SampleLoadView& view);

}  // namespace app
