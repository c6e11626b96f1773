// "Save Results To Excel File": the dialog, the overwrite question, the copy and "Done.", a click
// during a save, a failing copy that must neither claim success nor lose the old file, the
// targets refused before the question, and the mode a replaced file keeps.
#include "tests/preview/PreviewFixture.h"

#include "app/ProtectedFiles.h"
#include "fileio/TestHooks.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using SaveSchedule = PreviewFixture;

namespace {
const QString kQuestion = QStringLiteral("Are you sure you wish to overwrite %1 ?");
}

TEST_F(SaveSchedule, CancelCopiesNothingAndStillSaysDone)
{
    form->setExcelFile(workbook);
    form->PushButton6_Click();
    EXPECT_EQ(dialogs.saveDialogTitles, QStringList{"Save File"});
    EXPECT_EQ(dialogs.saveDialogFilters, QStringList{"Excel Files (*.xls)|*.xls|"});
    EXPECT_EQ(dialogs.texts(), QStringList{"Done."});
    EXPECT_EQ(dialogs.messages[0].style, 0);
    EXPECT_FALSE(form->isSaving());
    EXPECT_EQ(QDir(env.tempDir()).entryList(QDir::Files), QStringList{"tquill12345678.xls"});
}

TEST_F(SaveSchedule, ExistingFileIsOverwrittenOnlyAfterYes)
{
    form->setExcelFile(workbook);
    const QString target = env.root() + "/week.xls";
    writeFile(target, "old schedule");

    dialogs.savePaths = {target};
    dialogs.answers = {app::msg::kNo};
    form->PushButton6_Click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, kQuestion.arg(target));
    EXPECT_EQ(dialogs.messages[0].style, app::msg::kYesNo);
    EXPECT_EQ(dialogs.messages[0].title, app::applicationTitle());
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Done."));
    EXPECT_EQ(fileBytes(target), QByteArray("old schedule"));

    dialogs.clear();
    dialogs.savePaths = {target};
    dialogs.answers = {app::msg::kYes};
    form->PushButton6_Click();
    EXPECT_EQ(dialogs.texts(), (QStringList{kQuestion.arg(target), "Done."}));
    EXPECT_EQ(fileBytes(target), fileBytes(workbook));
    EXPECT_EQ(QDir(env.root()).entryList({"week*"}, QDir::Files | QDir::Hidden), QStringList{"week.xls"});
}

TEST_F(SaveSchedule, NewNamesAreCopiedWithoutAQuestionAndTwiceGiveIdenticalCopies)
{
    form->setExcelFile(workbook);
    const QString first = env.root() + "/first.xls";
    const QString second = env.root() + "/second";  // used as typed, no extension added
    dialogs.savePaths = {first, second};
    form->PushButton6_Click();
    form->PushButton6_Click();
    EXPECT_EQ(dialogs.texts(), (QStringList{"Done.", "Done."}));
    EXPECT_EQ(fileBytes(first), QByteArray("working workbook bytes"));
    EXPECT_EQ(fileBytes(second), fileBytes(first));
    EXPECT_TRUE(QFile::exists(workbook));
}

TEST_F(SaveSchedule, AClickDuringASaveIsIgnored)
{
    handOver(QSize(100, 100));
    const QString target = env.root() + "/week.xls";
    dialogs.savePaths = {target, env.root() + "/other.xls"};
    int clicksWhileOpen = 0;
    dialogs.whileOpen = [&] {
        ++clicksWhileOpen;
        QTest::mouseClick(button("PushButton6"), Qt::LeftButton);
    };
    QTest::mouseClick(button("PushButton6"), Qt::LeftButton);
    EXPECT_EQ(clicksWhileOpen, 2);  // inside the save dialog and inside "Done."
    EXPECT_EQ(dialogs.saveDialogTitles.size(), 1);
    EXPECT_EQ(dialogs.texts(), QStringList{"Done."});
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(QFile::exists(env.root() + "/other.xls"));
    EXPECT_FALSE(form->isSaving());
}

