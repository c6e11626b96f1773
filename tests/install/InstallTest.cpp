// The installed program: what `cmake --install` puts where, whether the desktop's validators
// accept it, and whether the installed program works from wherever its prefix ends up.
#include "tests/support/TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <ostream>

using testing_support::TestEnvironment;

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

const QString kId = QStringLiteral(ROSTELLE_DESKTOP_ID);
const QList<int> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program with exactly the environment given (nothing inherited).
Outcome run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = {})
{
    QProcess process;
    process.setProcessEnvironment(environment.isEmpty() ? QProcessEnvironment::systemEnvironment() : environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// Installs this build into the prefix; empty when that worked, else what cmake said.
QString install(const QString& prefix)
{
    const Outcome installed = run(QStringLiteral(ROSTELLE_CMAKE), {"--install", ROSTELLE_BUILD_DIR, "--prefix", prefix});
    return installed.exitCode == 0 ? QString() : installed.out + installed.err;
}

// Every file under the folder, relative to it, with a digest of its bytes, size and time.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray state = QByteArray::number(info.size()) + ' '
            + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
        QFile file(path);
        if (info.isFile() && file.open(QIODevice::ReadOnly))
            state += ' ' + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        files.insert(QDir(folder).relativeFilePath(path), state);
    }
    return files;
}

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A fresh account: an empty home (not even its data and settings folders), no session, no
// display, the system's search path.
QProcessEnvironment cleanAccount(const TestEnvironment& env)
{
    const QString home = env.root() + "/home";
    QDir().mkpath(home);
    QProcessEnvironment environment;
    environment.insert("HOME", home);
    environment.insert("PATH", "/usr/bin:/bin");
    environment.insert("TMPDIR", env.tempDir());
    environment.insert("LANG", "C.UTF-8");
    return environment;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        prefix = env.root() + "/prefix";
        const QString failure = install(prefix);
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    }
    QString file(const QString& relative) const { return prefix + '/' + relative; }

    TestEnvironment env;
    QString prefix;
};

}  // namespace

