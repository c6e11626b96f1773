// Writing whole or not at all: modes kept and given, links followed (or replaced when they lead
// nowhere), create-only, copies, and failures injected at each step or a writer killed mid-write,
// after which the old file is intact and no temporary file is left, with unnamed and with named
// temporary files.
#include "fileio/AtomicWrite.h"
#include "fileio/TestHooks.h"
#include "tests/fileio/Scratch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using fileio::FileError;
using fileio::test_hooks::Step;
using fileio_test::Scratch;
using Strings = std::vector<std::string>;

namespace {

class AtomicWrite : public Scratch {
protected:
    // Runs the body once with unnamed temporary files (where the system has them) and once with
    // named ones.
    template <class Body>
    void bothKinds(Body body)
    {
        for (const bool unnamed : {true, false}) {
            SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
            fileio::test_hooks::allowUnnamedTemporaries(unnamed);
            body();
        }
    }
    std::string errorOf(const std::function<void()>& write)
    {
        try {
            write();
        } catch (const FileError& e) {
            return e.wholeDescription();
        }
        return "no error";
    }
};

bool unnamedTemporariesWork(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

}  // namespace

TEST_F(AtomicWrite, ANewFileGetsTheUmaskModeAndAReplacedFileKeepsItsMode)
{
    bothKinds([&] {
        const mode_t before = ::umask(027);
        fileio::writeFile(path("new.xls"), "new");
        ::umask(before);
        EXPECT_EQ(read(path("new.xls")), "new");
        EXPECT_EQ(modeOf(path("new.xls")), 0640u);

        // Read-only, group-writable, private: each keeps its mode and gets the new bytes.
        for (const mode_t mode : {0444u, 0664u, 0600u}) {
            put(path("old.xls"), "old contents", mode);
            fileio::writeFile(path("old.xls"), "replaced");
            EXPECT_EQ(read(path("old.xls")), "replaced");
            EXPECT_EQ(modeOf(path("old.xls")), mode);
        }
        EXPECT_EQ(entries(), (Strings{"new.xls", "old.xls"}));
        ::unlink(path("new.xls").c_str());
    });
}

TEST_F(AtomicWrite, ALinkToAFileIsWrittenThroughAndKeptAndALinkThatLeadsNowhereIsReplaced)
{
    const auto kindOf = [](const std::string& path) {
        struct stat info {};
        return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
    };
    bothKinds([&] {
        put(path("real.xls"), "old", 0640);
        ASSERT_EQ(::symlink("real.xls", path("link.xls").c_str()), 0);
        ASSERT_EQ(::symlink("nowhere.xls", path("dangling.xls").c_str()), 0);
        fileio::writeFile(path("link.xls"), "through the link");
        fileio::writeFile(path("dangling.xls"), "in place of the link");
        EXPECT_EQ(kindOf(path("link.xls")), mode_t(S_IFLNK));
        EXPECT_EQ(read(path("real.xls")), "through the link");
        EXPECT_EQ(modeOf(path("real.xls")), 0640u);
        EXPECT_EQ(kindOf(path("dangling.xls")), mode_t(S_IFREG));
        EXPECT_EQ(read(path("dangling.xls")), "in place of the link");
        EXPECT_EQ(entries(), (Strings{"dangling.xls", "link.xls", "real.xls"}));
        ::unlink(path("link.xls").c_str());
        ::unlink(path("dangling.xls").c_str());
    });
}

TEST_F(AtomicWrite, CreateOnlyNeverReplacesAnExistingFile)
{
    bothKinds([&] {
        const fileio::WriteOptions createOnly{.replaceExisting = false};
        put(path("taken.sqlite"), "someone's data");
        EXPECT_EQ(errorOf([&] { fileio::writeFile(path("taken.sqlite"), "template", createOnly); }),
                  "Cannot write \"" + path("taken.sqlite") + "\": File exists");
        EXPECT_EQ(read(path("taken.sqlite")), "someone's data");

        fileio::writeFile(path("free.sqlite"), "template", createOnly);
        EXPECT_EQ(read(path("free.sqlite")), "template");
        EXPECT_EQ(entries(), (Strings{"free.sqlite", "taken.sqlite"}));
        ::unlink(path("free.sqlite").c_str());
    });
}

TEST_F(AtomicWrite, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    const std::string large(1024 * 1024 + 17, 'x');  // several chunks, so a write fails midway
    bothKinds([&] {
        for (const auto& [step, error, reason] : {std::tuple{Step::Write, ENOSPC, "No space left on device"},
                                                   std::tuple{Step::Sync, EIO, "Input/output error"},
                                                   std::tuple{Step::Commit, EACCES, "Permission denied"}}) {
            put(path("week.xls"), "last week", 0444);
            int writes = 0;
            fileio::test_hooks::setFault([&, step = step, error = error](Step at) {
                if (at == Step::Write && ++writes < 2)
                    return 0;  // the first chunk goes through
                return at == step ? error : 0;
            });
            EXPECT_EQ(errorOf([&] { fileio::writeFile(path("week.xls"), large); }),
                      "Cannot write \"" + path("week.xls") + "\": " + reason);
            EXPECT_EQ(errorOf([&] { fileio::writeFile(path("new.xls"), large); }),
                      "Cannot write \"" + path("new.xls") + "\": " + reason);
            fileio::test_hooks::setFault({});
            EXPECT_EQ(read(path("week.xls")), "last week");
            EXPECT_EQ(modeOf(path("week.xls")), 0444u);
            EXPECT_EQ(entries(), Strings{"week.xls"});
        }
    });
}

TEST_F(AtomicWrite, AnUnnamedTemporaryTheSystemRefusesGivesWayToANamedOneAndOnlyTheTargetIsLeft)
{
    // Replacing renames the temporary over the target; creating only links it in and removes its name.
    for (const bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "over a file" : "a new file, created only");
        if (existing)
            put(path("week.xls"), "last week", 0640);
        int opens = 0;
        fileio::test_hooks::setFault([&](Step at) { return at == Step::OpenTemporary && ++opens == 1 ? EOPNOTSUPP : 0; });
        fileio::writeFile(path("week.xls"), "this week", {.replaceExisting = existing});
        fileio::test_hooks::setFault({});
        EXPECT_EQ(opens, 2) << "the unnamed file was tried, then a named one";
        EXPECT_EQ(read(path("week.xls")), "this week");
        if (existing)
            EXPECT_EQ(modeOf(path("week.xls")), 0640u);
        EXPECT_EQ(entries(), Strings{"week.xls"});
        ::unlink(path("week.xls").c_str());
    }
}

