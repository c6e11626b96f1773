// The sheet snapshot: the used range of the active sheet painted to a BMP or PNG file, only when
// it ends below row 1 and right of column A.
#include "tests/report/ReportFixture.h"

#include "report/Snapshot.h"

#include "app/ErrorReport.h"

#include <QDir>
#include <QFile>
#include <QImage>

using report::Excel1::saveCellsActivesheet;

namespace {

class SnapshotTest : public ::testing::Test {
protected:
    sheet::Workbook bookWith(std::initializer_list<const char*> cells)
    {
        sheet::Workbook book = application.Workbooks().add();
        for (const char* address : cells)
            book.ActiveSheet().Range(address).setFormulaR1C1("x");
        return book;
    }
    QByteArray head(const QString& path, int bytes)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
    }
    testing_support::TestEnvironment environment;
    testing_support::FakeDialogs dialogs;
    sheet::Application application;
    QString picture = QDir::tempPath() + "/temp.bmp";
};

TEST_F(SnapshotTest, AUsedRangeEndingInRowOneOrColumnAWritesNothing)
{
    EXPECT_TRUE(saveCellsActivesheet(bookWith({"A1", "E1"}), picture).isNull());
    EXPECT_FALSE(QFile::exists(picture));
    saveCellsActivesheet(bookWith({"A1", "A5"}), picture);
    EXPECT_FALSE(QFile::exists(picture));
    saveCellsActivesheet(application.Workbooks().add(), picture);
    EXPECT_FALSE(QFile::exists(picture));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SnapshotTest, LastRowAndColumnAreSheetNumbersNotCounts)
{
    // Only row 5 is used: one row, but its number is 5.
    const QImage returned = saveCellsActivesheet(bookWith({"B5", "D5"}), picture);
    EXPECT_TRUE(dialogs.messages.empty());
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(returned.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32))
        << "the picture returned is the one written";
    EXPECT_EQ(head(picture, 2), "BM");
    EXPECT_GT(image.width(), image.height()) << "three columns of one row";
}

TEST_F(SnapshotTest, AnExistingFileIsReplacedAndPngIsWrittenByItsName)
{
    {
        QFile old(picture);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a picture");
    }
    const sheet::Workbook book = bookWith({"B2", "C3"});
    saveCellsActivesheet(book, picture);
    EXPECT_FALSE(QImage(picture).isNull());

    const QString png = QDir::tempPath() + "/sheet.png";
    saveCellsActivesheet(book, png);
    EXPECT_EQ(head(png, 4), QByteArray("\x89PNG"));
    EXPECT_EQ(QImage(png).size(), QImage(picture).size());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SnapshotTest, AFileThatCannotBeWrittenIsReported)
{
    EXPECT_TRUE(saveCellsActivesheet(bookWith({"B2", "C3"}), QDir::tempPath() + "/missing/folder/temp.bmp").isNull());
    const auto reports = dialogs.errorReports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].text.contains(app::errorSourceLabel("Excel1", "saveCellsActivesheet") + "at line 114"));
}

TEST_F(SnapshotTest, AClosedWorkbookIsReportedStepByStepAndWritesNothing)
{
    const sheet::Workbook book = bookWith({"B2", "C3"});
    book.Close();
    saveCellsActivesheet(book, picture);
    EXPECT_FALSE(QFile::exists(picture));
    EXPECT_EQ(dialogs.errorReports().size(), 5u) << "the sheet and the four used-range steps";
}

}  // namespace
