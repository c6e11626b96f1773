// The built program's export only reads, so it works on a roster the user may not change; the
// sample load needs to write and says so. A change a killed writer left behind is undone where the
// export may write the file, and named for what it is where it may not; a busy roster says so.
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnvironment.h"

#include "sheet/Application.h"
#include "sheet/Range.h"
#include "sheet/Workbook.h"
#include "sheet/Worksheet.h"
#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

using testing_support::fileBytes;
using testing_support::ProgramRun;
using testing_support::TestEnvironment;

namespace {

// A working database with one employee and a Monday shift, in the test's data folder.
class ReadOnlyRosterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testing_support::canDropOverrideRights())
            GTEST_SKIP() << "cannot drop the rights that ignore file permissions";
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ROSTELLE_PROGRAM_DIR) + "/dbBlank.sqlite", database));
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
        store::Connection connection(QStringLiteral("read-only-roster"));
        connection.open(database);
        const qint64 ann = store::insertEmployee(connection, "Ann", "Cook");
        store::insertShift(connection, store::Weekday::Monday, ann, "08:00:00 AM", "10:00:00 AM");
    }
    void TearDown() override { restorePermissions(); }
    void restorePermissions()
    {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner);
    }
    void makeReadOnly(bool fileToo, bool folderToo)
    {
        if (fileToo)
            QFile::setPermissions(database, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (folderToo)
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                              QFile::ReadOther | QFile::ExeOther);
    }
    // A writer killed in the middle of a change large enough to reach the file: its journal stays.
    void leaveAChangeCutOff()
    {
        QProcess writer;
        writer.start("sqlite3", {database});
        ASSERT_TRUE(writer.waitForStarted());
        writer.write("pragma cache_size=2;\nbegin;\n"
                     "with recursive n(i) as (select 1 union all select i+1 from n where i<20000) "
                     "insert into tblEmployee (fldName, fldPosition) select 'Spill ' || i, 'Cook' from n;\n"
                     "select 'inserted';\n");
        ASSERT_TRUE(writer.waitForReadyRead(30000));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished();
        ASSERT_GT(QFileInfo(database + "-journal").size(), 0);
    }
    ProgramRun runBound(const QStringList& arguments)
    {
        return testing_support::finish(*testing_support::startProgram(env, {arguments, {}, true}));
    }

    TestEnvironment env;
    QString database = testing_support::workingDatabase(env);
    QString folder = QFileInfo(database).path();
    QString workbook = env.tempDir() + "/week.xls";
};

}  // namespace

TEST_F(ReadOnlyRosterTest, ExportReadsAReadOnlyFileOrFolderAndLeavesItAsFound)
{
    const struct {
        const char* what;
        bool file;
        bool folder;
    } cases[] = {{"file 0444", true, false}, {"folder 0555", false, true}, {"both", true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        makeReadOnly(c.file, c.folder);
        const QByteArray before = fileBytes(database);
        QFile::remove(workbook);

        const ProgramRun run = runBound({"--export", workbook, "--interval", "hourly"});
        EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
        EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
        ASSERT_TRUE(QFile::exists(workbook));
        sheet::Application reader;
        const sheet::Worksheet sheet = reader.Workbooks().Open(workbook.toStdString()).ActiveSheet();
        EXPECT_EQ(sheet.Range("C6").Text(), "Cook");
        EXPECT_EQ(sheet.Range("C6").Interior().ColorIndex(), 34);
        EXPECT_EQ(fileBytes(database), before);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"dbData.sqlite"});
        restorePermissions();
    }
}

TEST_F(ReadOnlyRosterTest, SampleLoadStillNeedsToWriteAndSaysSo)
{
    makeReadOnly(true, false);
    const QByteArray before = fileBytes(database);
    const ProgramRun run = runBound({"--load-sample"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot be written: permission denied")) << qPrintable(run.err);
    EXPECT_EQ(fileBytes(database), before);
}

TEST_F(ReadOnlyRosterTest, AChangeCutOffIsUndoneWhereTheExportMayWriteAndNamedWhereItMayNot)
{
    leaveAChangeCutOff();
    makeReadOnly(true, true);
    const ProgramRun refused = runBound({"--export", workbook, "--interval", "hourly"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("cut off")) << qPrintable(refused.err);
    EXPECT_TRUE(refused.err.contains("may write the file")) << qPrintable(refused.err);
    EXPECT_FALSE(refused.err.contains("not a usable")) << qPrintable(refused.err);
    EXPECT_FALSE(QFile::exists(workbook));

    restorePermissions();
    const ProgramRun run = runBound({"--export", workbook, "--interval", "hourly"});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_FALSE(QFile::exists(database + "-journal"));
    store::Connection connection(QStringLiteral("after-recovery"));
    connection.open(database, store::Access::ReadOnly);
    EXPECT_EQ(store::listEmployees(connection).size(), 1u) << "the cut-off change is gone";
}

TEST_F(ReadOnlyRosterTest, ABusyRosterSaysItIsBusyAndMayBeTriedAgain)
{
    store::Connection holder(QStringLiteral("busy-holder"));
    holder.open(database);
    holder.execute("begin exclusive");
    const ProgramRun run = runBound({"--export", workbook, "--interval", "hourly"});
    holder.execute("rollback");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("is busy")) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains("try again")) << qPrintable(run.err);
    EXPECT_FALSE(run.err.contains("not a usable")) << qPrintable(run.err);
}