TEST_F(AtomicWrite, AFileWrittenPieceByPieceIsWholeAndAProducerThatThrowsKeepsTheOldFile)
{
    bothKinds([&] {
        put(path("temp.bmp"), "last picture");
        const auto pieces = [](const fileio::ByteSink& sink, int count) {
            for (int i = 0; i < count; ++i) {
                const std::string piece(100000 + i, static_cast<char>('a' + i));
                sink(piece.data(), piece.size());
            }
        };
        EXPECT_THROW(fileio::writeFileFrom(path("temp.bmp"), [&](const fileio::ByteSink& sink) {
            pieces(sink, 3);
            throw std::runtime_error("the painter ran out of memory");
        }),
                     std::runtime_error);
        EXPECT_EQ(read(path("temp.bmp")), "last picture");
        EXPECT_EQ(entries(), Strings{"temp.bmp"});

        // A working file is not synced: a sync that would fail is never tried.
        fileio::test_hooks::setFault([](Step at) { return at == Step::Sync ? EIO : 0; });
        fileio::writeFileFrom(path("temp.bmp"), [&](const fileio::ByteSink& sink) { pieces(sink, 4); }, {.durable = false});
        fileio::test_hooks::setFault({});
        std::string expected;
        for (int i = 0; i < 4; ++i)
            expected += std::string(100000 + i, static_cast<char>('a' + i));
        EXPECT_EQ(read(path("temp.bmp")), expected);
        EXPECT_EQ(entries(), Strings{"temp.bmp"});
    });
}

