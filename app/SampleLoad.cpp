// The sample data procedure.
#include "app/SampleLoad.h"

#include "app/Trap.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/SampleData.h"
#include "store/Shifts.h"

#include <vector>

namespace app {

int loadSampleData(SampleLoadView& view)
{
    Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"));
    std::vector<store::SampleShiftRow> pattern;
    trap(100, [&] { pattern = store::sampleShiftRows(view.timeListCount()); });

    const auto& employees = store::sampleEmployees();
    for (int e = 0; e < static_cast<int>(employees.size()); ++e) {
        const store::SampleEmployee& sample = employees[e];
        auto missing = [&] { return !store::findEmployee(store::shared(), sample.name, sample.position).has_value(); };
        if (trap.test(102, missing))
            trap(104, [&] { store::insertEmployee(store::shared(), sample.name, sample.position); });
        if (trap.test(106, missing))
            continue;  // not stored: this employee gets no shifts
        trap(108, [&] { view.loadEmployees(); });
        trap(110, [&] { view.selectEmployeeByName(sample.name); });

        for (const store::SampleShiftRow& row : pattern) {
            if (row.employee != e)
                continue;
            trap(112, [&] { view.selectTimeIn(row.inPosition); });
            trap(114, [&] { view.selectTimeOut(row.outPosition); });
            for (const store::Weekday day : row.weekdays) {
                const bool free = trap.test(116, [&] {
                    return !store::shiftOverlaps(store::shared(), day, view.selectedEmployeeId(), view.selectedTimeIn(),
                                                 view.selectedTimeOut());
                });
                if (free)
                    trap(118, [&] {
                        store::insertShift(store::shared(), day, view.selectedEmployeeId(), view.selectedTimeIn(),
                                           view.selectedTimeOut());
                    });
            }
        }
    }
    return trap.failures();
}

}  // namespace app
