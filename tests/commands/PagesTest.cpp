// The built program's PDF one page wide (--pages width) of generated rosters, read back by
// poppler-utils: pages enough for every row once, each weekday kept whole where it fits, the
// title rows and "Page N of M" on every page, names and positions at least 6 points high, text as
// text and fonts embedded on every page; and --pages with its refusals.
#include "tests/support/PdfProbe.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

using testing_support::PdfProbe;

namespace {

class PagesTest : public ::testing::Test {
protected:
    // A working database of `employees` generated employees, one shift a day on the hour.
    void makeRoster(int employees)
    {
        const QString database = testing_support::workingDatabase(env);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(database).path()));
        QProcess roster;
        roster.start("python3", {ROSTELLE_ROSTER_SCRIPT, ROSTELLE_TEMPLATE_DATABASE, database, "one-hourly",
                                 QString::number(employees)});
        ASSERT_TRUE(roster.waitForFinished(120000));
        ASSERT_EQ(roster.exitCode(), 0) << roster.readAllStandardError().toStdString();
    }
    testing_support::ProgramRun pdf(const QStringList& more)
    {
        return testing_support::runProgram(env, QStringList{"--pdf", path, "--week", "Week 1", "--interval", "hourly"} + more);
    }
    // The PDF, one page wide, of a roster of `employees`; the caller checks that it could be read.
    std::unique_ptr<PdfProbe> onePageWide(int employees)
    {
        makeRoster(employees);
        const auto run = pdf({"--pages", "width"});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return std::make_unique<PdfProbe>(path);
    }
    // How many of the words are `word`, on each page (index 0 = page 1).
    static std::vector<int> perPage(const QList<PdfProbe::Word>& words, const QString& word, int pages)
    {
        std::vector<int> counts(static_cast<std::size_t>(pages), 0);
        for (const auto& w : words)
            if (w.text == word && w.page >= 1 && w.page <= pages)
                ++counts[static_cast<std::size_t>(w.page - 1)];
        return counts;
    }

    testing_support::TestEnvironment env;
    QString path = env.root() + "/week.pdf";
};

TEST_F(PagesTest, ABigRosterPrintsEveryRowOnceReadablyUnderItsTitlesOnNumberedPages)
{
    constexpr int kEmployees = 300;
    const auto read = onePageWide(kEmployees);
    const PdfProbe& probe = *read;
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    EXPECT_NEAR(probe.pageSizePoints().width(), 842, 1);
    EXPECT_NEAR(probe.pageSizePoints().height(), 595, 1);
    // Seven weekdays of 300 rows of 13 points cannot share fewer pages than one per weekday.
    ASSERT_GE(probe.pages(), 7);

    const auto words = probe.words();
    int rows = 0;
    for (const int n : perPage(words, "Employee", probe.pages()))
        rows += n;
    EXPECT_EQ(rows, 7 * kEmployees) << "every employee's row once on each weekday, none lost or repeated at a break";
    for (const auto& word : words)
        if (word.text == "Employee" || word.text == "Position")
            ASSERT_GE(word.height, 6.0) << word.text.toStdString() << " on page " << word.page;

    for (int page = 1; page <= probe.pages(); ++page) {
        const QString text = probe.pageText(page);
        EXPECT_TRUE(text.contains("Shift Schedule") && text.contains("Week 1")) << "titles on page " << page;
        EXPECT_TRUE(text.contains(QString("Page %1 of %2").arg(page).arg(probe.pages()))) << "number of page " << page;
        const auto fonts = probe.fonts(page);
        EXPECT_FALSE(fonts.isEmpty()) << "text as text on page " << page;
        for (const auto& font : fonts)
            EXPECT_TRUE(font.embedded) << font.name.toStdString() << " on page " << page;
    }
}

TEST_F(PagesTest, AWeekdayThatFitsAPageIsNeverSplit)
{
    constexpr int kEmployees = 20;
    const auto read = onePageWide(kEmployees);
    const PdfProbe& probe = *read;
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    ASSERT_GT(probe.pages(), 1);
    int rows = 0;
    for (const int n : perPage(probe.words(), "Employee", probe.pages())) {
        EXPECT_EQ(n % kEmployees, 0) << n << " rows on a page";
        EXPECT_GT(n, 0);
        rows += n;
    }
    EXPECT_EQ(rows, 7 * kEmployees);
}

TEST_F(PagesTest, OneIsTheDefaultSinglePageAndOtherUsesAreRefused)
{
    makeRoster(3);
    ASSERT_EQ(pdf({}).exitCode, 0);
    const QString single = PdfProbe(path).text();
    QFile::remove(path);
    ASSERT_EQ(pdf({"--pages", "one"}).exitCode, 0);
    const PdfProbe one(path);
    EXPECT_EQ(one.pages(), 1);
    EXPECT_EQ(one.text(), single);
    EXPECT_FALSE(one.text().contains("Page 1 of"));
    QFile::remove(path);

    for (const QStringList& arguments :
         {QStringList{"--pdf", path, "--pages", "wide"}, QStringList{"--pdf", path, "--pages", ""},
          QStringList{"--export", env.root() + "/week.xls", "--pages", "width"}, QStringList{"--pages", "width"}}) {
        const auto refused = testing_support::runProgram(env, arguments);
        EXPECT_EQ(refused.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(refused.err.trimmed().count('\n'), 0) << refused.err.toStdString();
        EXPECT_FALSE(refused.err.trimmed().isEmpty()) << arguments.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(env.root() + "/week.xls"));
}

}  // namespace
