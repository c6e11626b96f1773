// BMP files.
#include "sheet/render/BmpWriter.h"

#include "sheet/model/SheetError.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace sheet::render {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::size_t kPieceBytes = 256 * 1024;
// Written when the picture names no resolution: 72 dpi.
constexpr int kDefaultDotsPerMeter = 2834;

class LittleEndian {
public:
    explicit LittleEndian(std::vector<unsigned char>& out) : out_(out) {}
    void u16(std::uint16_t v) { bytes(v, 2); }
    void u32(std::uint32_t v) { bytes(v, 4); }

private:
    void bytes(std::uint32_t v, int count)
    {
        for (int i = 0; i < count; ++i)
            out_.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
    std::vector<unsigned char>& out_;
};

}  // namespace

void writeBmp(const QImage& picture, const BmpSink& sink)
{
    if (picture.isNull())
        throw SheetError("There is no picture to write as BMP.");
    const QImage image = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const std::uint64_t width = static_cast<std::uint64_t>(image.width());
    const std::uint64_t height = static_cast<std::uint64_t>(image.height());
    const std::uint64_t rowBytes = (width * 3 + 3) / 4 * 4;
    const std::uint64_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + rowBytes * height;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max())
        throw SheetError("The picture is too large for a BMP file.");

    std::vector<unsigned char> piece;
    piece.reserve(std::max<std::size_t>(kPieceBytes, kFileHeaderBytes + kInfoHeaderBytes + rowBytes));
    LittleEndian out(piece);
    piece.push_back('B');
    piece.push_back('M');
    out.u32(static_cast<std::uint32_t>(fileBytes));
    out.u32(0);  // two reserved words
    out.u32(static_cast<std::uint32_t>(kFileHeaderBytes + kInfoHeaderBytes));
    out.u32(static_cast<std::uint32_t>(kInfoHeaderBytes));
    out.u32(static_cast<std::uint32_t>(width));
    out.u32(static_cast<std::uint32_t>(height));  // positive: the bottom row comes first
    out.u16(1);                                    // planes
    out.u16(24);                                   // bits per pixel
    out.u32(0);                                    // no compression
    out.u32(static_cast<std::uint32_t>(rowBytes * height));
    out.u32(static_cast<std::uint32_t>(image.dotsPerMeterX() ? image.dotsPerMeterX() : kDefaultDotsPerMeter));
    out.u32(static_cast<std::uint32_t>(image.dotsPerMeterY() ? image.dotsPerMeterY() : kDefaultDotsPerMeter));
    out.u32(0);  // colours used: no palette
    out.u32(0);  // important colours

    for (int y = image.height() - 1; y >= 0; --y) {
        if (piece.size() + rowBytes > piece.capacity()) {
            sink(piece.data(), piece.size());
            piece.clear();
        }
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const std::size_t start = piece.size();
        piece.resize(start + rowBytes);  // the row's padding stays zero
        unsigned char* row = piece.data() + start;
        for (std::uint64_t x = 0; x < width; ++x) {
            *row++ = static_cast<unsigned char>(qBlue(pixels[x]));
            *row++ = static_cast<unsigned char>(qGreen(pixels[x]));
            *row++ = static_cast<unsigned char>(qRed(pixels[x]));
        }
    }
    sink(piece.data(), piece.size());
}

}  // namespace sheet::render
