// A range painted band by band, each band laid out on its own, gives the very pixels of the range
// laid out at once: on a busy sheet whose shared edges disagree, with merged areas, overflowing
// and wrapped text, rows of no height and a column of no width crossing every seam, at full size
// and scaled down, and placed off the painter's origin. And every text is drawn once, as a PDF
// must hold it, however many bands a merged area or a wrapped text crosses.
#include "RenderProbe.h"

#include "sheet/render/Renderer.h"

#include <QPaintEngine>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace sheet;
using namespace sheet::render;
using namespace sheet::render::testing;

namespace {

constexpr int kRows = 60;
constexpr int kColumns = 9;

// A fixed sequence of small numbers, so the sheet is the same on every run.
class Sequence {
public:
    int next(int below)
    {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((state_ >> 33) % static_cast<std::uint64_t>(below));
    }

private:
    std::uint64_t state_ = 12345;
};

OneSheetBook busySheet(bool zeroWidthColumn)
{
    OneSheetBook b;
    Sequence pick;
    for (int row = 1; row <= kRows; ++row) {
        for (int column = 1; column <= kColumns; ++column) {
            CellFormat f;
            if (pick.next(3) == 0)
                f.interiorColorIndex = 3 + pick.next(50);
            for (int side = 0; side < 4; ++side)
                if (pick.next(2) == 0)
                    f.borders[side] = Border{xlContinuous, pick.next(4) == 0 ? xlColorIndexAutomatic : 2 + pick.next(54)};
            f.wrapText = pick.next(6) == 0;
            f.horizontalAlignment = pick.next(2) == 0 ? xlGeneral : xlCenter;
            switch (pick.next(5)) {
            case 0:
                b.put(row, column, std::string(pick.next(2) == 0 ? "Cashier" : "A text long enough to run over"), f);
                break;
            case 1:
                b.put(row, column, 1.0 + pick.next(1000) / 7.0, f);
                break;
            default:
                b.format(row, column, f);
            }
        }
        b.sheet->setRowHeight(row, pick.next(8) == 0 ? 0.0 : 3.0 + pick.next(30));
    }
    // A run of rows of no height, more than one band long.
    for (int row = 20; row <= 26; ++row)
        b.sheet->setRowHeight(row, 0);
    if (zeroWidthColumn)
        b.sheet->setColumnWidth(4, 0);
    b.sheet->setColumnWidth(6, 2);
    CellFormat grey;
    grey.interiorColorIndex = 15;
    grey.verticalAlignment = xlCenter;
    grey.horizontalAlignment = xlCenter;
    grey.borders[kBorderTop] = Border{xlContinuous, 10};
    grey.borders[kBorderLeft] = Border{xlContinuous, 5};
    b.put(8, 2, std::string("Merged over many rows"), grey);
    b.sheet->merges.push_back(CellRect{8, 2, 40, 3});
    b.put(45, 5, std::string("Wide"), grey);
    b.sheet->merges.push_back(CellRect{45, 5, 46, 8});
    b.sheet->merges.push_back(CellRect{kRows, 1, kRows + 4, 2});  // reaches below the range
    return b;
}

void expectBandsPaintAsOne(const OneSheetBook& b, const CellRect& range, const QTransform& placement, bool gridlines)
{
    PaintOptions whole;
    whole.gridlines = gridlines;
    whole.bandCells = 1 << 30;
    const QImage expected = b.paint(range, placement, whole);
    for (const int rowsPerBand : {1, 2, 5}) {
        PaintOptions banded = whole;
        banded.bandCells = rowsPerBand * range.columnCount();
        const QImage actual = b.paint(range, placement, banded);
        ASSERT_EQ(actual.size(), expected.size());
        int differing = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < actual.height(); ++y)
            for (int x = 0; x < actual.width(); ++x)
                if (actual.pixel(x, y) != expected.pixel(x, y) && differing++ == 0)
                    first = QPoint(x, y);
        EXPECT_EQ(differing, 0) << rowsPerBand << " rows a band, scale " << placement.m22() << ": first at (" << first.x()
                                << ", " << first.y() << ")";
    }
}

// A paint device that draws nothing and notes each text drawn on it, with where it went.
class TextRecorder final : public QPaintDevice {
public:
    std::vector<QString> texts;

    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 100000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    class Engine final : public QPaintEngine {
    public:
        explicit Engine(std::vector<QString>& texts) : QPaintEngine(AllFeatures), texts_(texts) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF& at, const QTextItem& item) override
        {
            const QPoint where = painter()->combinedTransform().map(at).toPoint();
            texts_.push_back(QStringLiteral("%1 at %2,%3").arg(item.text()).arg(where.x()).arg(where.y()));
        }
        Type type() const override { return User; }

    private:
        std::vector<QString>& texts_;
    };
    mutable Engine engine_{texts};
};

std::vector<QString> textsDrawn(const OneSheetBook& b, const CellRect& range, double scale, int bandCells)
{
    TextRecorder device;
    {
        QPainter painter(&device);
        painter.scale(scale, scale);
        PaintOptions options;
        options.bandCells = bandCells;
        paintRange(painter, b.book, *b.sheet, range, options);
    }
    std::sort(device.texts.begin(), device.texts.end());
    return device.texts;
}

}  // namespace

TEST(Bands, EveryTextIsDrawnOnceWhateverTheBands)
{
    const OneSheetBook b = busySheet(false);
    const CellRect range{1, 1, kRows, kColumns};
    for (const double scale : {1.0, 0.37, 12.5}) {
        const std::vector<QString> once = textsDrawn(b, range, scale, 1 << 30);
        ASSERT_GT(once.size(), 50u);
        for (const int rowsPerBand : {1, 3})
            EXPECT_EQ(textsDrawn(b, range, scale, rowsPerBand * kColumns), once) << rowsPerBand << " rows a band, scale " << scale;
    }
}

TEST(Bands, AtFullSizeEveryPixelIsAsInOnePiece)
{
    const OneSheetBook b = busySheet(false);
    expectBandsPaintAsOne(b, CellRect{1, 1, kRows, kColumns}, QTransform(), true);
    expectBandsPaintAsOne(b, CellRect{3, 2, kRows - 2, kColumns - 1}, QTransform(), false);
}

TEST(Bands, AColumnOfNoWidthChangesNothing)
{
    const OneSheetBook b = busySheet(true);
    expectBandsPaintAsOne(b, CellRect{1, 1, kRows, kColumns}, QTransform(), true);
}

TEST(Bands, ScaledDownAndPlacedOffTheOriginEveryPixelIsAsInOnePiece)
{
    const OneSheetBook b = busySheet(false);
    for (const double scale : {0.61, 0.23, 0.05})
        expectBandsPaintAsOne(b, CellRect{1, 1, kRows, kColumns}, QTransform::fromScale(scale, scale), true);
    expectBandsPaintAsOne(b, CellRect{1, 1, kRows, kColumns}, QTransform(0.37, 0, 0, 0.37, 3.25, 7.5), false);
}
