// The preview drawing the working workbook's sheet: the same pixels as the handed-over picture at
// 1.0, text at large zooms of a roster whose overview leaves it out, the screen's pixel density,
// a window that grows, the wheel and the keys, and the picture's accessible name.
#include "tests/preview/PreviewFixture.h"

#include "preview/TileCache.h"
#include "sheet/render/Renderer.h"
#include "sheet/xls/XlsWriter.h"

#include <QAccessible>
#include <QGroupBox>
#include <QTest>
#include <QWheelEvent>

namespace {

// A roster-like sheet: a bold title row over a bordered, filled table of names.
sheet::WorkbookData roster(int rows)
{
    sheet::WorkbookData book;
    book.sheets.push_back(std::make_unique<sheet::SheetData>());
    sheet::SheetData& sheet = *book.sheets.back();
    sheet.name = "Schedule";
    const auto put = [&](int row, int column, const std::string& text, const sheet::CellFormat& format) {
        sheet::Cell& cell = sheet.at(row, column);
        cell.value = sheet::CellText(text);
        cell.format = book.formats.intern(format);
    };
    sheet::CellFormat title;
    title.font.bold = true;
    title.font.size = 14;
    put(1, 1, "Week of 1/4/2027", title);
    sheet::CellFormat name;
    name.borders[sheet::kBorderBottom] = sheet::Border{sheet::xlContinuous, 1};
    name.interiorColorIndex = 36;
    for (int row = 2; row <= rows; ++row)
        for (int column = 1; column <= 4; ++column)
            put(row, column, "Employee " + std::to_string(row * 10 + column), name);
    return book;
}

bool hasInk(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 96)
                return true;
    return false;
}

}  // namespace

class SheetView : public PreviewFixture {
protected:
    sheet::WorkbookData book;
    QImage overview;

    void handOverRoster(int rows)
    {
        book = roster(rows);
        sheet::xls::writeWorkbook(book, workbook.toStdString());
        overview = sheet::render::renderRange(book, *book.sheets[0], *book.sheets[0]->usedRange());
        form->loadPicture(env.tempDir() + "/not-read.bmp", overview);
        form->setExcelFile(workbook);
        form->showPreview();
    }
};

