// Changes that numbered steps of a procedure make together (the delete cascade, a shift's overlap
// check and insert, the sample load's look-ups and inserts), held in one write transaction so that
// another planner's change cannot come between them and nothing is left half done.
#pragma once

#include "app/Trap.h"

#include "store/WriteTransaction.h"

#include <functional>
#include <optional>

namespace app {

// The employee a change is about, when it can be told: a look-up that fails gives none, and the
// step that needs the employee then reports why.
std::optional<qint64> knownEmployee(const std::function<qint64()>& lookUp);

// Ends the change: kept when none of its steps failed since it began (the trap had
// `failuresBefore` failures then), dropped whole otherwise. A change that cannot be kept is
// reported under the last step reached, where the failure shows up; nothing of it is stored.
void endChange(store::WriteTransaction& change, Trap& trap, int failuresBefore, int lastStep);

}  // namespace app
