// Where a write lands, decided as the writer decides it (AtomicWrite.h): a path that leads to an
// existing file, through any links, lands in that file; any other path lands at its own name in
// its folder, so a symbolic link that leads nowhere is replaced by the new file rather than
// written through. Paths are taken as the system takes them: "folder/link/../name" goes up from
// where the link leads, so nothing here tidies a path by its text.
#pragma once

#include <optional>
#include <string>

#include <sys/types.h>

namespace fileio {

// Whether a write to `later`, made after a write to `earlier`, ends in the file that the earlier
// write left: the same existing file (device and inode, so two hard links of one file count as
// one), or the same name in the same folder however the folder is reached. A link that leads
// nowhere before the earlier write leads to its file after it, when that write makes the file
// the link names.
bool sameFile(const std::string& earlier, const std::string& later);

namespace detail {

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
};

// Where a write made now would land.
struct Landing {
    // Set when the write replaces an existing file.
    std::optional<Identity> file;
    // Otherwise the new file's folder (its identity when it exists, else its absolute path) and
    // its name.
    std::optional<Identity> folderIdentity;
    std::string folder;
    std::string name;
};

Landing landingOf(const std::string& path);
// Whether two writes made now would land in one file.
bool sameLanding(const Landing& first, const Landing& second);

}  // namespace detail
}  // namespace fileio
