// "Print..." and "Save as PDF...": their row below the laid-out window, the pointer over them,
// the print dialog preset to the sheet's page and answered as a user would (a printer writing a
// file), the PDF's save dialog, overwrite question, refused targets and failed writes, and clicks
// while one of the window's saves runs.
#include "tests/preview/PreviewFixture.h"

#include "app/ProtectedFiles.h"
#include "app/Settings.h"
#include "fileio/TestHooks.h"
#include "sheet/Application.h"
#include "sheet/model/Constants.h"
#include "tests/support/PdfProbe.h"

#include <QDir>
#include <QPageSize>
#include <QPrinter>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using testing_support::PdfProbe;

namespace {

const QString kQuestion = QStringLiteral("Are you sure you wish to overwrite %1 ?");

class PrintSchedule : public PreviewFixture {
protected:
    void SetUp() override
    {
        PreviewFixture::SetUp();
        // A working workbook as the driver saves one: a few texts and fills, A4 landscape with the
        // schedule's margins (0.7 inch left and right, 0.5 inch top and bottom).
        sheet::Application excel;
        const sheet::Workbook book = excel.Workbooks().add();
        const sheet::Worksheet ws = book.ActiveSheet();
        ws.setName("Shift Schedule");
        ws.Range("B2").setFormulaR1C1("Weekly Rota");
        ws.Range("B4").setFormulaR1C1("Ann");
        ws.Range("C4").setFormulaR1C1("Cook");
        ws.Range("C4").Interior().setColorIndex(34);
        ws.Range("F9").setFormulaR1C1("TOTAL");
        ws.PageSetup().setOrientation(sheet::xlLandscape);
        ws.PageSetup().setPaperSize(sheet::xlPaperA4);
        ws.PageSetup().setLeftMargin(50.4);
        ws.PageSetup().setRightMargin(50.4);
        ws.PageSetup().setTopMargin(36);
        ws.PageSetup().setBottomMargin(36);
        QFile::remove(workbook);
        book.SaveAs(workbook.toStdString());
        book.Close();
        excel.Quit();
        form->setExcelFile(workbook);
    }

    // Answers the print dialog with a printer that writes a PDF file.
    void printTo(const QString& path, QPageLayout::Orientation orientation = QPageLayout::Landscape)
    {
        dialogs.printAnswer = [path, orientation](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageOrientation(orientation);
            return true;
        };
    }

    static void expectSchedulePage(const QString& pdf, bool landscape = true)
    {
        const PdfProbe probe(pdf);
        ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
        EXPECT_EQ(probe.pages(), 1);
        EXPECT_NEAR(probe.pageSizePoints().width(), landscape ? 842 : 595, 1);
        EXPECT_NEAR(probe.pageSizePoints().height(), landscape ? 595 : 842, 1);
        for (const char* text : {"Weekly Rota", "Ann", "Cook", "TOTAL"})
            EXPECT_TRUE(probe.text().contains(text)) << text;
    }
    QStringList filesIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
};

}  // namespace

