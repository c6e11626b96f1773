// Writes held back until a whole set of them is ready, for a command that writes several files and
// must leave all of them as they were when any one fails. While a StagedWrites is open on a
// thread, every write that thread makes (AtomicWrite.h) is refused, filled and synced as usual in
// its temporary file in the target's folder, but not put in place. commit() then puts them all in
// place; a failure part way puts back the ones already placed. Closing the scope without
// commit() drops every held write, so no target changes.
#pragma once

#include "fileio/AtomicWrite.h"

#include <memory>
#include <string>
#include <vector>

namespace fileio {
namespace detail {
class TemporaryFile;
}

class StagedWrites {
public:
    // One scope per thread at a time; opening a second throws std::logic_error.
    StagedWrites();
    ~StagedWrites();
    StagedWrites(const StagedWrites&) = delete;
    StagedWrites& operator=(const StagedWrites&) = delete;

    // Where the contents held for `path` (as it was given to the write) can be opened and read
    // before they are in place. Throws FileError (Read) when nothing is held for it.
    std::string readablePath(const std::string& path) const;

    // Puts every held write in place, in the order they were made; later writes are made at once
    // again. Throws FileError naming the target that could not be placed, after putting back
    // every one placed before it; one that cannot be put back is named in the error's reason and
    // listed by stillReplaced().
    void commit();
    // After a failed commit: the targets that stay replaced (normally none).
    const std::vector<std::string>& stillReplaced() const { return stillReplaced_; }

    // The scope open on this thread, or nullptr.
    static StagedWrites* current();
    // Takes over a write filled (and synced when durable) for `requested`, which lands at `target`;
    // a later write to the same target replaces it.
    void hold(const std::string& requested, const std::string& target, std::unique_ptr<detail::TemporaryFile> file,
              const WriteOptions& options);

private:
    struct Held;
    void placeAll();
    void putBack(const std::vector<Held*>& placed);

    std::vector<std::unique_ptr<Held>> held_;
    std::vector<std::string> stillReplaced_;
};

}  // namespace fileio
