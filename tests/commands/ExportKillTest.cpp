// The built program's export of a large roster killed with SIGKILL at random moments, again and
// again: the target is afterwards either absent or the whole workbook, and no temporary file is
// ever left beside it.
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

class ExportKill : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString database = testing_support::workingDatabase(env);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(database).path()));
        ASSERT_TRUE(QDir().mkpath(out));
        QProcess roster;
        roster.start("python3", {ROSTELLE_ROSTER_SCRIPT, ROSTELLE_TEMPLATE_DATABASE, database, "two-shifts", "400"});
        ASSERT_TRUE(roster.waitForFinished(120000));
        ASSERT_EQ(roster.exitCode(), 0) << roster.readAllStandardError().toStdString();
    }

    std::unique_ptr<QProcess> start()
    {
        auto process = testing_support::startProgram(
            env, {{"--export", out + "/week.xls", "--week", "Week 1", "--interval", "15-minutes"}});
        EXPECT_TRUE(process->waitForStarted());
        return process;
    }
    QStringList leftIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    testing_support::TestEnvironment env;
    QString out = env.root() + "/out";
};

}  // namespace

TEST_F(ExportKill, KilledAtRandomMomentsItLeavesTheWholeWorkbookOrNothingAndNoTemporaryFile)
{
    QElapsedTimer timer;
    timer.start();
    const auto whole = start();
    ASSERT_TRUE(whole->waitForFinished(120000));
    const qint64 duration = timer.elapsed();
    ASSERT_EQ(whole->exitCode(), 0) << whole->readAllStandardError().toStdString();
    const QByteArray complete = testing_support::fileBytes(out + "/week.xls");
    QFile::remove(out + "/week.xls");
    const int probe = ::open(QFile::encodeName(out).constData(), O_TMPFILE | O_RDWR, 0600);
    const bool unnamedFilesWork = probe >= 0;
    if (probe >= 0)
        ::close(probe);

    for (int round = 0; round < 8; ++round) {
        // Mostly late in the run, where the workbook is being written.
        const auto delay = static_cast<unsigned long>(duration * (30 + QRandomGenerator::global()->bounded(75)) / 100);
        const auto killed = start();
        QThread::msleep(delay);
        const qint64 pid = killed->processId();
        ::kill(static_cast<pid_t>(pid), SIGKILL);
        killed->waitForFinished(60000);
        QStringList left = leftIn(out);
        SCOPED_TRACE("killed after " + std::to_string(delay) + " ms of " + std::to_string(duration));
        // Where the file system has no unnamed files, the killed writer's named one stays until
        // the next save into the folder sweeps it away.
        if (!unnamedFilesWork)
            left.removeIf([&](const QString& name) { return name.startsWith(QStringLiteral(".rostelle-save-%1-").arg(pid)); });
        EXPECT_TRUE(left.isEmpty() || left == QStringList{"week.xls"}) << left.join(' ').toStdString();
        if (left.contains("week.xls"))
            EXPECT_EQ(testing_support::fileBytes(out + "/week.xls"), complete);
        EXPECT_TRUE(leftIn(env.tempDir()).filter(".rostelle-save").isEmpty());
    }

    const auto last = start();
    ASSERT_TRUE(last->waitForFinished(120000));
    EXPECT_EQ(last->exitCode(), 0);
    EXPECT_EQ(leftIn(out), QStringList{"week.xls"});
    EXPECT_EQ(testing_support::fileBytes(out + "/week.xls"), complete);
}