TEST_F(SheetView, AtOneHundredPercentTheSheetShowsExactlyThePictureHandedOver)
{
    handOverRoster(60);
    ASSERT_TRUE(picture()->picture().isSheet());
    EXPECT_EQ(picture()->size(), overview.size());
    const QImage shown = picture()->shown(picture()->rect()).convertToFormat(overview.format());
    EXPECT_EQ(shown, overview);
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(SheetView, ZoomedInARosterTooLongForItsOverviewShowsItsNames)
{
    handOverRoster(3000);  // 51,000 pixels tall: the overview is squeezed below readable text
    ASSERT_LT(overview.height(), 9000);
    const QRect overviewNames(0, overview.height() / 2, overview.width(), 40);
    EXPECT_FALSE(hasInk(overview.copy(overviewNames)));
    for (int i = 0; i < 7; ++i)
        QTest::mouseClick(button("PushButton1"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(form->zoom(), 2.75f);
    EXPECT_GT(picture()->height(), 51000 * 2.7);
    EXPECT_TRUE(hasInk(picture()->shown(QRect(0, picture()->height() / 2, 400, 100))));
    // Only what was shown was drawn.
    EXPECT_LT(picture()->tiles().heldTiles(), 40);
}

TEST_F(SheetView, ATwiceDenseScreenGetsTwiceThePixelsDrawnNotABlowUp)
{
    handOverRoster(20);
    preview::TileCache tiles;
    tiles.setPicture(picture()->picture());
    const QRect part(0, 0, 200, 60);
    QImage single(part.size(), QImage::Format_RGB32);
    QImage twice(part.size() * 2, QImage::Format_RGB32);
    {
        QPainter painter(&single);
        tiles.paint(painter, part, 1.0, 1.0);
    }
    {
        twice.setDevicePixelRatio(2);
        QPainter painter(&twice);
        tiles.paint(painter, part, 1.0, 2.0);
    }
    EXPECT_EQ(twice.size(), QSize(400, 120));
    twice.setDevicePixelRatio(1);
    const QImage blownUp = single.scaled(single.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_NE(twice, blownUp);
    EXPECT_TRUE(hasInk(twice.copy(0, 0, 400, 60)));
}

TEST_F(SheetView, AnEnlargedWindowGrowsTheViewKeepsTheButtonsAtTheBottomAndIsRemembered)
{
    handOver(QSize(2000, 2000));
    const QSize laidOut = form->size();
    const QRect view = control("Picture2")->geometry();
    const QRect vBar = bar("VScroll1")->geometry();
    const QRect frame = control<QGroupBox>("Frame1")->geometry();
    const QRect print = button("PushButton9")->geometry();
    form->resize(laidOut + QSize(300, 200));
    EXPECT_EQ(control("Picture2")->geometry(), view.adjusted(0, 0, 300, 200));
    EXPECT_EQ(bar("VScroll1")->geometry(), vBar.translated(300, 0).adjusted(0, 0, 0, 200));
    EXPECT_EQ(bar("HScroll1")->geometry().top(), view.bottom() + 201);
    EXPECT_EQ(control<QGroupBox>("Frame1")->geometry(), frame.translated(0, 200));
    EXPECT_EQ(form->height() - button("PushButton9")->geometry().bottom(), laidOut.height() - print.bottom());
    // The bars span the larger view: at their ends the picture's far corner is at the view's.
    for (QScrollBar* b : {bar("HScroll1"), bar("VScroll1")})
        b->setValue(b->maximum());
    EXPECT_NEAR(picture()->geometry().right(), control("Picture2")->contentsRect().width() + 3, 2);

    form->resize(100, 100);
    EXPECT_EQ(form->size(), laidOut);  // never smaller than laid out
    form->resize(laidOut + QSize(120, 80));
    form->hide();
    preview::Form3 next;
    EXPECT_EQ(next.size(), laidOut + QSize(120, 80));
}

TEST_F(SheetView, CtrlWheelZoomsAboutThePointerAndTheWheelScrolls)
{
    handOver(QSize(1200, 1200));
    QWidget* view = control("Picture2");
    const auto wheel = [&](QPoint inView, int delta, Qt::KeyboardModifiers modifiers) {
        const QPointF at = view->mapTo(form.get(), QPointF(inView));
        QWheelEvent event(at, form->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.get(), &event);
    };
    wheel(QPoint(100, 100), -120, Qt::NoModifier);
    EXPECT_GT(bar("VScroll1")->value(), 0);
    const int topBefore = picture()->y();
    const QPoint pointer(300, 200);
    const QPointF under = QPointF(picture()->mapFrom(view, pointer)) / picture()->width();
    wheel(pointer, 120, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(form->zoom(), 1.25f);
    EXPECT_NEAR(picture()->mapFrom(view, pointer).x(), under.x() * picture()->width(), 2);
    EXPECT_NEAR(picture()->mapFrom(view, pointer).y(), under.y() * picture()->width(), 2);
    EXPECT_NE(picture()->y(), topBefore);
    wheel(pointer, -120, Qt::ControlModifier);
    wheel(pointer, -120, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(form->zoom(), 0.75f);
    EXPECT_TRUE(dialogs.errorReports().empty());
}

TEST_F(SheetView, KeysZoomSaveAsPdfPrintAndGoBack)
{
    handOver(QSize(400, 300));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(form->zoom(), 1.5f);
    QTest::keyClick(form.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(form->zoom(), 1.25f);
    QTest::keyClick(form.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(form->zoom(), 1.0f);
    EXPECT_EQ(picture()->size(), QSize(400, 300));

    dialogs.savePaths = {QString(), QString()};
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs.saveDialogTitles, QStringList({"Save File", "Save as PDF"}));
    dialogs.printAnswer = [](QPrinter&) { return false; };
    sheet::xls::writeWorkbook(roster(5), workbook.toStdString());  // what the print reads
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialogs.printDialogTitles, QStringList({"Print"}));

    QTest::keyClick(form.get(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(QFile::exists(workbook));
}

TEST_F(SheetView, ThePictureHasAnAccessibleName)
{
    handOver(QSize(200, 100));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(picture());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Schedule picture"));
}
