// The step numbers of every trapped procedure, read from the sources: the error report quotes
// them to users, so in each procedure they start at 100 and rise by two in text order, with no
// repeat and none worked out at run time.
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// The source with comments, string and character literals blanked out, so that braces and
// numbers inside them do not count. Lengths and line breaks stay as they were.
QString codeOnly(QString source)
{
    static const QRegularExpression literalOrComment(QStringLiteral(
        R"re(//[^\n]*|/\*[\s\S]*?\*/|"(?:\\.|[^"\\\n])*"|'(?:\\.|[^'\\\n])*')re"));
    auto it = literalOrComment.globalMatch(source);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        for (qsizetype i = match.capturedStart(); i < match.capturedEnd(); ++i)
            if (source[i] != '\n')
                source[i] = ' ';
    }
    return source;
}

struct Procedure {
    QString where;       // file:line of the trap
    QStringList steps;   // as written: digits, or whatever expression stands there
};

// Each trap and the steps numbered through it, up to the end of the block that declares it.
std::vector<Procedure> trappedProcedures(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString code = codeOnly(QString::fromUtf8(file.readAll()));
    static const QRegularExpression declaration(QStringLiteral("\\bTrap\\s+(\\w+)\\s*\\("));
    static const QRegularExpression step(
        QStringLiteral("\\b(?:trap(?:\\.test|\\.value)?\\(|\\(\\s*trap\\s*,)\\s*([^,()]+?)\\s*[,)]"));
    std::vector<Procedure> found;
    auto it = declaration.globalMatch(code);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        Procedure procedure;
        procedure.where = QDir(QStringLiteral(ROSTELLE_SOURCE_DIR)).relativeFilePath(path) + ":"
            + QString::number(code.left(match.capturedStart()).count('\n') + 1);
        if (match.captured(1) != QStringLiteral("trap")) {
            procedure.steps << QStringLiteral("(a trap named %1)").arg(match.captured(1));
            found.push_back(procedure);
            continue;
        }
        qsizetype end = match.capturedEnd();
        for (int depth = 0; end < code.size(); ++end) {
            if (code[end] == '{')
                ++depth;
            else if (code[end] == '}' && --depth < 0)
                break;
        }
        const QString body = code.mid(match.capturedEnd(), end - match.capturedEnd());
        auto steps = step.globalMatch(body);
        while (steps.hasNext())
            procedure.steps << steps.next().captured(1);
        found.push_back(procedure);
    }
    return found;
}

TEST(TrapNumbering, EveryTrappedProcedureCountsFromOneHundredInStepsOfTwo)
{
    int procedures = 0;
    for (const char* folder : {"app", "store", "sheet", "report", "preview", "ui", "commands"}) {
        QDirIterator files(QStringLiteral(ROSTELLE_SOURCE_DIR "/") + folder, {QStringLiteral("*.cpp")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            for (const Procedure& procedure : trappedProcedures(files.next())) {
                ++procedures;
                QStringList expected;
                for (int i = 0; i < procedure.steps.size(); ++i)
                    expected << QString::number(100 + 2 * i);
                EXPECT_FALSE(procedure.steps.isEmpty()) << procedure.where.toStdString() << ": no numbered step";
                EXPECT_EQ(procedure.steps.join(' ').toStdString(), expected.join(' ').toStdString())
                    << procedure.where.toStdString();
            }
        }
    }
    // Every procedure in the error report's table has its trap, and more have one besides.
    EXPECT_GE(procedures, 34);
}

TEST(TrapNumbering, TheReaderSeesRepeatsGapsAndComputedNumbers)
{
    testing_support::TestEnvironment env;
    const QString path = env.tempDir() + "/trapped.cpp";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("void f() {\n"
               "    app::Trap trap(QStringLiteral(\"Form9\"), QStringLiteral(\"f\"));\n"
               "    if (trap.test(100, [] { return \"}\" == nullptr; })) {  // trap(999, ...)\n"
               "        trap(102, [] {});\n"
               "    }\n"
               "    for (int i = 0; i < 3; ++i)\n"
               "        trap(line, [] {});\n"
               "    rosterRefused(trap, 104);\n"
               "    const int x = trap.value(104, 0, [] { return 1; });\n"
               "}\n"
               "void g() { app::Trap handler(QStringLiteral(\"Form9\"), QStringLiteral(\"g\")); }\n"
               "void h() { app::Trap trap(QStringLiteral(\"Form9\"), QStringLiteral(\"h\")); trap(100, [] {}); }\n");
    file.close();
    const std::vector<Procedure> found = trappedProcedures(path);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].steps.join(' ').toStdString(), "100 102 line 104 104");
    EXPECT_EQ(found[1].steps.join(' ').toStdString(), "(a trap named handler)");
    EXPECT_EQ(found[2].steps.join(' ').toStdString(), "100");
}

}  // namespace
