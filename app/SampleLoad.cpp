// The sample data procedure. The whole load is one change, kept at its end only when none of its
// steps failed, so that a load cut short (killed, its connection lost, a failed commit) leaves the
// roster as it was. Each look-up with the insert it decides on is a part of it, so that two copies
// loading the sample at once store each row once.
#include "app/SampleLoad.h"

#include "app/Trap.h"
#include "app/TrapSteps.h"

#include "store/Connection.h"
#include "store/Employees.h"
#include "store/RosterRules.h"
#include "store/SampleData.h"
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
        // Another copy loading the sample at the same time adds the employee once.
        TrapSteps adding{numbered(trap, 102), numbered(trap, 104)};
        store::addEmployeeUnlessPresent(store::shared(), sample.name, sample.position, adding);
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
            const store::ShiftLookUp shift{[&] { return view.selectedEmployeeId(); }, [&] { return view.selectedTimeIn(); },
                                           [&] { return view.selectedTimeOut(); }};
            for (const store::Weekday day : row.weekdays) {
                TrapSteps placing{numbered(trap, 116), numbered(trap, 118)};
                const store::ShiftAdding outcome = store::addShiftUnlessOverlapping(store::shared(), day, shift, placing);
                lastStep = outcome == store::ShiftAdding::Overlaps ? 116 : 118;
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