TEST_F(InstallTest, EachFileGoesWhereTheSystemLooksForItAndNothingElseIsInstalled)
{
    QSet<QString> expected = {
        "bin/rostelle",
        ROSTELLE_PAINTING_PART,
        ROSTELLE_WINDOW_PART,
        "share/rostelle/dbBlank.sqlite",
        "share/rostelle/HAND-M.CUR",
        "share/rostelle/rostelle.png",
        "share/applications/" + kId + ".desktop",
        "share/metainfo/" + kId + ".metainfo.xml",
        "share/icons/hicolor/scalable/apps/" + kId + ".svg",
        "share/man/man1/rostelle.1.gz",
        "share/doc/rostelle/copyright",
        "share/doc/rostelle/changelog.gz",
    };
    for (const int size : kIconSizes)
        expected << QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId);
    QSet<QString> installed;
    QDirIterator it(prefix, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        installed << QDir(prefix).relativeFilePath(it.next());
    EXPECT_EQ(installed, expected);

    EXPECT_TRUE(QFileInfo(file("bin/rostelle")).isExecutable());
    for (const int size : kIconSizes) {
        const QImage icon(file(QString("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId)));
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel());
    }
    EXPECT_EQ(QImage(file("share/rostelle/rostelle.png")).size(), QSize(256, 256));
}

// Each part of the program loads only the libraries it uses: the commands that paint nothing start
// without the graphics library, those that paint without the widgets; the window has both.
TEST_F(InstallTest, EachPartOfTheProgramLoadsOnlyTheLibrariesItUses)
{
    const auto needs = [&](const QString& relative) {
        const Outcome dynamic = run(READELF, {"-d", file(relative)});
        EXPECT_EQ(dynamic.exitCode, 0) << dynamic.err.toStdString();
        QStringList libraries;
        for (const QRegularExpressionMatch& match : QRegularExpression(R"(NEEDED.*\[(libQt6\w+))").globalMatch(dynamic.out))
            libraries << match.captured(1);
        libraries.sort();
        return libraries.join(' ');
    };
    EXPECT_EQ(needs("bin/rostelle"), "libQt6Core libQt6Sql");
    EXPECT_EQ(needs(ROSTELLE_PAINTING_PART), "libQt6Core libQt6Gui libQt6Sql");
    EXPECT_EQ(needs(ROSTELLE_WINDOW_PART), "libQt6Core libQt6Gui libQt6PrintSupport libQt6Sql libQt6Widgets");
}

TEST_F(InstallTest, TheDesktopEntryAndTheMetainfoPassTheirValidatorsAndAgree)
{
    const QString entry = file("share/applications/" + kId + ".desktop");
    const QString metainfo = file("share/metainfo/" + kId + ".metainfo.xml");
    const Outcome desktop = run(DESKTOP_FILE_VALIDATE, {entry});
    EXPECT_EQ(desktop.exitCode, 0);
    EXPECT_EQ(desktop.out + desktop.err, "");
    const Outcome appstream = run(APPSTREAMCLI, {"validate", "--no-net", metainfo});
    EXPECT_EQ(appstream.exitCode, 0) << appstream.out.toStdString();

    // The entry starts the installed program by name and shows the installed icon.
    const QString text = readText(entry);
    EXPECT_TRUE(text.contains(QRegularExpression("^Exec=rostelle$", QRegularExpression::MultilineOption)));
    EXPECT_TRUE(text.contains(QRegularExpression("^Icon=" + QRegularExpression::escape(kId) + "$",
                                                 QRegularExpression::MultilineOption)));
    // The metainfo launches that entry, and its newest release is this version.
    const QString component = readText(metainfo);
    EXPECT_TRUE(component.contains("<launchable type=\"desktop-id\">" + kId + ".desktop</launchable>"));
    const QRegularExpressionMatch release = QRegularExpression("<release version=\"([^\"]+)\"").match(component);
    ASSERT_TRUE(release.hasMatch());
    EXPECT_EQ(release.captured(1), ROSTELLE_VERSION);
}

TEST_F(InstallTest, TheManualPageRendersCleanlyAndDescribesEveryOption)
{
    QFile compressed(file("share/man/man1/rostelle.1.gz"));
    ASSERT_TRUE(compressed.open(QIODevice::ReadOnly));
    QProcess gunzip;
    gunzip.start("gzip", {"-dc"});
    gunzip.write(compressed.readAll());
    gunzip.closeWriteChannel();
    ASSERT_TRUE(gunzip.waitForFinished());
    const QByteArray page = gunzip.readAllStandardOutput();
    ASSERT_FALSE(page.isEmpty());

    QProcess groff;
    groff.start(GROFF, {"-man", "-Tutf8", "-ww", "-P", "-cbou"});
    groff.write(page);
    groff.closeWriteChannel();
    ASSERT_TRUE(groff.waitForFinished());
    EXPECT_EQ(groff.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(groff.readAllStandardError()), "");
    const QString shown = QString::fromUtf8(groff.readAllStandardOutput()).replace(QChar(0x2010), '-');

    const Outcome help = run(file("bin/rostelle"), {"--help"});
    ASSERT_EQ(help.exitCode, 0);
    QSet<QString> options;
    for (const QRegularExpressionMatch& match : QRegularExpression("--[a-z][a-z0-9-]*").globalMatch(help.out))
        options << match.captured();
    EXPECT_GE(options.size(), 8);
    // Each option heads an entry of its own in the OPTIONS section.
    const qsizetype from = shown.indexOf("\nOPTIONS\n");
    const qsizetype to = shown.indexOf(QRegularExpression("\n[A-Z][A-Z ]+\n"), from + 1);
    ASSERT_GT(from, 0);
    const QString section = shown.mid(from, to - from);
    for (const QString& option : options)
        EXPECT_TRUE(section.contains(QRegularExpression("\n {7}(-[a-z], )?" + option + "\\b")))
            << option.toStdString() << " has no entry in the manual page";
    EXPECT_TRUE(shown.contains("Rostelle " ROSTELLE_VERSION));
}

TEST_F(InstallTest, TheInstalledProgramWorksFromAnyPrefixInACleanAccountAndWritesNothingBesideItself)
{
    // Moved after installing: nothing may depend on the prefix it was installed to.
    const QString moved = env.root() + "/elsewhere/moved prefix";
    ASSERT_TRUE(QDir().mkpath(env.root() + "/elsewhere"));
    ASSERT_TRUE(QDir().rename(prefix, moved));
    const QMap<QString, QByteArray> before = snapshot(moved);
    const QString program = moved + "/bin/rostelle";
    const QProcessEnvironment account = cleanAccount(env);

    const Outcome version = run(program, {"--version"}, account);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "rostelle " ROSTELLE_VERSION "\n");

    const Outcome sample = run(program, {"--load-sample"}, account);
    EXPECT_EQ(sample.exitCode, 0) << sample.err.toStdString();
    EXPECT_EQ(sample.err, "");
    EXPECT_TRUE(QFile::exists(account.value("HOME") + "/.local/share/Tarrowby/Rostelle Software/dbData.sqlite"));

    const QString workbook = env.root() + "/week.xls";
    const QString picture = env.root() + "/week.png";
    const Outcome exported = run(program, {"--export", workbook, "--picture", picture, "--week", "W"}, account);
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.err, "");
    EXPECT_GT(QFileInfo(workbook).size(), 0);
    EXPECT_FALSE(QImage(picture).isNull());

    EXPECT_EQ(snapshot(moved), before);
    EXPECT_TRUE(QDir(env.tempDir()).isEmpty());
}
