// What a write is aimed at, and the targets the library refuses: anything that is not a regular
// file once links are followed (a folder, a named pipe, a device, a socket), and the files a
// program declares its own. Those are matched by where the write would land (Landing.h): by
// identity (device and inode, so a hard link or a symbolic link to them is caught) and, while
// they do not exist yet, by folder and name.
#pragma once

#include <string>
#include <vector>

#include <sys/stat.h>

namespace fileio {

struct ProtectedTarget {
    std::string path;
    // How a refusal names it: "the program's working database".
    std::string name;
};

// Replaces the list of protected targets (every earlier entry is dropped).
void setProtectedTargets(std::vector<ProtectedTarget> targets);

namespace detail {

struct Target {
    // Where to write: the requested path with its links followed, so the link itself stays.
    std::string path;
    std::string folder;
    bool exists = false;
    struct stat existing {};
};

// The target of a write to `requested`; throws FileError (Write) when it is refused. `ownFile`
// lets the code that makes a protected file write it.
Target inspectTarget(const std::string& requested, bool ownFile);

}  // namespace detail
}  // namespace fileio