TEST_F(AtomicWrite, AProducerThatGoesBackFillsInItsHeaderAndAFailedWriteKeepsTheOldFile)
{
    bothKinds([&] {
        put(path("week.xls"), "last week");
        // A header of zeros written first and filled in last, over a body larger than one chunk.
        const std::string body(300000, 'b');
        const auto produce = [&](fileio::SeekableSink& sink) {
            sink.write("00000000", 8);
            sink.write(body.data(), body.size());
            sink.seek(2);
            sink.write("HEAD", 4);
            sink.seek(8 + body.size());
            sink.write("end", 3);
        };
        fileio::writeFileSeekable(path("week.xls"), produce);
        EXPECT_EQ(read(path("week.xls")), "00HEAD00" + body + "end");

        put(path("week.xls"), "last week");
        fileio::test_hooks::setFault([](Step at) { return at == Step::Write ? ENOSPC : 0; });
        EXPECT_EQ(errorOf([&] { fileio::writeFileSeekable(path("week.xls"), produce); }),
                  "Cannot write \"" + path("week.xls") + "\": No space left on device");
        fileio::test_hooks::setFault({});
        EXPECT_THROW(fileio::writeFileSeekable(path("week.xls"), [](fileio::SeekableSink& sink) {
            sink.write("half", 4);
            throw std::runtime_error("the workbook could not be built");
        }),
                     std::runtime_error);
        EXPECT_EQ(read(path("week.xls")), "last week");
        EXPECT_EQ(entries(), Strings{"week.xls"});
    });
}

TEST_F(AtomicWrite, CopiesAFileAndNamesTheSourceWhenItCannotBeRead)
{
    put(path("source.xls"), std::string(300000, 's'));
    put(path("copy.xls"), "old copy", 0664);
    fileio::copyFile(path("source.xls"), path("copy.xls"));
    EXPECT_EQ(read(path("copy.xls")), read(path("source.xls")));
    EXPECT_EQ(modeOf(path("copy.xls")), 0664u);

    EXPECT_EQ(errorOf([&] { fileio::copyFile(path("gone.xls"), path("copy.xls")); }),
              "Cannot read \"" + path("gone.xls") + "\": No such file or directory");
    EXPECT_EQ(read(path("copy.xls")), read(path("source.xls")));
    EXPECT_EQ(entries(), (Strings{"copy.xls", "source.xls"}));
}

TEST_F(AtomicWrite, AWriterKilledMidwayLeavesNothingOnceTheNextWriteInTheFolderRuns)
{
    put(path("week.xls"), "last week");
    // Names of our pattern that are not stale: a live writer's (pid 1 always runs) and one
    // without a pid, which this program never makes.
    put(path(".rostelle-save-1-abcdef"), "a live writer's");
    put(path(".rostelle-save-abcdef"), "not ours to judge");
    const Strings others{".rostelle-save-1-abcdef", ".rostelle-save-abcdef", "week.xls"};

    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            fileio::test_hooks::allowUnnamedTemporaries(unnamed);
            int writes = 0;
            fileio::test_hooks::setFault([&](Step at) {
                if (at == Step::Write && ++writes == 3)
                    ::raise(SIGKILL);
                return 0;
            });
            fileio::writeFile(path("week.xls"), std::string(2 * 1024 * 1024, 'n'));
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(read(path("week.xls")), "last week");

        Strings left = entries();
        if (unnamed && unnamedTemporariesWork(folder)) {
            EXPECT_EQ(left, others) << "an unnamed file vanishes with its process";
        } else {
            const std::string partial = ".rostelle-save-" + std::to_string(child) + "-";
            std::erase_if(left, [&](const std::string& name) { return std::find(others.begin(), others.end(), name) != others.end(); });
            ASSERT_EQ(left.size(), 1u);
            EXPECT_EQ(left[0].substr(0, partial.size()), partial) << "the killed writer's partial file, named with its pid";
        }
        fileio::writeFile(path("next.xls"), "next");
        ::unlink(path("next.xls").c_str());
        EXPECT_EQ(entries(), others);
    }
}
