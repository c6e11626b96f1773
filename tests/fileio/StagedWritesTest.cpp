// Staged writes: nothing in place before the commit, an abandoned scope changes nothing, the held
// contents readable before they are placed, and a failure while placing puts the earlier targets
// back, with unnamed and with named temporary files.
#include "fileio/StagedWrites.h"
#include "fileio/TestHooks.h"
#include "tests/fileio/Scratch.h"

#include <algorithm>
#include <string>
#include <vector>

using fileio::test_hooks::Step;
using fileio_test::Scratch;
using Strings = std::vector<std::string>;

namespace {

class StagedWrites : public Scratch {
protected:
    template <class Body>
    void bothKinds(Body body)
    {
        for (const bool unnamed : {true, false}) {
            SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
            fileio::test_hooks::allowUnnamedTemporaries(unnamed);
            body();
        }
        fileio::test_hooks::allowUnnamedTemporaries(true);
    }
    // The folder's entries without the temporary files of a write in progress.
    Strings targets() const
    {
        Strings names = entries();
        std::erase_if(names, [](const std::string& name) { return name.starts_with(".rostelle-save-"); });
        return names;
    }
};

}  // namespace

TEST_F(StagedWrites, NothingIsInPlaceBeforeTheCommitAndAnAbandonedScopeChangesNothing)
{
    bothKinds([&] {
        put(path("week.xls"), "last week", 0444);
        {
            fileio::StagedWrites staged;
            fileio::writeFile(path("week.xls"), "this week");
            fileio::writeFile(path("week.pdf"), "this week's PDF");
            EXPECT_EQ(read(path("week.xls")), "last week");
            EXPECT_EQ(targets(), Strings{"week.xls"});
            EXPECT_EQ(read(staged.readablePath(path("week.xls"))), "this week");
            EXPECT_THROW(staged.readablePath(path("week.png")), fileio::FileError);
        }
        EXPECT_EQ(entries(), Strings{"week.xls"});

        {
            fileio::StagedWrites staged;
            fileio::writeFile(path("week.xls"), "this week");
            fileio::writeFile(path("week.pdf"), "this week's PDF");
            staged.commit();
            // Written at once again once the commit is made.
            fileio::writeFile(path("week.png"), "picture");
        }
        EXPECT_EQ(read(path("week.xls")), "this week");
        EXPECT_EQ(modeOf(path("week.xls")), 0444u);
        EXPECT_EQ(read(path("week.pdf")), "this week's PDF");
        EXPECT_EQ(entries(), (Strings{"week.pdf", "week.png", "week.xls"}));
        for (const char* name : {"week.pdf", "week.png", "week.xls"})
            ::unlink(path(name).c_str());
    });
}

TEST_F(StagedWrites, AFailureWhilePlacingPutsTheEarlierTargetsBackAndLeavesNoTemporaryFile)
{
    bothKinds([&] {
        // The first and the last replace a file, the middle one is new; the last to be placed fails.
        put(path("week.xls"), "last week", 0444);
        put(path("week.png"), "last picture");
        int commits = 0;
        fileio::test_hooks::setFault([&](Step at) { return at == Step::Commit && ++commits == 3 ? EIO : 0; });
        fileio::StagedWrites staged;
        fileio::writeFile(path("week.xls"), "this week");
        fileio::writeFile(path("week.pdf"), "this week's PDF");
        fileio::writeFile(path("week.png"), "this picture");
        try {
            staged.commit();
            ADD_FAILURE() << "the commit went through";
        } catch (const fileio::FileError& e) {
            EXPECT_EQ(e.wholeDescription(), "Cannot write \"" + path("week.png") + "\": Input/output error");
        }
        fileio::test_hooks::setFault({});
        EXPECT_TRUE(staged.stillReplaced().empty());
        EXPECT_EQ(read(path("week.xls")), "last week");
        EXPECT_EQ(modeOf(path("week.xls")), 0444u);
        EXPECT_EQ(read(path("week.png")), "last picture");
        EXPECT_EQ(entries(), (Strings{"week.png", "week.xls"}));
    });
}
