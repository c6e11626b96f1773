// The built program's commands against the store: which of them only read, and so work on a
// roster the user may not change.
#include "tests/support/TestEnvironment.h"

#include "sheet/Application.h"
#include "store/Connection.h"
#include "store/Employees.h"
#include "store/Shifts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <unistd.h>

using testing_support::TestEnvironment;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString err;
};

// Whether the program can be run without the rights that let root ignore file permissions.
// Root gets them taken away by setpriv; anyone else never had them.
bool canRunWithoutOverrideRights()
{
    if (geteuid() != 0)
        return true;
    return QProcess::execute("setpriv", {"--bounding-set", "-dac_override,-dac_read_search", "--", "true"}) == 0;
}

// Starts the built program with no display, in the test's own homes, bound by file permissions.
ProgramRun runWithoutOverrideRights(const TestEnvironment& env, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    environment.insert("XDG_DATA_HOME", env.dataHome());
    environment.insert("XDG_CONFIG_HOME", env.configHome());
    environment.insert("TMPDIR", env.tempDir());
    process.setProcessEnvironment(environment);
    if (geteuid() == 0)
        process.start("setpriv", QStringList{"--bounding-set", "-dac_override,-dac_read_search", "--",
                                             QStringLiteral(ROSTELLE_EXECUTABLE)} +
                                     arguments);
    else
        process.start(QStringLiteral(ROSTELLE_EXECUTABLE), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A working database with one employee and a Monday shift, in the test's data folder.
class ReadOnlyRosterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!canRunWithoutOverrideRights())
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
    std::string shown(const QString& workbook, const char* cell)
    {
        sheet::Application reader;
        return reader.Workbooks().Open(workbook.toStdString()).ActiveSheet().Range(cell).Text();
    }

    TestEnvironment env;
    QString folder = env.dataHome() + "/Tarrowby/Rostelle Software";
    QString database = folder + "/dbData.sqlite";
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

        const ProgramRun run = runWithoutOverrideRights(env, {"--export", workbook, "--interval", "hourly"});
        EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
        EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
        ASSERT_TRUE(QFile::exists(workbook));
        EXPECT_EQ(shown(workbook, "C6"), "Cook");
        EXPECT_EQ(fileBytes(database), before);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"dbData.sqlite"});
        restorePermissions();
    }
}

TEST_F(ReadOnlyRosterTest, SampleLoadStillNeedsToWriteAndSaysSo)
{
    makeReadOnly(true, false);
    const QByteArray before = fileBytes(database);
    const ProgramRun run = runWithoutOverrideRights(env, {"--load-sample"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("cannot be written: permission denied")) << qPrintable(run.err);
    EXPECT_EQ(fileBytes(database), before);
}
