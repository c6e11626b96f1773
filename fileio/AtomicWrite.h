// Writing a file whole or not at all. The bytes go to a temporary file in the target's folder,
// which is synced and then renamed over the target, and the folder is synced after; a failure at
// any point leaves the old file as it was and no temporary file behind. A replaced file keeps its
// mode (a read-only file is replaced too, as a save the user confirmed), a new file gets what the
// system gives new files. A target reached through a link is replaced where the link points and
// the link stays. Refused targets are written nothing (Targets.h). Inside a StagedWrites scope
// (StagedWrites.h) a write stops short of putting the file in place.
#pragma once

#include "fileio/FileError.h"
#include "fileio/Targets.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace fileio {

struct WriteOptions {
    // false: create the file only where nothing is; an existing file is never replaced.
    bool replaceExisting = true;
    // This write makes one of the protected targets (the working database copied from its template).
    bool ownFile = false;
    // false: a working file its writer deletes soon after. It is put in place whole all the same,
    // but neither it nor its folder is synced to disk, which for a large file costs more than
    // writing it; after a system crash it may be missing or empty.
    bool durable = true;
};

// Throws FileError when a write to `path` would be refused; writes nothing.
void checkTarget(const std::string& path);

// Every function below throws FileError, naming the path, with the reason in plain words.
void writeFile(const std::string& path, std::span<const std::uint8_t> bytes, WriteOptions options = {});
void writeFile(const std::string& path, std::string_view bytes, WriteOptions options = {});
// Appends bytes to the file being written.
using ByteSink = std::function<void(const void* data, std::size_t size)>;
// Writes what `produce` hands to its sink, piece by piece: a large file is never held whole in
// memory. An exception from `produce` abandons the write and is passed on; the old file stays.
void writeFileFrom(const std::string& path, const std::function<void(const ByteSink&)>& produce, WriteOptions options = {});
// A file being written that can go back over what it holds, for formats whose header is filled in
// once the rest is written. Writes go on from the current position.
class SeekableSink {
public:
    virtual void write(const void* data, std::size_t size) = 0;
    // Moves to `offset` bytes from the start of the file.
    virtual void seek(std::uint64_t offset) = 0;

protected:
    ~SeekableSink() = default;
};
// As writeFileFrom, for a producer that moves about in the file.
void writeFileSeekable(const std::string& path, const std::function<void(SeekableSink&)>& produce,
                       WriteOptions options = {});
// Copies the regular file at `source` to `target`.
void copyFile(const std::string& source, const std::string& target, WriteOptions options = {});

}  // namespace fileio
