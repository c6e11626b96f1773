// The program's files and folders: the data path made with its parents in a brand-new account,
// the template copy that fails plainly, the temporary folder, and the program's own files, which
// no export may write over, nor anything that is not a file; in the functions that decide and in
// the built program run as a script runs it, including with a file name that is not UTF-8.
#include "app/DataSetup.h"
#include "app/FileNames.h"
#include "app/Paths.h"
#include "app/ProtectedFiles.h"
#include "app/Settings.h"
#include "app/Trap.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnvironment.h"

#include "fileio/TestHooks.h"
#include "store/Connection.h"
#include "store/Shifts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using testing_support::fileBytes;
using testing_support::ProgramRun;
using testing_support::runProgram;
using testing_support::runProgramInShell;
using testing_support::TestEnvironment;
using testing_support::workingDatabase;
using testing_support::writeFile;
using testing_support::writeSettings;

namespace {

QString failureOf(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const app::Failure& e) {
        return app::fromSystemBytes(e.wholeDescription());
    }
    return QStringLiteral("no failure");
}

// Every entry of the folder, hidden ones and any kind included, as the bytes of their names.
std::vector<std::string> namesIn(const QString& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.toStdString()))
        names.push_back(entry.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class ProgramFiles : public ::testing::Test {
protected:
    void SetUp() override { app::paths::setProgramFolder(QStringLiteral(ROSTELLE_PROGRAM_DIR)); }
    void TearDown() override
    {
        fileio::test_hooks::setFault({});
        app::paths::setProgramFolder(QString());
    }
    TestEnvironment env;
};

}  // namespace

