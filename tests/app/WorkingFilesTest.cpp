// The working workbooks the window's builds leave in the temporary folder, in the real program: a
// termination signal with the preview open ends it as closing the preview does, and a start-up
// removes the working files nobody owns while leaving those another copy holds.
#include "tests/support/ProgramRun.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <unistd.h>

namespace {

class WorkingFilesTest : public ::testing::Test {
protected:
    // The window on the offscreen platform, without a display.
    std::unique_ptr<QProcess> startWindow(bool buildAtStart)
    {
        return testing_support::startProgram(env, {{}, [buildAtStart](QProcessEnvironment& e) {
                                                        e.insert("QT_QPA_PLATFORM", "offscreen");
                                                        if (buildAtStart)
                                                            e.insert("ROSTELLE_TEST_BUILD_AT_START", "1");
                                                    }, false});
    }
    QStringList workingFiles() const { return QDir(env.tempDir()).entryList({"tquill*.xls"}, QDir::Files); }
    static bool waitFor(const std::function<bool()>& condition)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > 60000)
                return false;
            QThread::msleep(50);
        }
        return true;
    }
    // A file of the working pattern, last written `age` seconds ago.
    QString putWorkingFile(const QString& name, int age) const
    {
        const QString path = env.tempDir() + "/" + name;
        testing_support::writeFile(path, "a working workbook");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
        return path;
    }
    static bool heldBySomeone(const QString& path)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        if (fd >= 0)
            ::close(fd);
        return held;
    }

    testing_support::TestEnvironment env;
};

}  // namespace

TEST_F(WorkingFilesTest, ATerminationSignalWithThePreviewOpenDeletesTheWorkingFile)
{
    ASSERT_TRUE(QDir().mkpath(env.tempDir()));
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        // One ignored here is ignored in the program too, as a job started under nohup keeps it.
        struct sigaction inherited {};
        if (::sigaction(signal, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            continue;
        const auto program = startWindow(true);
        ASSERT_TRUE(program->waitForStarted());
        // The preview is up once its working workbook exists and the build's picture is gone.
        ASSERT_TRUE(waitFor([&] { return workingFiles().size() == 1 && !QFile::exists(env.tempDir() + "/temp.bmp"); }))
            << program->readAllStandardError().toStdString();
        EXPECT_TRUE(heldBySomeone(env.tempDir() + "/" + workingFiles().constFirst())) << "held while the preview owns it";
        QThread::msleep(300);
        ::kill(static_cast<pid_t>(program->processId()), signal);
        const testing_support::ProgramRun result = testing_support::finish(*program);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(workingFiles(), QStringList());
    }
}

TEST_F(WorkingFilesTest, AStartUpRemovesAbandonedWorkingFilesAndKeepsThoseHeldOrJustWritten)
{
    ASSERT_TRUE(QDir().mkpath(env.tempDir()));
    putWorkingFile("tquill11111111.xls", 3600);
    const QString held = putWorkingFile("tquill22222222.xls", 3600);
    putWorkingFile("tquill33333333.xls", 0);
    putWorkingFile("tquill1234.xls", 3600);  // not a name the program makes
    const int holder = ::open(QFile::encodeName(held).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_SH), 0);

    const auto program = startWindow(false);
    ASSERT_TRUE(program->waitForStarted());
    EXPECT_TRUE(waitFor([&] { return !QFile::exists(env.tempDir() + "/tquill11111111.xls"); }));
    // The main window alone ends as its closing does.
    program->terminate();
    const testing_support::ProgramRun result = testing_support::finish(*program);
    ::close(holder);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(workingFiles(), (QStringList{"tquill1234.xls", "tquill22222222.xls", "tquill33333333.xls"}));
}
