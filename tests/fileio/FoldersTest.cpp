// Making a folder with all its missing parents, owner-only, and the failures that name the path.
#include "fileio/AtomicWrite.h"
#include "fileio/Folders.h"
#include "tests/fileio/Scratch.h"

using fileio_test::Scratch;
using Folders = Scratch;

TEST_F(Folders, MissingParentsAreMadeOwnerOnlyAndExistingOnesLeftAlone)
{
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    const std::string deep = path("home/.local/share/Tarrowby");
    const mode_t before = ::umask(022);
    fileio::makeFolders(deep);
    fileio::makeFolders(deep);  // all there: nothing to do
    ::umask(before);
    for (const std::string& made : {path("home"), path("home/.local"), path("home/.local/share"), deep})
        EXPECT_EQ(modeOf(made), 0700u) << made;
    EXPECT_EQ(modeOf(folder), 0755u);
}

TEST_F(Folders, AFileInTheWayFailsNamingTheWholePath)
{
    put(path("blocker"), "a file");
    const std::string wanted = path("blocker/Tarrowby/Rostelle Software");
    try {
        fileio::makeFolders(wanted);
        FAIL() << "a folder was made under a file";
    } catch (const fileio::FileError& e) {
        EXPECT_EQ(e.wholeDescription(), "Cannot create the folder \"" + wanted + "\": Not a directory");
    }
    EXPECT_THROW(fileio::makeFolders(""), fileio::FileError);
}
