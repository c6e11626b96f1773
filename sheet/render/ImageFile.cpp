// Picture files.
#include "sheet/render/ImageFile.h"

#include <QFileInfo>
#include <QSaveFile>

#include <stdexcept>

namespace sheet::render {
namespace {

[[noreturn]] void fail(const QString& message) { throw std::runtime_error(message.toStdString()); }

const char* formatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return "BMP";
    if (suffix == QLatin1String("png"))
        return "PNG";
    return nullptr;
}

}  // namespace

void saveImage(const QImage& image, const QString& path)
{
    if (image.isNull())
        fail(QStringLiteral("There is no picture to save as \"%1\".").arg(path));
    const char* format = formatFor(path);
    if (format == nullptr)
        fail(QStringLiteral("The picture cannot be saved as \"%1\": only .bmp and .png files are supported.").arg(path));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(QStringLiteral("The picture cannot be saved as \"%1\": %2").arg(path, file.errorString()));
    // BMP readers differ in what they accept; a plain 24-bit picture opens everywhere.
    const QImage opaque = image.hasAlphaChannel() || qstrcmp(format, "BMP") == 0 ? image.convertToFormat(QImage::Format_RGB888) : image;
    if (!opaque.save(&file, format)) {
        file.cancelWriting();
        fail(QStringLiteral("The picture cannot be saved as \"%1\": writing the %2 data failed.").arg(path, QLatin1String(format)));
    }
    if (!file.commit())
        fail(QStringLiteral("The picture cannot be saved as \"%1\": %2").arg(path, file.errorString()));
}

}  // namespace sheet::render