TEST_F(PrintSchedule, TheTwoButtonsHaveARowOfTheirOwnAndShowTheHandPointer)
{
    handOver(QSize(100, 100));
    EXPECT_EQ(button("PushButton9")->text(), QStringLiteral("Print..."));
    EXPECT_EQ(button("PushButton10")->text(), QStringLiteral("Save as PDF..."));
    // Under "< Back" and "Save Results To Excel File", as wide as they are.
    EXPECT_EQ(button("PushButton9")->geometry(), QRect(8, 625, 312, 27));
    EXPECT_EQ(button("PushButton10")->geometry(), QRect(328, 625, 320, 27));
    EXPECT_TRUE(form->rect().contains(button("PushButton10")->geometry()));
    for (const char* name : {"PushButton9", "PushButton10"})
        for (QWidget* other : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other->objectName() != QLatin1String(name) && other->isVisibleTo(form.get()))
                EXPECT_FALSE(other->geometry().intersects(button(name)->geometry())) << name << " covers " << other->objectName().toStdString();

    writeFile(app::paths::handPointerFile(), "/* XPM */\nstatic const char* h[] = {\"2 2 1 1 1 0\", \"# c #000000\", \"##\", \"##\"};\n");
    preview::Form3 withHand;
    for (const char* name : {"PushButton9", "PushButton10"}) {
        mouse(&withHand, QEvent::MouseMove, QPoint(2, 2), Qt::NoButton);
        EXPECT_EQ(withHand.cursor().shape(), Qt::ArrowCursor);
        mouse(withHand.findChild<QPushButton*>(name), QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
        EXPECT_EQ(withHand.cursor().shape(), Qt::BitmapCursor) << name;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrintSchedule, ThePrintDialogOpensAtTheSheetsPageAndWhatTheUserChoosesIsPrintedOnOnePage)
{
    // Cancelled: nothing printed, nothing said.
    QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
    EXPECT_EQ(dialogs.printDialogTitles, QStringList{"Print"});
    ASSERT_EQ(dialogs.printDialogLayouts.size(), 1u);
    const QPageLayout preset = dialogs.printDialogLayouts[0];
    EXPECT_EQ(preset.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(preset.orientation(), QPageLayout::Landscape);
    const QMarginsF margins = preset.margins(QPageLayout::Point);
    EXPECT_NEAR(margins.left(), 50.4, 0.01);
    EXPECT_NEAR(margins.top(), 36, 0.01);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(form->isPrinting());

    const QString printed = env.root() + "/printed.pdf";
    printTo(printed);
    QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
    expectSchedulePage(printed);

    // A user who turns the page to portrait in the dialog gets portrait.
    const QString portrait = env.root() + "/portrait.pdf";
    printTo(portrait, QPageLayout::Portrait);
    QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
    expectSchedulePage(portrait, false);

    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.texts().join('\n').toStdString();
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor) << "the busy pointer is gone";
    EXPECT_TRUE(QFile::exists(workbook)) << "printing leaves the working workbook in place";
}

TEST_F(PrintSchedule, ThePageLayoutIsAskedFirstRememberedAndFitToWidthPrintsNumberedA4Pages)
{
    // Cancelled at the question: no further dialog, nothing remembered.
    dialogs.choices = {-1, -1};
    QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    EXPECT_EQ(dialogs.choiceTexts, (QStringList{"Page layout:", "Page layout:"}));
    EXPECT_TRUE(dialogs.printDialogTitles.isEmpty());
    EXPECT_TRUE(dialogs.saveDialogTitles.isEmpty());
    EXPECT_FALSE(app::Settings::stored(app::Settings::kPageLayout));
    EXPECT_FALSE(form->isPrinting());

    // "Fit to page width" from "Print...": A4 landscape preset, numbered pages, the pick remembered.
    const QString printed = env.root() + "/printed.pdf";
    printTo(printed);
    dialogs.choices = {1};
    QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
    ASSERT_EQ(dialogs.printDialogLayouts.size(), 1u);
    EXPECT_EQ(dialogs.printDialogLayouts[0].pageSize().id(), QPageSize::A4);
    EXPECT_EQ(dialogs.printDialogLayouts[0].orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(PdfProbe(printed).text().contains("Page 1 of 1"));
    EXPECT_EQ(app::Settings::pageLayout(), "width");

    // "Save as PDF..." preselects the remembered pick; "One page" is the page of before.
    const QString target = env.root() + "/week.pdf";
    dialogs.savePaths = {target};
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    EXPECT_TRUE(PdfProbe(target).text().contains("Page 1 of 1"));
    QFile::remove(target);
    dialogs.savePaths = {target};
    dialogs.choices = {0};
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    expectSchedulePage(target);
    EXPECT_FALSE(PdfProbe(target).text().contains("Page 1 of"));
    EXPECT_EQ(app::Settings::pageLayout(), "one");
}

TEST_F(PrintSchedule, AWorkingWorkbookThatCannotBeReadIsReportedBeforeAnyDialog)
{
    QFile::remove(workbook);
    QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.errorReports().at(0).text.contains("in Rostellix2021/08/31.Form3.PushButton9_Click at line 104"));
    EXPECT_TRUE(dialogs.printDialogTitles.isEmpty());
    EXPECT_FALSE(form->isPrinting());

    dialogs.clear();
    writeFile(workbook, "not a workbook");
    dialogs.savePaths = {env.root() + "/week.pdf"};
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u) << "no \"Done.\" after the report";
    EXPECT_TRUE(dialogs.errorReports().at(0).text.contains("in Rostellix2021/08/31.Form3.PushButton10_Click at line 110"));
    EXPECT_FALSE(QFile::exists(env.root() + "/week.pdf"));
}

TEST_F(PrintSchedule, SaveAsPdfWritesTheOnePageAskingOnlyBeforeItOverwrites)
{
    const QString target = env.root() + "/week.pdf";

    // Cancel: nothing written, nothing said.
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    EXPECT_EQ(dialogs.saveDialogTitles, QStringList{"Save as PDF"});
    EXPECT_EQ(dialogs.saveDialogFilters, QStringList{"PDF Files (*.pdf)|*.pdf|"});
    EXPECT_TRUE(dialogs.messages.empty());

    // A new name: written without a question.
    dialogs.savePaths = {target};
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), QStringList{"Done."});
    expectSchedulePage(target);

    // An existing file: No keeps it and says nothing more; Yes replaces it.
    writeFile(target, "last week's PDF");
    dialogs.clear();
    dialogs.savePaths = {target};
    dialogs.answers = {app::msg::kNo};
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, kQuestion.arg(target));
    EXPECT_EQ(dialogs.messages[0].style, app::msg::kYesNo);
    EXPECT_EQ(fileBytes(target), QByteArray("last week's PDF"));

    dialogs.clear();
    dialogs.savePaths = {target};
    dialogs.answers = {app::msg::kYes};
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(), (QStringList{kQuestion.arg(target), "Done."}));
    expectSchedulePage(target);
    EXPECT_EQ(filesIn(env.root()).filter(".pdf"), QStringList{"week.pdf"});
    EXPECT_FALSE(form->isPrinting());
}

