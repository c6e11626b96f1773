// Fault sweeps over the file library's writes: each step of a save failing in turn, over an
// existing file and onto a new name (replacing or created only), with unnamed and with named
// temporary files, and a staged commit of two files.
#include "tests/fileio/FaultSweep.h"

#include "fileio/StagedWrites.h"
#include "tests/fileio/Scratch.h"

#include <string>
#include <utility>

using fileio_test::Scratch;
using fileio_test::SweptTarget;

namespace {

class FaultSweep : public Scratch {};

// Larger than one chunk, so that a write fails part way.
const std::string kLarge(300000, 'n');

}  // namespace

TEST_F(FaultSweep, AWriteThatFailsAtAnyStepKeepsTheTargetAndLeavesNoTemporaryFile)
{
    for (const bool unnamed : {true, false}) {
        // Over a file, onto a new name, and onto a new name created only (linked in, not renamed).
        for (const auto& [existing, replace] : {std::pair{true, true}, std::pair{false, true}, std::pair{false, false}}) {
            SCOPED_TRACE(std::string(unnamed ? "unnamed" : "named") + (existing ? ", over a file" : ", a new file")
                         + (replace ? "" : ", created only"));
            fileio::test_hooks::allowUnnamedTemporaries(unnamed);
            const std::string target = path("week.xls");
            const std::optional<std::string> before = existing ? std::optional<std::string>("last week") : std::nullopt;
            const int steps = fileio_test::sweepFaults(folder, {{target, before, kLarge}}, [&, replace = replace] {
                fileio::writeFile(target, kLarge, {.replaceExisting = replace});
            });
            // Open, two chunks, sync, commit, link or rename, folder open and sync at the least.
            EXPECT_GE(steps, 8);
        }
    }
}

TEST_F(FaultSweep, AStagedCommitOfTwoFilesThatFailsAtAnyStepKeepsBothTargets)
{
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        fileio::test_hooks::allowUnnamedTemporaries(unnamed);
        const std::vector<SweptTarget> targets{{path("week.xls"), "last week", kLarge},
                                               {path("week.pdf"), std::nullopt, "this week's PDF"}};
        const int steps = fileio_test::sweepFaults(folder, targets, [&] {
            fileio::StagedWrites staged;
            fileio::writeFile(targets[0].path, kLarge);
            fileio::writeFile(targets[1].path, "this week's PDF");
            staged.commit();
        });
        EXPECT_GE(steps, 14);
    }
}
