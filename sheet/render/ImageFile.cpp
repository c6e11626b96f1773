// Picture files.
#include "sheet/render/ImageFile.h"

#include "fileio/AtomicWrite.h"
#include "sheet/model/SheetError.h"
#include "sheet/render/BmpWriter.h"
#include "sheet/render/PngWriter.h"

#include <algorithm>
#include <cctype>

namespace sheet::render {
namespace {

[[noreturn]] void cannotSave(const std::string& path, const std::string& why)
{
    throw SheetError("The picture cannot be saved as \"" + path + "\": " + why);
}

const char* formatFor(const std::string& path)
{
    const auto dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.')
        return nullptr;
    std::string suffix = path.substr(dot + 1);
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), [](unsigned char c) { return std::tolower(c); });
    if (suffix == "bmp")
        return "BMP";
    if (suffix == "png")
        return "PNG";
    return nullptr;
}

}  // namespace

void saveImage(const QImage& image, const std::string& path, FileLife life)
{
    if (image.isNull())
        throw SheetError("There is no picture to save as \"" + path + "\".");
    const char* format = formatFor(path);
    if (format == nullptr)
        cannotSave(path, "only .bmp and .png files are supported.");

    const fileio::WriteOptions options{.durable = life == FileLife::Kept};
    try {
        if (qstrcmp(format, "BMP") == 0) {
            // BMP readers differ in what they accept; a plain 24-bit picture opens everywhere.
            fileio::writeFileFrom(path, [&](const fileio::ByteSink& sink) { writeBmp(image, sink); }, options);
            return;
        }
        fileio::writeFileFrom(path, [&](const fileio::ByteSink& sink) { writePng(image, sink); }, options);
    } catch (const fileio::FileError& e) {
        cannotSave(path, e.reason());
    }
}

}  // namespace sheet::render
