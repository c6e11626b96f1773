// Folder creation.
#include "fileio/Folders.h"

#include "fileio/FileError.h"
#include "fileio/Posix.h"

#include <cerrno>
#include <sys/stat.h>

namespace fileio {

void makeFolders(const std::string& path, mode_t mode)
{
    if (path.empty())
        throw FileError(FileError::Operation::CreateFolder, path, "no folder name was given");
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (::mkdir(folder.c_str(), mode) != 0) {
            int error = errno;
            struct stat info {};
            if (error == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                error = 0;
            else if (error == EEXIST)
                error = ENOTDIR;
            if (error != 0)
                throw FileError(FileError::Operation::CreateFolder, path, detail::reasonFor(error));
        }
        if (end == std::string::npos)
            return;
    }
}

}  // namespace fileio
