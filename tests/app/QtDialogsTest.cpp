// The on-screen message box as the program's messages set it up, the save dialog's filter, and
// the print dialog's choices, and the folder a save dialog opens in.
#include "app/Dialogs.h"
#include "app/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

QLabel* textLabel(QMessageBox& box) { return box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")); }

TEST(QtDialogs, MessageBoxesShowTheTextAndTheButtonsTheStyleAsksFor)
{
    QMessageBox report;
    app::prepareMessageBox(report, "Disk full\r\nin Form1.Form_Load at line 102\r\rPlease write", 48, "Application Error");
    EXPECT_EQ(report.text(), "Disk full\nin Form1.Form_Load at line 102\n\nPlease write");
    EXPECT_EQ(report.textFormat(), Qt::PlainText);
    EXPECT_EQ(report.icon(), QMessageBox::Warning);
    EXPECT_EQ(report.standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(report.windowTitle(), "Application Error");

    QMessageBox question;
    app::prepareMessageBox(question, "<b>Are you sure?</b>", app::msg::kYesNo, "Rostelle");
    EXPECT_EQ(question.standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(textLabel(question)->textFormat(), Qt::PlainText) << "markup typed by a user stays text";
}

TEST(QtDialogs, ALineWithAWebAddressIsShownWhole)
{
    const QString help = "Questions? Please contact Team Tarrowby at https://www.tarrowby.example/contact/";
    QMessageBox box;
    app::prepareMessageBox(box, help, app::msg::kOkOnly, "Rostelle");
    box.show();
    QApplication::processEvents();
    QLabel* label = textLabel(box);
    ASSERT_NE(label, nullptr);
    EXPECT_GE(label->contentsRect().width(), QFontMetricsF(label->font()).horizontalAdvance(help));
    box.hide();

    // Without an address the box wraps as it always did.
    QMessageBox plain;
    app::prepareMessageBox(plain, QString("word ").repeated(40), app::msg::kOkOnly, "Rostelle");
    plain.show();
    QApplication::processEvents();
    EXPECT_EQ(textLabel(plain)->minimumWidth(), 0);
    EXPECT_LT(textLabel(plain)->width(), QFontMetricsF(textLabel(plain)->font()).horizontalAdvance(QString("word ").repeated(40)));
}

TEST(QtDialogs, TheSaveFilterBecomesTheFileDialogsForm)
{
    EXPECT_EQ(app::qtFileFilter("Excel Files (*.xls)|*.xls|"), "Excel Files (*.xls)");
    EXPECT_EQ(app::qtFileFilter("Workbooks|*.xls;*.xlsx|All|*|"), "Workbooks (*.xls *.xlsx);;All (*)");
}

TEST(QtDialogs, ThePrintDialogPrintsOnPaperOnlyAndWithoutAPrinterSaysWhatToDo)
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    app::preparePrintDialog(dialog, "Print");
    EXPECT_EQ(dialog.windowTitle(), "Print");
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintToFile)) << "files are written by \"Save as PDF...\"";
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));

    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer; the dialog would open";
    testing_support::FakeDialogs answered;
    app::QtDialogs onScreen;
    EXPECT_FALSE(onScreen.printDialog(printer, "Print"));
    EXPECT_EQ(answered.texts(), QStringList{"No printer is set up on this computer. \"Save as PDF...\" keeps the schedule in a "
                                            "file that can be printed elsewhere."});
}

}  // namespace

TEST(QtDialogs, SaveDialogsOpenInTheFolderLastSavedToElseTheDocumentsFolder)
{
    testing_support::TestEnvironment env;
    const QString documents = env.root() + "/Papers";
    const QString saved = env.root() + "/Rosters";
    ASSERT_TRUE(QDir().mkpath(documents));
    ASSERT_TRUE(QDir().mkpath(saved));
    testing_support::writeFile(env.configHome() + "/user-dirs.dirs",
                               "XDG_DOCUMENTS_DIR=\"" + documents.toUtf8() + "\"\n");
    EXPECT_EQ(app::saveDialogStartFolder(), documents);

    app::rememberSaveFolder(saved + "/week.xls");
    EXPECT_EQ(app::saveDialogStartFolder(), saved);
    // A remembered folder that is gone falls back to the documents folder.
    ASSERT_TRUE(QDir(saved).removeRecursively());
    EXPECT_EQ(app::saveDialogStartFolder(), documents);
}
