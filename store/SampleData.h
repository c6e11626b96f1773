// The sample data set: three employees and a fixed pattern of shifts over the week, given as
// positions in the time lists so that the clock times follow the chosen interval.
#pragma once

#include "store/Weekday.h"

#include <QString>

#include <vector>

namespace store {

struct SampleEmployee {
    QString name;
    QString position;
};

// In the order they are processed.
const std::vector<SampleEmployee>& sampleEmployees();

// One row of the pattern with its positions resolved for a list of a given length.
struct SampleShiftRow {
    int employee = 0;            // index into sampleEmployees()
    int inPosition = 0;          // 0-based position in the time-in list
    int outPosition = 0;         // 0-based position in the time-out list
    std::vector<Weekday> weekdays;  // Monday..Sunday order
};

// The pattern rows in processing order (grouped by employee) for time lists of listEntries
// entries. Each row's In may build on the In of the row before it. Positions are not clamped:
// the three interval lengths (24, 48, 96) keep them inside the list.
std::vector<SampleShiftRow> sampleShiftRows(int listEntries);

// The resulting shifts as list texts, for time lists with the given step.
struct SampleShift {
    int employee = 0;
    Weekday weekday = Weekday::Monday;
    QString timeIn;   // list text
    QString timeOut;  // list text
};
std::vector<SampleShift> sampleShifts(int stepMinutes);

}  // namespace store
