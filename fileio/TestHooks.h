// Hooks for tests of code that writes files: a fault injected into any file-system call a write
// makes, and the named temporary file forced where the system would allow an unnamed one.
#pragma once

#include <functional>

namespace fileio::test_hooks {

// The steps of a write the fault hook is asked about. Every one but Commit is a file-system call;
// Commit comes once per file, just before it is put in place.
enum class Step {
    OpenTemporary,  // the unnamed temporary (tried first where allowed), then each named one tried
    Write,          // each chunk
    Seek,
    ChangeOwner,  // fchown, tried only where the replaced file's owner or group is not ours
    ChangeMode,   // fchmod of a file that replaces another
    Sync,         // fsync of the temporary
    Commit,
    Close,    // of a named temporary before it is renamed or linked into place
    Link,     // linkat of an unnamed file, link of a named one, the second name of a staged target
    Rename,   // into place, or a staged target put back
    Unlink,   // a name no longer needed: a named temporary linked into place, a second name
    OpenFolder,
    SyncFolder,
};

// Called before each step of a write; a result other than 0 makes that step fail with that error
// number, as if the system had refused the call, which is then not made. An empty function
// removes the hook. A sweep counts the calls and fails the n-th.
void setFault(std::function<int(Step)> fault);

// false: every write uses a named temporary file, as on a file system without unnamed ones.
void allowUnnamedTemporaries(bool allowed);

}  // namespace fileio::test_hooks
