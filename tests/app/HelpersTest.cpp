// The shared helpers: the data folder's root, the file test, the forced delete, the title.
#include "app/Helpers.h"
#include "app/Dialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using testing_support::TestEnvironment;

namespace {
QString writeFile(const QString& path, const QByteArray& bytes = "x")
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}
}  // namespace

TEST(Helpers, SpecialFolderPathOfCommonAppDataFollowsTheDataHomeAndUnknownIdsAreEmpty)
{
    TestEnvironment env;
    EXPECT_EQ(app::SpecialFolderPath(35), env.dataHome());
    EXPECT_EQ(app::SpecialFolderPath(0), QString());
    EXPECT_EQ(app::SpecialFolderPath(-1), QString());
}

TEST(Helpers, FileExistsOnlyForAFileThatIsThere)
{
    TestEnvironment env;
    const QString file = writeFile(env.root() + "/present.txt");
    EXPECT_TRUE(app::FileExists(file));
    EXPECT_FALSE(app::FileExists(env.root() + "/absent.txt"));
    EXPECT_FALSE(app::FileExists(env.root() + "/no-such-folder/present.txt"));
    EXPECT_FALSE(app::FileExists(QString()));
    EXPECT_FALSE(app::FileExists(env.root()));  // a folder is not a file
}

TEST(Helpers, DeleteFileForcedDeletesAReadOnlyFileAndIgnoresAMissingOne)
{
    TestEnvironment env;
    const QString file = writeFile(env.root() + "/locked.txt");
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadUser));
    app::DeleteFileForced(file);
    EXPECT_FALSE(QFile::exists(file));

    app::DeleteFileForced(env.root() + "/never-there.txt");  // nothing to delete, nothing thrown
    app::DeleteFileForced(QString());
    EXPECT_TRUE(QDir(env.root()).exists());
}

TEST(Helpers, DeleteFileForcedLeavesAFolderAlone)
{
    TestEnvironment env;
    QDir(env.root()).mkdir("keep");
    app::DeleteFileForced(env.root() + "/keep");
    EXPECT_TRUE(QDir(env.root() + "/keep").exists());
}

TEST(Helpers, ShortenAppTitleAlwaysDropsTheLastWordAndShrinksLongNamesToForty)
{
    EXPECT_EQ(app::shortenedTitle("Rostelle Software"), "Rostelle");

    // 45 characters whose last word has 6 letters: one cut leaves 38.
    const QString name45 = QString("Abcdefghij Abcdefghij Abcdefghij Abcde") + " Abcdef";
    ASSERT_EQ(name45.size(), 45);
    EXPECT_EQ(app::shortenedTitle(name45), "Abcdefghij Abcdefghij Abcdefghij Abcde");

    // 60 characters: cut word by word until 40 or shorter.
    const QString sixty = "Aaaa Bbbb Cccc Dddd Eeee Ffff Gggg Hhhh Iiii Jjjj Kkkk Llll";
    ASSERT_EQ(sixty.size(), 59);
    const QString name60 = sixty + "m";
    const QString shortened = app::shortenedTitle(name60);
    EXPECT_LE(shortened.size(), 40);
    EXPECT_EQ(shortened, "Aaaa Bbbb Cccc Dddd Eeee Ffff Gggg Hhhh");

    // 20 characters still lose the last word.
    EXPECT_EQ(app::shortenedTitle("Twenty Chars Exactly"), "Twenty Chars");
    EXPECT_EQ(app::shortenedTitle("Single"), "Single");
}

TEST(Helpers, ShortenAppTitleSetsTheApplicationTitle)
{
    app::setApplicationTitle("something else");
    app::ShortenAppTitle();
    EXPECT_EQ(app::applicationTitle(), "Rostelle");
}
