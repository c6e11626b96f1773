// The temporary file a write fills before it becomes the target. Where the file system allows it
// the file has no name until its contents are complete and synced, so a killed process leaves
// nothing behind; elsewhere it is named ".rostelle-save-<pid>-XXXXXX", and such files whose
// process is gone are removed before each write into their folder.
#pragma once

#include "fileio/Posix.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/stat.h>

namespace fileio::detail {

inline constexpr const char* kTemporaryPrefix = ".rostelle-save-";

// Removes the named temporary files in `folder` left by writers that no longer run. Callers hold
// the write lock, so none of this process's own is in flight except those it still holds.
void removeStaleTemporaries(const std::string& folder);

// A fresh name of the temporary pattern in `folder`, carrying this process's pid.
std::string temporaryName(const std::string& folder);
// Names of the temporary pattern this process still uses outside a write (a staged file, a second
// name kept for a file being replaced): the sweep leaves them alone although their pid is ours.
void holdName(const std::string& path);
void releaseName(const std::string& path);

class TemporaryFile {
public:
    // A new file in `folder`. With `replaced`, the file it will replace: its owner and mode are
    // kept. Failures are reported against `requested`, the path the caller asked for.
    TemporaryFile(const std::string& requested, const std::string& folder, const struct stat* replaced);
    ~TemporaryFile();  // removes the file unless it was committed
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(const void* data, std::size_t size);
    // Moves to `offset` bytes from the start; writes go on from there.
    void seek(std::uint64_t offset);
    void sync();
    // Puts the file in place at `target`: over an existing file, or only where nothing is.
    void commit(const std::string& target, bool replace);
    // A path at which what has been written so far can be opened and read: the file's name, or
    // its descriptor under /proc/self/fd when it has none.
    std::string readablePath() const;

private:
    [[noreturn]] void fail(int error) const;
    void discard();
    void setName(std::string name);
    void clearName();
    void keepOwnerAndMode(const struct stat& replaced);
    // 0, or the error number of linking the unnamed file in as `name`.
    int linkUnnamedAs(const std::string& name) const;
    // rename's result for the named file onto `target`.
    int renameInto(const std::string& target) const;

    std::string requested_;
    std::string folder_;
    Descriptor fd_;
    bool unnamed_ = false;
    std::string name_;  // the named file's path while it exists
};

}  // namespace fileio::detail
