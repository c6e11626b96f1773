// Keeping or dropping a change made by numbered steps.
#include "app/StoreChange.h"

namespace app {

std::optional<qint64> knownEmployee(const std::function<qint64()>& lookUp)
{
    try {
        return lookUp();
    } catch (...) {
        return std::nullopt;
    }
}

void endChange(store::WriteTransaction& change, Trap& trap, int failuresBefore, int lastStep)
{
    if (trap.failures() > failuresBefore) {
        change.rollback();
        return;
    }
    trap(lastStep, [&] { change.commit(); });
}

}  // namespace app
