// PNG files.
#include "sheet/render/PngWriter.h"

#include "sheet/model/SheetError.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace sheet::render {
namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kPieceBytes = 256 * 1024;
constexpr unsigned char kFilterNone = 0;
constexpr unsigned char kFilterUp = 2;

void bigEndian(std::vector<unsigned char>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

// One chunk: length, type, data, and the CRC of type and data.
void chunk(const PngSink& sink, const char* type, const unsigned char* data, std::size_t size)
{
    std::vector<unsigned char> head;
    bigEndian(head, static_cast<std::uint32_t>(size));
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
    if (size > 0)
        crc = crc32(crc, data, static_cast<uInt>(size));
    sink(head.data(), head.size());
    if (size > 0)
        sink(data, size);
    std::vector<unsigned char> tail;
    bigEndian(tail, static_cast<std::uint32_t>(crc));
    sink(tail.data(), tail.size());
}

}  // namespace

void writePng(const QImage& picture, const PngSink& sink)
{
    if (picture.isNull())
        throw SheetError("There is no picture to write as PNG.");
    const QImage image = picture.format() == QImage::Format_RGB888 ? picture : picture.convertToFormat(QImage::Format_RGB888);
    const auto width = static_cast<std::uint32_t>(image.width());
    const auto height = static_cast<std::uint32_t>(image.height());
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;

    sink(kSignature, sizeof kSignature);
    std::vector<unsigned char> header;
    bigEndian(header, width);
    bigEndian(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filtering, no interlace
    chunk(sink, "IHDR", header.data(), header.size());
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        std::vector<unsigned char> physical;
        bigEndian(physical, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        bigEndian(physical, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        physical.push_back(1);  // per metre
        chunk(sink, "pHYs", physical.data(), physical.size());
    }

    z_stream stream{};
    if (deflateInit(&stream, Z_BEST_SPEED) != Z_OK)
        throw SheetError("The PNG compressor could not start.");
    std::vector<unsigned char> row(rowBytes + 1);
    // Compressed data fills a piece, which goes out as one IDAT chunk when full and at the end.
    std::vector<unsigned char> out(kPieceBytes);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const auto compress = [&](const unsigned char* data, std::size_t size, int flush) {
        stream.next_in = const_cast<Bytef*>(data);
        stream.avail_in = static_cast<uInt>(size);
        for (;;) {
            const int status = deflate(&stream, flush);
            if (status == Z_STREAM_ERROR)
                throw SheetError("The PNG compressor failed.");
            const bool full = stream.avail_out == 0;
            const bool finished = status == Z_STREAM_END;
            if (full || finished) {
                chunk(sink, "IDAT", out.data(), out.size() - stream.avail_out);
                stream.next_out = out.data();
                stream.avail_out = static_cast<uInt>(out.size());
            }
            if (finished || (!full && flush != Z_FINISH && stream.avail_in == 0))
                return;
        }
    };
    try {
        for (std::uint32_t y = 0; y < height; ++y) {
            const unsigned char* pixels = image.constScanLine(static_cast<int>(y));
            if (y == 0) {
                row[0] = kFilterNone;
                std::memcpy(row.data() + 1, pixels, rowBytes);
            } else {
                const unsigned char* above = image.constScanLine(static_cast<int>(y - 1));
                row[0] = kFilterUp;
                for (std::size_t i = 0; i < rowBytes; ++i)
                    row[i + 1] = static_cast<unsigned char>(pixels[i] - above[i]);
            }
            compress(row.data(), row.size(), Z_NO_FLUSH);
        }
        compress(nullptr, 0, Z_FINISH);
    } catch (...) {
        deflateEnd(&stream);
        throw;
    }
    deflateEnd(&stream);
    chunk(sink, "IEND", nullptr, 0);
}

}  // namespace sheet::render
