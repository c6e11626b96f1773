#include "tests/fileio/Scratch.h"

#include "fileio/Targets.h"
#include "fileio/TestHooks.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fileio_test {

void Scratch::SetUp()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fileio-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    fileio::setProtectedTargets({});
}

void Scratch::TearDown()
{
    fileio::test_hooks::setFault({});
    fileio::test_hooks::allowUnnamedTemporaries(true);
    fileio::setProtectedTargets({});
    std::error_code ignored;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder, ignored);
}

std::vector<std::string> Scratch::entries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Scratch::put(const std::string& path, const std::string& bytes, mode_t mode)
{
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    ::chmod(path.c_str(), mode);
}

std::string Scratch::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

mode_t Scratch::modeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

}  // namespace fileio_test
