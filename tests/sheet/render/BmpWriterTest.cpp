// BMP files made row by row: the same bytes as Qt's own writer makes of the picture in 24 bits,
// for every row padding, with and without a resolution, from other formats, and in bounded
// pieces for a large picture.
#include "sheet/render/BmpWriter.h"

#include "sheet/model/SheetError.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>

using sheet::render::writeBmp;

namespace {

QImage noise(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(width * 7919 + height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | (random.generate() & 0xFFFFFFu));
    return format == QImage::Format_RGB32 ? image : image.convertToFormat(format);
}

QByteArray qtBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"));
    return bytes;
}

struct Written {
    QByteArray bytes;
    qsizetype largestPiece = 0;
    int pieces = 0;
};

Written ours(const QImage& image)
{
    Written out;
    writeBmp(image, [&](const void* data, std::size_t size) {
        out.bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
        out.largestPiece = std::max(out.largestPiece, static_cast<qsizetype>(size));
        ++out.pieces;
    });
    return out;
}

}  // namespace

TEST(BmpWriter, MakesTheBytesQtsWriterMakesForEveryRowPadding)
{
    for (int width = 1; width <= 5; ++width) {
        for (const bool resolution : {false, true}) {
            QImage image = noise(width, 3);
            if (resolution) {
                image.setDotsPerMeterX(3780);
                image.setDotsPerMeterY(3779);
            }
            SCOPED_TRACE(testing::Message() << width << " pixels wide, resolution " << resolution);
            const QByteArray bytes = ours(image).bytes;
            EXPECT_EQ(bytes, qtBmp(image));
            QImage back;
            ASSERT_TRUE(back.loadFromData(bytes, "BMP"));
            EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
        }
    }
}

TEST(BmpWriter, OtherFormatsAreWrittenAsTheirColoursShow)
{
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888,
                                        QImage::Format_RGB16}) {
        SCOPED_TRACE(format);
        const QImage image = noise(7, 4, format);
        EXPECT_EQ(ours(image).bytes, qtBmp(image));
    }
    EXPECT_THROW(ours(QImage()), sheet::SheetError);
}

TEST(BmpWriter, ALargePictureArrivesInBoundedPieces)
{
    const QImage image = noise(1067, 700);  // about 2.2 MB of rows
    const Written written = ours(image);
    EXPECT_EQ(written.bytes, qtBmp(image));
    EXPECT_GT(written.pieces, 5);
    EXPECT_LE(written.largestPiece, 256 * 1024);
}
