// The targets a write refuses, writing nothing: whatever is not a regular file once links are
// followed, and the protected files, caught by identity (also through hard and symbolic links)
// and, before they exist, by path.
#include "fileio/AtomicWrite.h"
#include "tests/fileio/Scratch.h"

#include <sys/socket.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <utility>

using fileio_test::Scratch;
using Targets = Scratch;

namespace {

std::string refusal(const std::string& path)
{
    std::string checked = "accepted";
    try {
        fileio::checkTarget(path);
    } catch (const fileio::FileError& e) {
        checked = e.reason();
    }
    try {
        fileio::writeFile(path, "clobbered");
    } catch (const fileio::FileError& e) {
        EXPECT_EQ(e.wholeDescription(), "Cannot write \"" + path + "\": " + e.reason());
        EXPECT_EQ(e.reason(), checked) << "the check and the write agree";
        return e.reason();
    }
    return "written";
}

mode_t kindOf(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

}  // namespace

TEST_F(Targets, WhatIsNotARegularFileIsRefusedAndLeftAsItIs)
{
    ASSERT_EQ(::mkdir(path("folder.xls").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(path("pipe.xls").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("pipe.xls", path("link-to-pipe.xls").c_str()), 0);
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path("socket.xls").c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    // A device node of our own (the null device's numbers), so that a fault cannot touch /dev.
    const bool device = ::mknod(path("device.xls").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;

    EXPECT_EQ(refusal(path("folder.xls")), "it is a folder");
    EXPECT_EQ(refusal(path("pipe.xls")), "it is a named pipe, not a file");
    EXPECT_EQ(refusal(path("link-to-pipe.xls")), "it is a named pipe, not a file");
    EXPECT_EQ(refusal(path("socket.xls")), "it is a socket, not a file");
    EXPECT_EQ(refusal(""), "no file name was given");
    if (device)
        EXPECT_EQ(refusal(path("device.xls")), "it is a device, not a file");
    ::close(listening);

    EXPECT_EQ(kindOf(path("folder.xls")), mode_t(S_IFDIR));
    EXPECT_EQ(kindOf(path("pipe.xls")), mode_t(S_IFIFO));
    EXPECT_EQ(kindOf(path("link-to-pipe.xls")), mode_t(S_IFLNK));
    EXPECT_EQ(kindOf(path("socket.xls")), mode_t(S_IFSOCK));
    if (device)
        EXPECT_EQ(kindOf(path("device.xls")), mode_t(S_IFCHR));
    EXPECT_EQ(entries().size(), device ? 5u : 4u) << "no temporary file is left";
}

TEST_F(Targets, ProtectedFilesAreRefusedByIdentityAndBeforeTheyExistByPath)
{
    ASSERT_EQ(::mkdir(path("data").c_str(), 0700), 0);
    put(path("data/db.sqlite"), "the roster");
    put(path("settings.conf"), "[settings]");
    fileio::setProtectedTargets({{path("data/db.sqlite"), "the working database"},
                                 {path("data/db.sqlite-journal"), "a journal of the working database"},
                                 {path("settings.conf"), "the settings file"}});
    ASSERT_EQ(::link(path("data/db.sqlite").c_str(), path("hard-link.xls").c_str()), 0);
    ASSERT_EQ(::symlink("data/db.sqlite", path("soft-link.xls").c_str()), 0);
    ASSERT_EQ(::symlink("data", path("data-link").c_str()), 0);

    const std::string database = "it is the working database and is never written over";
    EXPECT_EQ(refusal(path("data/db.sqlite")), database);
    EXPECT_EQ(refusal(path("data/../data/./db.sqlite")), database);
    EXPECT_EQ(refusal(path("hard-link.xls")), database);
    EXPECT_EQ(refusal(path("soft-link.xls")), database);
    EXPECT_EQ(refusal(path("settings.conf")), "it is the settings file and is never written over");
    EXPECT_EQ(read(path("data/db.sqlite")), "the roster");
    EXPECT_EQ(read(path("settings.conf")), "[settings]");

    // The journal does not exist yet: the same path, however spelt, is refused and not created.
    const std::string journal = "it is a journal of the working database and is never written over";
    EXPECT_EQ(refusal(path("data/db.sqlite-journal")), journal);
    EXPECT_EQ(refusal(path("data-link/db.sqlite-journal")), journal);
    {
        struct BackAfterwards {
            char* was = ::getcwd(nullptr, 0);
            ~BackAfterwards() { (void)!::chdir(was); std::free(was); }
        } back;
        ASSERT_EQ(::chdir(path("data").c_str()), 0);
        EXPECT_EQ(refusal("db.sqlite-journal"), journal);
    }
    // A link that leads to where the journal would be is replaced by the write, not followed, so
    // it is no way in.
    ASSERT_EQ(::symlink("data/db.sqlite-journal", path("to-journal.xls").c_str()), 0);
    EXPECT_EQ(refusal(path("to-journal.xls")), "written");
    EXPECT_EQ(kindOf(path("to-journal.xls")), mode_t(S_IFREG));
    EXPECT_EQ(::access(path("data/db.sqlite-journal").c_str(), F_OK), -1);

    // Any other name is written; and the code that makes a protected file may.
    EXPECT_EQ(refusal(path("data/db.sqlite-journal.xls")), "written");
    fileio::writeFile(path("data/db.sqlite-journal"), "made by its owner", {.replaceExisting = false, .ownFile = true});
    EXPECT_EQ(read(path("data/db.sqlite-journal")), "made by its owner");
}
