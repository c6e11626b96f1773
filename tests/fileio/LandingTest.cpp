// Whether two writes made one after the other end in one file. Each answer is checked against
// what the writer really does with the two paths: paths spelt differently, folders and files
// reached through links, and links that lead nowhere until the earlier write makes their file.
#include "fileio/AtomicWrite.h"
#include "fileio/Landing.h"
#include "tests/fileio/Scratch.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using fileio_test::Scratch;
using Landing = Scratch;

namespace {

struct Arrangement {
    const char* what;
    // Regular files present before either write.
    std::vector<std::string> files;
    // Symbolic links present before either write: name, and where it leads (a leading "/" means
    // the arrangement's own folder, so the link holds an absolute path).
    std::vector<std::pair<std::string, std::string>> links;
    std::string earlier;
    std::string later;
    bool oneFile;
};

}  // namespace

TEST_F(Landing, TwoWritesEndInOneFileExactlyWhenTheWriterPutsThemThere)
{
    const std::vector<Arrangement> arrangements = {
        {"the same path", {}, {}, "a.xls", "a.xls", true},
        {"the same path spelt another way", {}, {}, "a.xls", "sub/.././/a.xls", true},
        {"a name that differs only in case", {}, {}, "a.xls", "A.xls", false},
        {"a new file through a link to its folder", {}, {{"sub/up", ".."}}, "a.xls", "sub/up/a.xls", true},
        {"a file through a link to its folder", {"a.xls"}, {{"sub/up", ".."}}, "sub/up/a.xls", "a.xls", true},
        {"\"link/..\" goes up from where the link leads", {}, {{"deep", "sub/deeper"}}, "sub/a.xls", "deep/../a.xls", true},
        {"\"link/..\" is not the link's own folder", {}, {{"deep", "sub/deeper"}}, "a.xls", "deep/../a.xls", false},
        {"a file and a link to it", {"a.xls"}, {{"link.xls", "a.xls"}}, "link.xls", "a.xls", true},
        {"a link and the file it leads to", {"a.xls"}, {{"link.xls", "/a.xls"}}, "a.xls", "link.xls", true},
        {"a link that leads nowhere until the earlier write", {}, {{"link.pdf", "a.xls"}}, "a.xls", "link.pdf", true},
        {"the same, with an absolute link", {}, {{"link.pdf", "/a.xls"}}, "a.xls", "link.pdf", true},
        {"a link that leads nowhere, written first", {}, {{"link.xls", "b.pdf"}}, "link.xls", "b.pdf", false},
        {"two links that lead nowhere to one name", {}, {{"p.xls", "x"}, {"q.pdf", "x"}}, "p.xls", "q.pdf", false},
        {"a chain through the link the earlier write replaces", {}, {{"y.pdf", "z.xls"}, {"z.xls", "x"}}, "z.xls", "y.pdf", true},
        {"a chain whose first link the earlier write replaces", {}, {{"y.xls", "z.pdf"}, {"z.pdf", "x"}}, "y.xls", "z.pdf", false},
    };
    int number = 0;
    for (const Arrangement& arrangement : arrangements) {
        SCOPED_TRACE(arrangement.what);
        const std::string root = path("case-" + std::to_string(++number));
        const auto at = [&](const std::string& name) { return root + "/" + name; };
        for (const char* folder : {"", "/sub", "/sub/deeper"})
            ASSERT_EQ(::mkdir((root + folder).c_str(), 0755), 0);
        for (const std::string& file : arrangement.files)
            put(at(file), "before");
        for (const auto& [name, leadsTo] : arrangement.links)
            ASSERT_EQ(::symlink((leadsTo.front() == '/' ? root + leadsTo : leadsTo).c_str(), at(name).c_str()), 0);

        EXPECT_EQ(fileio::sameFile(at(arrangement.earlier), at(arrangement.later)), arrangement.oneFile);

        fileio::writeFile(at(arrangement.earlier), "earlier");
        fileio::writeFile(at(arrangement.later), "later");
        EXPECT_EQ(read(at(arrangement.earlier)), arrangement.oneFile ? "later" : "earlier") << "what the writer did";
    }
}

TEST_F(Landing, RelativePathsAndLoopsOfLinks)
{
    ASSERT_EQ(::mkdir(path("sub").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("loop-b", path("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", path("loop-b").c_str()), 0);
    struct BackAfterwards {
        char* was = ::getcwd(nullptr, 0);
        ~BackAfterwards() { (void)!::chdir(was); std::free(was); }
    } back;
    ASSERT_EQ(::chdir(path("sub").c_str()), 0);

    EXPECT_TRUE(fileio::sameFile("a.xls", path("sub/a.xls")));
    EXPECT_TRUE(fileio::sameFile("../a.xls", path("a.xls")));
    EXPECT_FALSE(fileio::sameFile("a.xls", path("a.xls")));
    // A folder that does not exist compares by its path.
    EXPECT_TRUE(fileio::sameFile("missing/a.xls", "missing/a.xls"));
    EXPECT_FALSE(fileio::sameFile("missing/a.xls", "other/a.xls"));
    // A loop of links is followed only as far as the system would follow it.
    EXPECT_FALSE(fileio::sameFile(path("x.xls"), path("loop-a")));
    EXPECT_TRUE(fileio::sameFile(path("loop-a"), path("loop-a")));
}
