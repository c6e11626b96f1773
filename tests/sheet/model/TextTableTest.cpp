// Cell texts held once: equal texts share one copy wherever they are made, a text leaves the table
// with its last holder and can be made again, copies and moves keep the counts right, threads that
// make and drop the same texts at once leave the table as they found it, and a cell stays small.
#include "sheet/model/CellText.h"
#include "sheet/model/SheetData.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>
#include <vector>

using namespace sheet;

TEST(CellTextTable, EqualTextsShareOneCopyUntilTheLastHolderLetsGo)
{
    const std::size_t before = CellText::distinctTexts();
    std::string typed = "Cashier of the text table test";
    CellText a(typed);
    CellText b = std::string_view(typed);
    typed[0] = 'X';  // the text keeps its own characters
    EXPECT_EQ(a.identity(), b.identity());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, "Cashier of the text table test");
    EXPECT_EQ(a.size(), 30u);
    const CellText other("Stocker of the text table test");
    EXPECT_NE(a, other);
    EXPECT_EQ(CellText::distinctTexts(), before + 2);

    // The empty text is no entry, however it is made.
    EXPECT_TRUE(CellText("").empty());
    EXPECT_EQ(CellText(""), CellText());
    EXPECT_EQ(CellText().view(), "");
    EXPECT_EQ(CellText::distinctTexts(), before + 2);

    a = other;  // a's old text still has b
    EXPECT_EQ(CellText::distinctTexts(), before + 2);
    b = CellText();
    EXPECT_EQ(CellText::distinctTexts(), before + 1);
    CellText again("Cashier of the text table test");
    EXPECT_EQ(again.view(), "Cashier of the text table test");
    EXPECT_EQ(CellText::distinctTexts(), before + 2);

    std::ostringstream shown;
    shown << again;
    EXPECT_EQ(shown.str(), "Cashier of the text table test");
}

TEST(CellTextTable, CopiesMovesAndSelfAssignmentKeepTheCounts)
{
    const std::size_t before = CellText::distinctTexts();
    {
        CellText a("Picker of the text table test");
        CellText& alias = a;
        a = alias;
        a = std::move(alias);
        EXPECT_EQ(a, "Picker of the text table test");
        CellText moved(std::move(a));
        EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): a moved-from text is empty
        EXPECT_EQ(moved, "Picker of the text table test");
        std::vector<CellText> many(1000, moved);
        many.resize(10);
        EXPECT_EQ(CellText::distinctTexts(), before + 1);

        // In cells: values copied, moved and replaced.
        SheetData sheet;
        sheet.at(1, 1).value = moved;
        sheet.at(1, 2).value = std::string("Packer of the text table test");
        SheetData copy = sheet;
        copy.at(1, 1).value = 5.0;
        EXPECT_EQ(std::get<CellText>(sheet.find(1, 1)->value), "Picker of the text table test");
        EXPECT_EQ(CellText::distinctTexts(), before + 2);
    }
    EXPECT_EQ(CellText::distinctTexts(), before);
}

TEST(CellTextTable, ThreadsMakingAndDroppingTheSameTextsLeaveTheTableAsTheyFoundIt)
{
    const std::size_t before = CellText::distinctTexts();
    const std::vector<std::string> texts{"Position 0 of the threads", "Position 1 of the threads",
                                         "Position 2 of the threads"};
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            std::vector<CellText> held;
            for (int i = 0; i < 20000; ++i) {
                const std::string& text = texts[static_cast<std::size_t>(i + t) % texts.size()];
                CellText made(text);
                if (made != text)
                    ++wrong[static_cast<std::size_t>(t)];
                // Hold some, copy some, drop the rest at once: counts pass through one again and again.
                if (i % 7 == 0)
                    held.push_back(made);
                if (held.size() > 5)
                    held.erase(held.begin());
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
    EXPECT_EQ(CellText::distinctTexts(), before);
}

TEST(CellTextTable, ACellIsThreePointersWide)
{
    // Millions of cells: a text in a cell takes no more room than a number.
    EXPECT_LE(sizeof(Cell), 3 * sizeof(void*));
}
