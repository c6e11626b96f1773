// Saving pictures: both formats read back pixel for pixel, PNG at the fast level, and failures
// leave nothing behind.
#include "sheet/render/ImageFile.h"

#include "fileio/TestHooks.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

using namespace sheet::render;

namespace {

QImage samplePicture()
{
    QImage image(31, 17, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(3, 4, qRgb(0x96, 0x96, 0x96));
    image.setPixel(30, 16, qRgb(0xCC, 0xFF, 0xFF));
    return image;
}

// Every byte value above and below its neighbours, and more compressed data than one piece holds.
QImage noisePicture(int width = 701, int height = 400)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t state = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (state >> 8));
        }
    return image;
}

std::string errorOf(const QImage& image, const QString& path)
{
    try {
        saveImage(image, path.toStdString());
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return {};
}

}  // namespace

TEST(ImageFile, WritesBmpAndPngByExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage picture = samplePicture();
    for (const char* name : {"temp.bmp", "copy.PNG"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        saveImage(picture, path.toStdString());
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        EXPECT_EQ(reader.format(), QString::fromLatin1(name).section('.', 1).toLower().toLatin1()) << name;
        const QImage back = reader.read();
        ASSERT_FALSE(back.isNull()) << name;
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture) << name;
    }
    const QString noisy = dir.filePath("noise.png");
    saveImage(noisePicture(), noisy.toStdString());
    EXPECT_EQ(QImage(noisy).convertToFormat(QImage::Format_RGB32), noisePicture());
    EXPECT_GT(QFile(noisy).size(), 512 * 1024);
    QFile::remove(noisy);

    // PNG is packed at zlib's fastest level: the level class in the stream's header is 0.
    QFile png(dir.filePath("copy.PNG"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray bytes = png.readAll();
    const qsizetype data = bytes.indexOf("IDAT");
    ASSERT_GT(data, 0);
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(data + 5)) >> 6, 0);

    // Saving again replaces the file.
    const QString path = dir.filePath("temp.bmp");
    QImage other = samplePicture();
    other.fill(Qt::black);
    saveImage(other, path.toStdString());
    EXPECT_EQ(QImage(path).pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST(ImageFile, APngPackedInSeveralPartsReadsBackWhole)
{
    // Over 6 MB of rows: packed in parts side by side, joined into one stream with one checksum.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture = noisePicture(1500, 1400);
    for (int y = 300; y < 900; ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, 0x80));
    const QString path = dir.filePath("big.png");
    saveImage(picture, path.toStdString());
    QImageReader reader(path);
    const QImage back = reader.read();
    ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), picture);
}

TEST(ImageFile, FailuresAreReportedAndLeaveNoFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QImage picture = samplePicture();

    const QString missingFolder = dir.filePath("no such folder/temp.bmp");
    const std::string missing = errorOf(picture, missingFolder);
    EXPECT_NE(missing.find("temp.bmp"), std::string::npos) << missing;
    EXPECT_FALSE(QFile::exists(missingFolder));

    // The target is a folder: refused, and no temporary file is left behind.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.png"));
    EXPECT_FALSE(errorOf(picture, dir.filePath("taken.png")).empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // An unknown extension or an empty picture never touches an existing file.
    const QString existing = dir.filePath("kept.jpg");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old");
    file.close();
    const std::string unknown = errorOf(picture, existing);
    EXPECT_NE(unknown.find(".bmp and .png"), std::string::npos) << unknown;
    EXPECT_FALSE(errorOf(QImage(), dir.filePath("empty.png")).empty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("old"));
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.png")));
}

TEST(ImageFile, AKeptPictureIsSyncedToDiskAndAWorkingOneIsNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("temp.bmp").toStdString();
    const QImage picture = samplePicture();
    fileio::test_hooks::setFault([](fileio::test_hooks::Step step) { return step == fileio::test_hooks::Step::Sync ? EIO : 0; });
    const std::string kept = errorOf(picture, QString::fromStdString(path));
    saveImage(picture, path, FileLife::Working);
    fileio::test_hooks::setFault({});
    EXPECT_NE(kept.find("Input/output error"), std::string::npos) << kept;
    EXPECT_EQ(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32), picture);
}
