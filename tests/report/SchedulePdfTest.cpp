// The sample roster's schedule on paper: the working workbook the report driver saves, opened
// again and printed to a PDF as its page setup asks, read back by poppler-utils: one A4
// landscape page, every text the sheet shows present as text, every font embedded, and the
// fills where the preview picture shows them.
#include "tests/report/ReportFixture.h"

#include "report/ReportDriver.h"

#include "sheet/model/DisplayText.h"
#include "sheet/render/PagePainter.h"
#include "sheet/render/RangeGeometry.h"
#include "sheet/render/Renderer.h"
#include "sheet/xls/XlsReader.h"

#include "store/SampleData.h"

#include "tests/support/PdfProbe.h"

#include <QHash>

#include <algorithm>
#include <memory>

using report_testing::ReportTest;
using testing_support::PdfProbe;

namespace {

constexpr int kRasterDpi = 150;

// The colour most pixels of the area have, leaving out dark text ink.
QRgb dominantColour(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    const QRect probe = area.intersected(image.rect());
    for (int y = probe.top(); y <= probe.bottom(); ++y)
        for (int x = probe.left(); x <= probe.right(); ++x)
            if (const QRgb pixel = image.pixel(x, y) | 0xFF000000u; qGray(pixel) >= 110)
                ++counts[pixel];
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            best = it.key(), most = it.value();
    return best;
}

class SchedulePdfTest : public ReportTest, public ::testing::WithParamInterface<report::Interval> {
protected:
    // The sample roster built and saved by the report driver, read back from the saved file.
    std::unique_ptr<sheet::WorkbookData> sampleWorkbook()
    {
        std::vector<qint64> ids;
        for (const auto& employee : store::sampleEmployees())
            ids.push_back(addEmployee(employee.name, employee.position));
        for (const auto& shift : store::sampleShifts(static_cast<int>(GetParam())))
            addShift(shift.weekday, ids[shift.employee], shift.timeIn, shift.timeOut);
        report_testing::RecordingHost host;
        host.chosen = GetParam();
        const QString path = report::EmployeeShiftSchedule::GenerateReport0(host);
        EXPECT_TRUE(errorReports().empty());
        return sheet::xls::readWorkbook(path.toStdString());
    }
};

TEST_P(SchedulePdfTest, OneA4LandscapePageWithTheSheetsTextsFontsAndFills)
{
    const auto book = sampleWorkbook();
    const sheet::SheetData& sheet = *book->sheets.at(static_cast<std::size_t>(book->activeSheet));
    const PdfProbe probe(sheet::render::activeSheetPdf(*book));
    ASSERT_TRUE(probe.error().isEmpty()) << probe.error().toStdString();
    EXPECT_EQ(probe.pages(), 1);
    EXPECT_NEAR(probe.pageSizePoints().width(), 842, 1);
    EXPECT_NEAR(probe.pageSizePoints().height(), 595, 1);

    // Names, positions, weekdays, header times, "Sick?", "Sick", "TOTAL", counts, the titles.
    const QString text = probe.text();
    int shown = 0;
    for (const auto& [ref, cell] : sheet.cells()) {
        const QString display = QString::fromStdString(sheet::displayText(cell, book->formats.at(cell.format)));
        if (display.isEmpty())
            continue;
        ++shown;
        EXPECT_TRUE(text.contains(display)) << '"' << display.toStdString() << "\" of row " << ref.row << ", column " << ref.column;
    }
    EXPECT_GT(shown, 50);
    for (const char* fixed : {"Sick?", "TOTAL", "Monday", "Sunday", "Shift Schedule"})
        EXPECT_TRUE(text.contains(fixed)) << fixed;

    const auto fonts = probe.fonts();
    EXPECT_FALSE(fonts.isEmpty());
    for (const auto& font : fonts)
        EXPECT_TRUE(font.embedded) << font.name.toStdString();

    // Each cell of the used range shows in the PDF the colour it shows in the preview picture,
    // at the place the page's fit puts it: inside the margins (0.7 and 0.5 inch), scaled down to
    // the page's printable width or height.
    const sheet::CellRect used = *sheet.usedRange();
    const QImage preview = sheet::render::renderRange(*book, sheet, used);
    const sheet::render::RangeGeometry geometry(sheet, used);
    ASSERT_EQ(preview.size(), QSize(geometry.width() + 1, geometry.height() + 1)) << "the sample's preview is full size";
    const QImage page = probe.raster(kRasterDpi);
    ASSERT_FALSE(page.isNull()) << probe.error().toStdString();
    const double pointsPerPixel = std::min({0.75, (probe.pageSizePoints().width() - 2 * 50.4) / preview.width(),
                                            (probe.pageSizePoints().height() - 2 * 36.0) / preview.height()});
    const double toRaster = pointsPerPixel * kRasterDpi / 72.0;
    auto onPage = [&](const QRect& r) {
        return QRectF(50.4 * kRasterDpi / 72.0 + r.x() * toRaster, 36.0 * kRasterDpi / 72.0 + r.y() * toRaster,
                      r.width() * toRaster, r.height() * toRaster)
            .toAlignedRect()
            .adjusted(1, 1, -1, -1);
    };
    int filled = 0;
    for (int row = used.top; row <= used.bottom; ++row)
        for (int column = used.left; column <= used.right; ++column) {
            // The cell inside its lines, less a margin that keeps antialiased edges out.
            const QRect inside = geometry.outline(sheet::CellRect{row, column, row, column}).adjusted(3, 3, -3, -3);
            if (inside.width() < 6 || inside.height() < 6 || sheet.mergeAt(row, column) != nullptr)
                continue;
            const QRgb expected = dominantColour(preview, inside);
            filled += expected != 0xFFFFFFFFu;
            EXPECT_EQ(dominantColour(page, onPage(inside)), expected) << "row " << row << ", column " << column;
        }
    EXPECT_GT(filled, 20) << "employees' shifts and the grey totals";
}

INSTANTIATE_TEST_SUITE_P(AllIntervals, SchedulePdfTest, report_testing::kAllIntervals,
                         report_testing::intervalTestName);

}  // namespace