TEST_F(PrintSchedule, AFailedPdfWriteKeepsTheOldFileWholeAndIsNeverCalledDone)
{
    const QString target = env.root() + "/week.pdf";
    writeFile(target, "last week's PDF");
    fileio::test_hooks::setFault([](fileio::test_hooks::Step step) { return step == fileio::test_hooks::Step::Write ? ENOSPC : 0; });
    dialogs.savePaths = {target};
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    fileio::test_hooks::setFault({});
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    const QString report = dialogs.errorReports()[0].text;
    EXPECT_TRUE(report.startsWith(QStringLiteral("The PDF cannot be saved as \"%1\": No space left on device\r\n").arg(target)))
        << report.toStdString();
    EXPECT_TRUE(report.contains("in Rostellix2021/08/31.Form3.PushButton10_Click at line 110"));
    EXPECT_FALSE(dialogs.texts().contains("Done."));
    EXPECT_EQ(fileBytes(target), QByteArray("last week's PDF"));
    EXPECT_EQ(filesIn(env.root()).filter(".pdf"), QStringList{"week.pdf"});
    EXPECT_EQ(filesIn(env.root()).filter(".rostelle"), QStringList{});
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PrintSchedule, TheProgramsOwnFilesAndWhatIsNotAFileAreRefusedWithoutTheQuestion)
{
    app::protectProgramFiles();
    QDir().mkpath(app::paths::dataFolder());
    writeFile(app::paths::workingDatabase(), "the roster");
    ASSERT_EQ(::mkfifo(QFile::encodeName(env.root() + "/pipe.pdf").constData(), 0644), 0);
    ASSERT_TRUE(QDir().mkpath(env.root() + "/folder.pdf"));
    for (const auto& [target, reason] :
         {std::pair{app::paths::workingDatabase(), QStringLiteral("it is the program's working database")},
          std::pair{env.root() + "/pipe.pdf", QStringLiteral("it is a named pipe, not a file")},
          std::pair{env.root() + "/folder.pdf", QStringLiteral("folder")}}) {
        dialogs.clear();
        dialogs.savePaths = {target};
        QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
        ASSERT_EQ(dialogs.messages.size(), 1u) << dialogs.texts().join('\n').toStdString();
        const QString report = dialogs.errorReports().at(0).text;
        EXPECT_TRUE(report.contains(reason)) << report.toStdString();
        EXPECT_TRUE(report.contains("in Rostellix2021/08/31.Form3.PushButton10_Click at line 110")) << report.toStdString();
    }
    EXPECT_EQ(fileBytes(app::paths::workingDatabase()), QByteArray("the roster"));
    struct stat pipe {};
    ASSERT_EQ(::lstat(QFile::encodeName(env.root() + "/pipe.pdf").constData(), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
}

TEST_F(PrintSchedule, PrintAndPdfClicksAreIgnoredWhileASaveOrAPrintRuns)
{
    // Inside the workbook's save dialog and inside the PDF's: every click on Print or PDF is ignored.
    const QString pdf = env.root() + "/week.pdf";
    int opened = 0;
    dialogs.whileOpen = [&] {
        ++opened;
        QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
        QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    };
    dialogs.savePaths = {env.root() + "/week.xls", pdf};
    QTest::mouseClick(button("PushButton6"), Qt::LeftButton);
    QTest::mouseClick(button("PushButton10"), Qt::LeftButton);
    EXPECT_EQ(opened, 5) << "two save dialogs, the PDF's page layout question and two \"Done.\"";
    EXPECT_EQ(dialogs.saveDialogTitles, (QStringList{"Save File", "Save as PDF"}));
    EXPECT_TRUE(dialogs.printDialogTitles.isEmpty());

    // Inside the print dialog.
    dialogs.clear();
    opened = 0;
    QTest::mouseClick(button("PushButton9"), Qt::LeftButton);
    EXPECT_EQ(opened, 2) << "the page layout question and the print dialog";
    EXPECT_EQ(dialogs.printDialogTitles.size(), 1);
    EXPECT_EQ(dialogs.saveDialogTitles.size(), 2) << "no further save dialog";
    EXPECT_FALSE(form->isPrinting());
    EXPECT_FALSE(form->isSaving());
}
