// Our PDF pages against QPdfWriter's: the same painting (fills, a clipped fill, texts in a regular
// and a thickened bold face, a text running past its clip) through both writers must read back by
// poppler with the same text and font names and rasterise alike; a new page has its own text; a
// cubic curve becomes quadratics within the tolerance asked for.
#include "sheet/render/FontResolver.h"
#include "sheet/render/PdfPainter.h"
#include "sheet/render/TrueTypeSubset.h"

#include "tests/support/PdfProbe.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace sheet::render;
using testing_support::PdfProbe;

namespace {

QFont sampleFont(bool bold, double points)
{
    sheet::Font font;
    font.name = "Century Gothic";
    font.size = points;
    font.bold = bold;
    QFont qfont = cellFont(font);
    qfont.setStyleStrategy(QFont::StyleStrategy(qfont.styleStrategy() | QFont::PreferNoShaping));
    return qfont;
}

// What the renderer does on paper, at a scale between sheet pixels and device units.
void paintSample(QPainter& painter, const std::function<bool()>& newPage)
{
    painter.scale(9.3, 9.3);
    painter.fillRect(20, 20, 300, 18, QColor(204, 255, 255));
    drawTextLine(painter, QPointF(24, 34), QStringLiteral("Employee 0042 Position 7"), sampleFont(false, 8), Qt::black);
    drawTextLine(painter, QPointF(24, 80), QStringLiteral("Shift Schedule"), sampleFont(true, 24), QColor(51, 102, 255));
    painter.save();
    painter.setClipRect(QRect(20, 100, 60, 20));
    painter.fillRect(0, 90, 400, 60, QColor(255, 153, 204));
    drawTextLine(painter, QPointF(22, 115), QStringLiteral("Cut where its cell ends"), sampleFont(false, 9), Qt::black);
    painter.restore();
    drawTextLine(painter, QPointF(24, 140), QStringLiteral("after the clip"), sampleFont(false, 9), Qt::black);
    ASSERT_TRUE(newPage());
    painter.fillRect(20, 20, 100, 10, Qt::black);
    drawTextLine(painter, QPointF(24, 60), QStringLiteral("Tuesday"), sampleFont(true, 9), Qt::black);
}

QPageLayout sampleLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(50.4, 36, 50.4, 36), QPageLayout::Point);
}

int channelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

}  // namespace

TEST(PdfPainter, PagesMatchQtsOwnPdfWriterInTextFontsAndLook)
{
    QByteArray theirs;
    {
        QBuffer buffer(&theirs);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        ASSERT_TRUE(writer.setPageLayout(sampleLayout()));
        QPainter painter(&writer);
        paintSample(painter, [&] { return writer.newPage(); });
    }
    PdfPaintDevice device(sampleLayout(), QStringLiteral("Sample"));
    {
        QPainter painter(&device);
        paintSample(painter, [&] { return device.newPage(); });
    }
    const PdfProbe ours(device.pdf());
    const PdfProbe reference(theirs);
    ASSERT_TRUE(ours.error().isEmpty()) << ours.error().toStdString();
    ASSERT_TRUE(reference.error().isEmpty()) << reference.error().toStdString();

    EXPECT_EQ(ours.pages(), 2);
    EXPECT_EQ(ours.pageText(1), reference.pageText(1));
    EXPECT_EQ(ours.pageText(2), reference.pageText(2));
    EXPECT_TRUE(ours.pageText(1).contains(QStringLiteral("Shift Schedule")));
    EXPECT_TRUE(ours.pageText(2).contains(QStringLiteral("Tuesday")));
    EXPECT_FALSE(ours.pageText(1).contains(QStringLiteral("Tuesday")));
    QStringList ourFonts, theirFonts;
    for (const auto& font : ours.fonts()) {
        EXPECT_TRUE(font.embedded) << font.name.toStdString();
        ourFonts << font.name;
    }
    for (const auto& font : reference.fonts())
        theirFonts << font.name;
    ourFonts.sort();
    theirFonts.sort();
    EXPECT_EQ(ourFonts, theirFonts);

    // Glyph placement, outlines, the thickened bold and the clip all show in the raster: edges
    // may differ by antialiasing, nothing may stand a pixel off.
    const QImage mine = ours.raster(200);
    const QImage wanted = reference.raster(200);
    ASSERT_FALSE(mine.isNull());
    ASSERT_EQ(mine.size(), wanted.size());
    int inked = 0, off = 0;
    for (int y = 0; y < mine.height(); ++y)
        for (int x = 0; x < mine.width(); ++x) {
            inked += wanted.pixel(x, y) != 0xFFFFFFFFu;
            off += channelDifference(mine.pixel(x, y), wanted.pixel(x, y)) > 64;
        }
    EXPECT_GT(inked, 20000);
    EXPECT_EQ(off, 0);
}

TEST(PdfPainter, ACubicCurveBecomesQuadraticsWithinTheTolerance)
{
    const QPointF p0(0, 0), c1(100, 400), c2(700, -300), p3(800, 100);
    auto cubic = [&](double t) {
        const double u = 1 - t;
        return u * u * u * p0 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * p3;
    };
    for (const double tolerance : {0.5, 4.0}) {
        const auto pieces = pdf::quadraticPieces(p0, c1, c2, p3, tolerance);
        ASSERT_GT(pieces.size(), 1u);
        EXPECT_EQ(pieces.back().second, p3);
        // Every point of every quadratic lies within the tolerance of the cubic.
        std::vector<QPointF> curve;
        for (int i = 0; i <= 20000; ++i)
            curve.push_back(cubic(i / 20000.0));
        QPointF start = p0;
        double worst = 0;
        for (const auto& [control, end] : pieces) {
            for (int i = 0; i <= 16; ++i) {
                const double t = i / 16.0, u = 1 - t;
                const QPointF q = u * u * start + 2 * u * t * control + t * t * end;
                double nearest = 1e9;
                for (const QPointF& c : curve)
                    nearest = std::min(nearest, std::hypot(c.x() - q.x(), c.y() - q.y()));
                worst = std::max(worst, nearest);
            }
            start = end;
        }
        EXPECT_LE(worst, tolerance + 0.05) << tolerance;
    }
    EXPECT_GT(pdf::quadraticPieces(p0, c1, c2, p3, 0.5).size(), pdf::quadraticPieces(p0, c1, c2, p3, 4.0).size());
}