TEST_F(SaveSchedule, AFailedCopyIsReportedNotCalledDoneAndKeepsTheOldFile)
{
    form->setExcelFile(workbook);
    // Into a folder that does not exist.
    dialogs.savePaths = {env.root() + "/missing/week.xls"};
    form->PushButton6_Click();
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_TRUE(dialogs.errorReports()[0].text.contains("in Rostellix2021/08/31.Form3.PushButton6_Click at line "));
    EXPECT_FALSE(dialogs.texts().contains("Done."));
    EXPECT_FALSE(form->isSaving());

    // Over an existing file, with the working workbook gone.
    dialogs.clear();
    const QString target = env.root() + "/week.xls";
    writeFile(target, "old schedule");
    QFile::remove(workbook);
    dialogs.savePaths = {target};
    dialogs.answers = {app::msg::kYes};
    form->PushButton6_Click();
    EXPECT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_FALSE(dialogs.texts().contains("Done."));
    EXPECT_EQ(fileBytes(target), QByteArray("old schedule"));
    EXPECT_EQ(QDir(env.root()).entryList({"week*"}, QDir::Files | QDir::Hidden), QStringList{"week.xls"});

    // The next save works again.
    dialogs.clear();
    writeFile(workbook, "rebuilt");
    dialogs.savePaths = {target};
    form->PushButton6_Click();
    EXPECT_EQ(dialogs.texts(), (QStringList{kQuestion.arg(target), "Done."}));
    EXPECT_EQ(fileBytes(target), QByteArray("rebuilt"));
}

TEST_F(SaveSchedule, TheProgramsOwnFilesAndWhatIsNotAFileAreRefusedWithoutTheQuestion)
{
    form->setExcelFile(workbook);
    app::protectProgramFiles();
    const QString database = app::paths::workingDatabase();
    QDir().mkpath(app::paths::dataFolder());
    writeFile(database, "the roster");
    ASSERT_EQ(::link(QFile::encodeName(database).constData(), QFile::encodeName(env.root() + "/hard.xls").constData()), 0);
    ASSERT_TRUE(QFile::link(database, env.root() + "/soft.xls"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(env.root() + "/pipe.xls").constData(), 0644), 0);

    const QString ownFile = QStringLiteral("it is the program's working database and is never written over");
    for (const auto& [target, reason] : {std::pair{database, ownFile}, std::pair{env.root() + "/hard.xls", ownFile},
                                         std::pair{env.root() + "/soft.xls", ownFile},
                                         std::pair{database + "-journal", QStringLiteral("a journal file")},
                                         std::pair{env.root() + "/pipe.xls", QStringLiteral("it is a named pipe, not a file")}}) {
        dialogs.clear();
        dialogs.savePaths = {target};
        form->PushButton6_Click();
        ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.texts().join('\n').toStdString();
        const QString report = dialogs.errorReports().at(0).text;
        EXPECT_TRUE(report.contains(reason)) << report.toStdString();
        EXPECT_TRUE(report.contains("in Rostellix2021/08/31.Form3.PushButton6_Click at line 106")) << report.toStdString();
        EXPECT_FALSE(form->isSaving());
    }
    EXPECT_EQ(fileBytes(database), QByteArray("the roster"));
    EXPECT_FALSE(QFile::exists(database + "-journal"));
    struct stat pipe {};
    ASSERT_EQ(::lstat(QFile::encodeName(env.root() + "/pipe.xls").constData(), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
}

TEST_F(SaveSchedule, AReadOnlyOrGroupWritableFileIsReplacedAfterYesAndKeepsItsMode)
{
    form->setExcelFile(workbook);
    const QString target = env.root() + "/week.xls";
    for (const mode_t mode : {0444u, 0664u}) {
        dialogs.clear();
        ::unlink(QFile::encodeName(target).constData());
        writeFile(target, "old schedule");
        ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), mode), 0);
        dialogs.savePaths = {target};
        dialogs.answers = {app::msg::kYes};
        form->PushButton6_Click();
        EXPECT_EQ(dialogs.texts(), (QStringList{kQuestion.arg(target), "Done."}));
        EXPECT_EQ(fileBytes(target), fileBytes(workbook));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
    }
}

TEST_F(SaveSchedule, AWriteThatFailsOnceTheFileIsOpenKeepsTheOldFileAndLeavesNothing)
{
    form->setExcelFile(workbook);
    const QString target = env.root() + "/week.xls";
    writeFile(target, "old schedule");
    fileio::test_hooks::setFault([](fileio::test_hooks::Step step) { return step == fileio::test_hooks::Step::Write ? ENOSPC : 0; });
    dialogs.savePaths = {target};
    form->PushButton6_Click();
    fileio::test_hooks::setFault({});
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_TRUE(dialogs.errorReports()[0].text.startsWith(QStringLiteral("Could not write \"%1\": No space left on device\r\n").arg(target)));
    EXPECT_FALSE(dialogs.texts().contains("Done."));
    EXPECT_EQ(fileBytes(target), QByteArray("old schedule"));
    EXPECT_EQ(QDir(env.root()).entryList({"*.xls", ".rostelle*"}, QDir::Files | QDir::Hidden), QStringList{"week.xls"});
}
