// Hooks for tests of code that writes files: a fault injected into one step of a write, and the
// named temporary file forced where the system would allow an unnamed one.
#pragma once

#include <functional>

namespace fileio::test_hooks {

enum class Step { Write, Sync, Commit };

// Called before each step of a write (Write once per chunk written); a result other than 0 makes
// that step fail with that error number. An empty function removes the hook.
void setFault(std::function<int(Step)> fault);

// false: every write uses a named temporary file, as on a file system without unnamed ones.
void allowUnnamedTemporaries(bool allowed);

}  // namespace fileio::test_hooks
