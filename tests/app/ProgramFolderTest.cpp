// Where the program finds its read-only files: in the installed layout of any prefix, and beside
// the executable in the build tree.
#include "app/Paths.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using testing_support::TestEnvironment;

TEST(ProgramFolder, InstalledLayoutInAnyPrefixElseBesideTheExecutable)
{
    TestEnvironment env;
    const QString prefix = env.root() + "/opt/any prefix";
    ASSERT_TRUE(QDir().mkpath(prefix + "/bin"));
    ASSERT_TRUE(QDir().mkpath(prefix + "/share/rostelle"));
    EXPECT_EQ(app::paths::programFolderOf(prefix + "/bin"), prefix + "/share/rostelle");

    // A build folder has no share/rostelle beside it, and something of that name that is not a
    // folder does not count.
    const QString build = env.root() + "/work/build";
    ASSERT_TRUE(QDir().mkpath(build));
    EXPECT_EQ(app::paths::programFolderOf(build), build);
    ASSERT_TRUE(QDir().mkpath(env.root() + "/other/share"));
    QFile notAFolder(env.root() + "/other/share/rostelle");
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    ASSERT_TRUE(QDir().mkpath(env.root() + "/other/bin"));
    EXPECT_EQ(app::paths::programFolderOf(env.root() + "/other/bin"), env.root() + "/other/bin");
}