TEST_F(ProgramFiles, TheTemplateCopyIsWholeOrAbsentAndSaysPlainlyWhatWentWrong)
{
    const QString working = env.root() + "/dbData.sqlite";
    fileio::test_hooks::setFault([](fileio::test_hooks::Step) { return ENOSPC; });
    EXPECT_EQ(failureOf([&] { app::copyTemplateDatabase(app::paths::templateDatabase(), working); }),
              QStringLiteral("Cannot copy %1 to %2: No space left on device").arg(app::paths::templateDatabase(), working));
    fileio::test_hooks::setFault({});
    EXPECT_EQ(QDir(env.root()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // A read-only template still gives a writable working database.
    const QString readOnly = env.root() + "/dbBlank.sqlite";
    ASSERT_TRUE(QFile::copy(app::paths::templateDatabase(), readOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    app::copyTemplateDatabase(readOnly, working);
    EXPECT_EQ(fileBytes(working), fileBytes(readOnly));
    EXPECT_EQ(modeOf(working) & 0600, 0600u);

    // An existing working database is never replaced.
    writeFile(working, "the roster");
    EXPECT_TRUE(failureOf([&] { app::copyTemplateDatabase(readOnly, working); }).endsWith(": File exists"));
    EXPECT_EQ(fileBytes(working), "the roster");
}

TEST_F(ProgramFiles, TheTemporaryFolderIsTmpdirOnlyWhenItIsAWritableFolder)
{
    EXPECT_EQ(app::paths::temporaryFolder(), env.tempDir());
    qputenv("TMPDIR", (env.tempDir() + "//").toUtf8());
    EXPECT_EQ(app::paths::temporaryFolder(), env.tempDir());
    for (const QString& unusable : {env.root() + "/missing", env.root() + "/file", QString()}) {
        qputenv("TMPDIR", unusable.toUtf8());
        EXPECT_EQ(app::paths::temporaryFolder(), QStringLiteral("/tmp")) << unusable.toStdString();
    }
    writeFile(env.root() + "/file", "not a folder");
    qputenv("TMPDIR", (env.root() + "/file").toUtf8());
    EXPECT_EQ(app::paths::temporaryFolder(), QStringLiteral("/tmp"));
}

TEST_F(ProgramFiles, TheProgramsOwnFilesAreRefusedAsTargetsWhereverTheyAre)
{
    const QString program = env.root() + "/program";
    QDir().mkpath(program);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ROSTELLE_PROGRAM_DIR "/dbBlank.sqlite"), program + "/dbBlank.sqlite"));
    app::paths::setProgramFolder(program);
    app::Settings::store(app::Settings::kDepartment, "Bar");
    app::protectProgramFiles();

    const QString database = app::paths::workingDatabase();
    const auto refusal = [](const QString& path) { return app::writeRefusal(path).value_or("accepted"); };
    const QString never = QStringLiteral(" and is never written over");
    EXPECT_EQ(refusal(program + "/dbBlank.sqlite"),
              QStringLiteral("Cannot write \"%1/dbBlank.sqlite\": it is the program's template database").arg(program) + never);
    EXPECT_EQ(refusal(app::Settings::fileName()),
              QStringLiteral("Cannot write \"%1\": it is the program's settings file").arg(app::Settings::fileName()) + never);
    EXPECT_TRUE(refusal(database + "-wal").endsWith("a journal file of the program's working database" + never));
    EXPECT_EQ(refusal(env.root() + "/week.xls"), QStringLiteral("accepted"));
}

TEST_F(ProgramFiles, ABrandNewAccountLoadsTheSampleAndExports)
{
    const QString home = env.root() + "/home";
    QDir().mkpath(home);
    const auto newAccount = [&](QProcessEnvironment& environment) {
        environment.insert("HOME", home);
        environment.remove("XDG_DATA_HOME");
        environment.remove("XDG_CONFIG_HOME");
    };

    const ProgramRun sample = runProgram(env, {"--load-sample"}, newAccount);
    EXPECT_EQ(sample.exitCode, 0) << sample.err.toStdString();
    const QString data = home + "/.local/share/Tarrowby/Rostelle Software";
    EXPECT_TRUE(QFileInfo(data + "/dbData.sqlite").isFile());
    for (const QString& made : {home + "/.local", home + "/.local/share", home + "/.local/share/Tarrowby", data})
        EXPECT_EQ(modeOf(made), 0700u) << made.toStdString();

    QDir(home).removeRecursively();
    QDir().mkpath(home);
    const ProgramRun exported = runProgram(env, {"--export", env.tempDir() + "/week.xls"}, newAccount);
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(QFileInfo(env.tempDir() + "/week.xls").isFile());
    EXPECT_TRUE(QFileInfo(data + "/dbData.sqlite").isFile());
}

TEST_F(ProgramFiles, ARelativeDataOrConfigHomeIsIgnoredForTheDefault)
{
    const QString home = env.root() + "/home";
    QDir().mkpath(home + "/.config/Tarrowby");
    // The settings in the default config home ask for the quarter-hour sample.
    testing_support::writeFile(home + "/.config/Tarrowby/Tarrowby.conf",
                               "[Rostelle%20Software]\nOption3=False\nOption5=True\n");
    const auto relativeHomes = [&](QProcessEnvironment& environment) {
        environment.insert("HOME", home);
        environment.insert("XDG_DATA_HOME", "data");
        environment.insert("XDG_CONFIG_HOME", "config");
    };
    const ProgramRun sample = runProgram(env, {"--load-sample"}, relativeHomes);
    ASSERT_EQ(sample.exitCode, 0) << sample.err.toStdString();
    // The working folder of the run is the temporary folder: nothing was made there.
    EXPECT_EQ(QDir(env.tempDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    const QString database = home + "/.local/share/Tarrowby/Rostelle Software/dbData.sqlite";
    ASSERT_TRUE(QFileInfo(database).isFile());
    store::Connection connection(QStringLiteral("relative-homes"));
    connection.open(database);
    const auto monday = store::listShifts(connection, store::Weekday::Monday);
    ASSERT_FALSE(monday.empty());
    EXPECT_EQ(monday.front().timeIn, "8:15:00 AM");
}

TEST_F(ProgramFiles, AnExportNeverWritesOverTheProgramsOwnFiles)
{
    ASSERT_EQ(runProgram(env, {"--load-sample"}).exitCode, 0);
    const QString database = workingDatabase(env);
    const QString settings = writeSettings(env, "Department=Bar");
    const QByteArray roster = fileBytes(database);
    const QByteArray remembered = fileBytes(settings);
    QFile::link(database, env.tempDir() + "/soft-link.xls");
    QFile::link(database, env.tempDir() + "/soft-link.png");
    ASSERT_EQ(::link(QFile::encodeName(database).constData(), QFile::encodeName(env.tempDir() + "/hard-link.xls").constData()), 0);

    struct Case {
        QStringList arguments;
        const char* reason;
    };
    const QString picture = env.tempDir() + "/week.png";
    for (const Case& refused : {Case{{"--export", database}, "it is the program's working database"},
                                Case{{"--export", env.tempDir() + "/soft-link.xls"}, "it is the program's working database"},
                                Case{{"--export", env.tempDir() + "/hard-link.xls"}, "it is the program's working database"},
                                Case{{"--export", database + "-journal"}, "a journal file of the program's working database"},
                                Case{{"--export", settings}, "it is the program's settings file"},
                                Case{{"--export", env.tempDir() + "/week.xls", "--picture", env.tempDir() + "/soft-link.png"},
                                     "it is the program's working database"}}) {
        const ProgramRun result = runProgram(env, refused.arguments);
        EXPECT_EQ(result.exitCode, 2) << refused.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(refused.reason)) << result.err.toStdString();
    }
    EXPECT_EQ(fileBytes(database), roster);
    EXPECT_FALSE(QFile::exists(database + "-journal"));
    EXPECT_FALSE(QFile::exists(env.tempDir() + "/week.xls")) << "a refused picture stops the export before it writes";
    EXPECT_EQ(fileBytes(settings), remembered);
}

TEST_F(ProgramFiles, AnExportRefusesWhatIsNotAFile)
{
    const QByteArray pipe = QFile::encodeName(env.tempDir() + "/pipe.xls");
    ASSERT_EQ(::mkfifo(pipe.constData(), 0644), 0);
    QDir().mkpath(env.tempDir() + "/folder.xls");
    for (const auto& [target, reason] : {std::pair{env.tempDir() + "/pipe.xls", "it is a named pipe, not a file"},
                                         std::pair{env.tempDir() + "/folder.xls", "it is a folder"},
                                         std::pair{QStringLiteral("/dev/stdout"), "it is a named pipe, not a file"}}) {
        const ProgramRun result = runProgram(env, {"--export", target});
        EXPECT_EQ(result.exitCode, 2) << target.toStdString();
        EXPECT_TRUE(result.err.contains(reason)) << result.err.toStdString();
    }
    struct stat info {};
    ASSERT_EQ(::lstat(pipe.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(namesIn(env.tempDir()), (std::vector<std::string>{"folder.xls", "pipe.xls"}));
}

TEST_F(ProgramFiles, AFileNameThatIsNotUtf8KeepsItsBytes)
{
    const ProgramRun written = runProgramInShell(env, "--export \"$(printf 'caf\\351.xls')\"");
    EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_EQ(namesIn(env.tempDir()), std::vector<std::string>{"caf\xE9.xls"});

    // A message names it readably.
    const ProgramRun failed = runProgramInShell(env, "--export \"$(printf 'missing\\351/week.xls')\"");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("missing\\xE9/week.xls")) << failed.err.toStdString();
}
