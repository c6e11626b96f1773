// Making folders: the whole path, with every missing parent.
#pragma once

#include <string>

#include <sys/types.h>

namespace fileio {

// Creates each missing folder of `path` with `mode` (less the umask); folders that exist are left
// as they are. Throws FileError (CreateFolder) naming `path` when one cannot be made.
void makeFolders(const std::string& path, mode_t mode = 0700);

}  // namespace fileio
