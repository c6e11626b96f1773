// The sample employees and their pattern of shifts.
#include "store/SampleData.h"

#include "store/StoreError.h"
#include "store/TimeText.h"

namespace store {

namespace {

using enum Weekday;

// A row's In is counted either from a third of the list or from the In of the row before it;
// its Out is always counted from its own In.
struct PatternRow {
    int employee;
    bool fromPreviousIn;
    int inOffset;
    int outOffset;
    std::vector<Weekday> weekdays;
};

const std::vector<PatternRow>& pattern()
{
    static const std::vector<PatternRow> rows{
        {0, false, 2, 6, {Monday, Tuesday, Wednesday}},
        {0, true, 2, 4, {Thursday, Friday}},
        {1, false, 4, 5, {Monday, Tuesday}},
        {1, true, -2, 3, {Wednesday, Thursday, Friday}},
        {1, false, 6, 2, {Saturday}},
        {2, false, 1, 7, {Monday, Tuesday, Wednesday, Thursday}},
        {2, true, 1, 5, {Friday}},
        {2, false, 8, 2, {Saturday, Sunday}},
    };
    return rows;
}

}  // namespace

const std::vector<SampleEmployee>& sampleEmployees()
{
    static const std::vector<SampleEmployee> employees{
        {QStringLiteral("Dace Ormundy"), QStringLiteral("Sr. Developer")},
        {QStringLiteral("R. T. Fallowmere"), QStringLiteral("Jr. Manager")},
        {QStringLiteral("Ansel Brackwater"), QStringLiteral("Office Staff")},
    };
    return employees;
}

std::vector<SampleShiftRow> sampleShiftRows(int listEntries)
{
    const int third = listEntries / 3;
    int in = 0;
    std::vector<SampleShiftRow> rows;
    for (const PatternRow& row : pattern()) {
        in = (row.fromPreviousIn ? in : third) + row.inOffset;
        rows.push_back({row.employee, in, in + row.outOffset, row.weekdays});
    }
    return rows;
}

std::vector<SampleShift> sampleShifts(int stepMinutes)
{
    const QStringList entries = timeListEntries(stepMinutes);
    const auto entryAt = [&](int position) {
        if (position < 0 || position >= entries.size())
            throw StoreError(QStringLiteral("The sample shifts do not fit a time list of %1 entries.")
                                 .arg(entries.size()));
        return entries[position];
    };
    std::vector<SampleShift> shifts;
    for (const SampleShiftRow& row : sampleShiftRows(static_cast<int>(entries.size()))) {
        for (Weekday day : row.weekdays)
            shifts.push_back({row.employee, day, entryAt(row.inPosition), entryAt(row.outPosition)});
    }
    return shifts;
}

}  // namespace store
