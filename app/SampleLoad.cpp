// The sample data procedure. The whole load is one change, kept at its end only when none of its
// steps failed, so that a load cut short (killed, its connection lost, a failed commit) leaves the
// roster as it was. Each look-up with the insert it decides on is a part of it, so that two copies
// loading the sample at once store each row once.
#include "app/SampleLoad.h"

#include "app/StoreChange.h"
#include "app/Trap.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/SampleData.h"
#include "store/Shifts.h"
#include "store/WriteTransaction.h"

#include <vector>

namespace app {

int loadSampleData(SampleLoadView& view)
{
    Trap trap(QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"));
    store::WriteTransaction load(store::shared(), store::WriteRule::LoadSample);
    int lastStep = 100;
    std::vector<store::SampleShiftRow> pattern;
    trap(100, [&] { pattern = store::sampleShiftRows(view.timeListCount()); });

    const auto& employees = store::sampleEmployees();
    for (int e = 0; e < static_cast<int>(employees.size()); ++e) {
        const store::SampleEmployee& sample = employees[e];
        auto missing = [&] { return !store::findEmployee(store::shared(), sample.name, sample.position).has_value(); };
        {
            // Another copy loading the sample at the same time adds the employee once.
            store::WriteTransaction adding(store::shared(), store::WriteRule::AddEmployee);
            const int failuresBefore = trap.failures();
            const bool added = trap.test(102, missing);
            if (added)
                trap(104, [&] { store::insertEmployee(store::shared(), sample.name, sample.position); });
            lastStep = added ? 104 : 102;
            endChange(adding, trap, failuresBefore, lastStep);
        }
        lastStep = 106;
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
                store::WriteTransaction adding(store::shared(), store::WriteRule::AddShift,
                                               knownEmployee([&] { return view.selectedEmployeeId(); }));
                const int failuresBefore = trap.failures();
                const bool free = trap.test(116, [&] {
                    return !store::shiftOverlaps(store::shared(), day, view.selectedEmployeeId(), view.selectedTimeIn(),
                                                 view.selectedTimeOut());
                });
                if (free)
                    trap(118, [&] {
                        store::insertShift(store::shared(), day, view.selectedEmployeeId(), view.selectedTimeIn(),
                                           view.selectedTimeOut());
                    });
                lastStep = free ? 118 : 116;
                endChange(adding, trap, failuresBefore, lastStep);
            }
        }
    }
    // The end of the load belongs to the last step reached, where its failure is reported. Nothing
    // of a load that reported a failure is stored, and the list then shows the roster as it is.
    try {
        if (trap.failures() == 0) {
            load.commit();
        } else {
            load.rollback();
            view.loadEmployees();
        }
    } catch (...) {
        trap.report(lastStep, currentFailureDescription());
    }
    return trap.failures();
}

}  // namespace app
