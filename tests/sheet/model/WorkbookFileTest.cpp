// Saving through the object model and opening in a new application: the schedule's workbook
// comes back with its sheet, cells, active sheet and selected cell; failures are errors, and a
// save that fails at any step of the file library keeps the old file.
#include "sheet/Application.h"
#include "sheet/model/SheetError.h"
#include "tests/fileio/FaultSweep.h"
#include "tests/support/TestEnvironment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

using namespace sheet;

TEST(WorkbookFile, SavedWorkbookOpensWithItsSheetAndSelection)
{
    testing_support::TestEnvironment env;
    const std::string path = env.tempDir().toStdString() + "/tquill12345678.xls";
    {
        Application app;
        app.setDisplayAlerts(false);
        Workbook book = app.Workbooks().add();
        for (int n = app.Sheets().count() - 1; n > 0; --n)
            app.Sheets().item(2).Delete();
        app.Sheets().item(app.Sheets().count()).setName("Shift Schedule");
        app.Cells().Select();
        app.Selection().Clear();
        app.Selection().Font().setName("Century Gothic");
        app.Range("C5:C5").Select();
        app.ActiveCell().setFormulaR1C1("7:00:00 AM");
        app.Range("B1:F2").Select();
        app.ActiveCell().setFormulaR1C1("Shift Schedule");
        app.Selection().Merge();
        app.ActiveSheet().PageSetup().setOrientation(xlLandscape);
        app.Sheets().item(1).Select();
        app.Range("B6").Select();
        book.SaveAs(path, xlExcel8);
        EXPECT_EQ(book.FullName(), path);
        book.Close();
        app.Quit();
    }
    ASSERT_TRUE(std::filesystem::exists(path));

    Application viewer;
    viewer.Workbooks().Open(path);
    Workbook opened = viewer.Workbooks().item(viewer.Workbooks().count());
    EXPECT_EQ(opened.Name(), "tquill12345678.xls");
    Worksheet sheet = opened.ActiveSheet();
    EXPECT_EQ(sheet.name(), "Shift Schedule");
    EXPECT_EQ(viewer.ActiveCell().Address(), "B6");
    EXPECT_EQ(sheet.Cells(5, 3).Text(), "7:00:00 AM");
    EXPECT_EQ(sheet.Range("B1").Text(), "Shift Schedule");
    EXPECT_TRUE(sheet.Range("B1:F2").MergeCells());
    EXPECT_EQ(sheet.Range("B1").Font().Name(), "Century Gothic");
    EXPECT_EQ(sheet.PageSetup().Orientation(), xlLandscape);
    EXPECT_EQ(sheet.UsedRange().Row(), 1);
    EXPECT_EQ(sheet.UsedRange().Column(), 2);
}

TEST(WorkbookFile, FailedSaveAndOpenAreErrors)
{
    testing_support::TestEnvironment env;
    Application app;
    Workbook book = app.Workbooks().add();
    const std::string missingFolder = env.tempDir().toStdString() + "/no such folder/book.xls";
    EXPECT_THROW(book.SaveAs(missingFolder, xlWorkbookNormal), SheetError);
    EXPECT_EQ(book.FullName(), "");
    EXPECT_THROW(app.Workbooks().Open(env.tempDir().toStdString() + "/missing.xls"), SheetError);
    EXPECT_EQ(app.Workbooks().count(), 1);
    EXPECT_EQ(app.ActiveWorkbook(), book);
}

TEST(WorkbookFile, ASaveThatFailsAtAnyStepKeepsTheOldFile)
{
    QTemporaryDir reference;
    QTemporaryDir dir;
    ASSERT_TRUE(reference.isValid() && dir.isValid());
    Application app;
    app.setDisplayAlerts(false);
    Workbook book = app.Workbooks().add();
    app.Range("B2").setFormulaR1C1("Cashier");
    app.Range("C3").setFormulaR1C1("7:00:00 AM");
    const std::string saved = reference.filePath("book.xls").toStdString();
    book.SaveAs(saved, xlExcel8);
    const auto bytes = fileio_test::sweep_detail::contents(saved);
    ASSERT_TRUE(bytes);

    const std::string path = dir.filePath("book.xls").toStdString();
    for (const std::optional<std::string> before : {std::optional<std::string>("last week"), std::optional<std::string>()}) {
        SCOPED_TRACE(before ? "over a file" : "a new file");
        const int steps = fileio_test::sweepFaults(dir.path().toStdString(), {{path, before, bytes}},
                                                   [&] { book.SaveAs(path, xlExcel8); });
        EXPECT_GE(steps, 8);
    }
}
