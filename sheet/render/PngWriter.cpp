// PNG files.
#include "sheet/render/PngWriter.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/Workers.h"

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
// Rows are compressed in parts of about this many filtered bytes, each on its own as a piece of
// the one deflate stream, so that the parts of a big picture are packed side by side on the
// machine's cores. The parts depend on the picture only: a picture is written the same everywhere.
constexpr std::size_t kPartBytes = 1024 * 1024;
constexpr unsigned kMostThreads = 4;
// Rows packed (to three bytes a pixel) at a time.
constexpr std::uint32_t kPackedRows = 16;

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


// The picture's rows as PNG wants them: three bytes a pixel, red first.
class RgbRows {
public:
    explicit RgbRows(const QImage& picture)
        : image_(picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_RGB888
                     ? picture
                     : picture.convertToFormat(QImage::Format_RGB888))
    {
    }
    std::uint32_t width() const { return static_cast<std::uint32_t>(image_.width()); }
    std::uint32_t height() const { return static_cast<std::uint32_t>(image_.height()); }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width()) * 3; }
    const QImage& image() const { return image_; }

    // Rows [first, end) and the one above them (where there is one) packed, the first of them at
    // line 0: a copy converted by Qt's vector code, for a picture that is not packed.
    QImage packed(std::uint32_t first, std::uint32_t end) const
    {
        const std::uint32_t from = first == 0 ? 0 : first - 1;
        const QImage rows(image_.constScanLine(static_cast<int>(from)), image_.width(), static_cast<int>(end - from),
                          image_.bytesPerLine(), image_.format());
        return image_.format() == QImage::Format_RGB888 ? rows : rows.convertToFormat(QImage::Format_RGB888);
    }

private:
    QImage image_;
};

// Rows [first, end) filtered and deflated as one piece of the stream: raw deflate, ended on a byte
// boundary (the last piece with the stream's final block), with the Adler-32 of what it packed.
struct Part {
    std::uint32_t first = 0;
    std::uint32_t end = 0;
    std::vector<unsigned char> deflated;
    uLong adler = 0;
    uLong packedBytes = 0;
};

void deflatePart(const RgbRows& rows, Part& part, bool last)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw SheetError("The PNG compressor could not start.");
    std::vector<unsigned char> row(rows.rowBytes() + 1);
    // Row y filtered into `row` from `packed`, which holds row `top` at line `lineOfTop` and the row
    // above it before: the first row of the picture as it is, every other one by its difference from
    // the row above.
    const auto filter = [&](const QImage& packed, std::uint32_t top, int lineOfTop, std::uint32_t y) {
        const int line = lineOfTop + static_cast<int>(y - top);
        const unsigned char* pixels = packed.constScanLine(line);
        unsigned char* to = row.data() + 1;
        const std::size_t bytes = rows.rowBytes();
        if (y == 0) {
            row[0] = kFilterNone;
            std::memcpy(to, pixels, bytes);
            return;
        }
        row[0] = kFilterUp;
        const unsigned char* above = packed.constScanLine(line - 1);
        for (std::size_t i = 0; i < bytes; ++i)
            to[i] = static_cast<unsigned char>(pixels[i] - above[i]);
    };
    part.adler = adler32(0L, Z_NULL, 0);
    part.deflated.resize(std::max<std::size_t>(kPieceBytes, deflateBound(&stream, static_cast<uLong>(row.size())) * 2));
    std::size_t used = 0;
    const auto compress = [&](int flush) {
        for (;;) {
            if (part.deflated.size() - used < 64 * 1024)
                part.deflated.resize(part.deflated.size() * 2);
            stream.next_out = part.deflated.data() + used;
            stream.avail_out = static_cast<uInt>(part.deflated.size() - used);
            const int status = deflate(&stream, flush);
            used = part.deflated.size() - stream.avail_out;
            if (status == Z_STREAM_ERROR)
                throw SheetError("The PNG compressor failed.");
            if (status == Z_STREAM_END || (stream.avail_out > 0 && stream.avail_in == 0))
                return;
        }
    };
    try {
        // A few rows packed at a time: small enough to be taken from and given back to the heap
        // again and again, where a whole part's copy would be new memory to fault in.
        for (std::uint32_t top = part.first; top < part.end; top += kPackedRows) {
            const std::uint32_t end = std::min<std::uint32_t>(part.end, top + kPackedRows);
            const QImage packed = rows.packed(top, end);
            if (packed.isNull())
                throw SheetError("There is not enough memory to write the picture as PNG.");
            for (std::uint32_t y = top; y < end; ++y) {
                filter(packed, top, top == 0 ? 0 : 1, y);
                part.adler = adler32(part.adler, row.data(), static_cast<uInt>(row.size()));
                part.packedBytes += static_cast<uLong>(row.size());
                stream.next_in = row.data();
                stream.avail_in = static_cast<uInt>(row.size());
                compress(Z_NO_FLUSH);
            }
        }
        compress(last ? Z_FINISH : Z_SYNC_FLUSH);
    } catch (...) {
        deflateEnd(&stream);
        throw;
    }
    deflateEnd(&stream);
    part.deflated.resize(used);
}

// The rows cut into parts of about kPartBytes.
std::vector<Part> partsOf(const RgbRows& rows)
{
    const std::size_t rowBytes = rows.rowBytes() + 1;
    const auto rowsPerPart = static_cast<std::uint32_t>(std::max<std::size_t>(1, kPartBytes / rowBytes));
    std::vector<Part> parts;
    for (std::uint32_t first = 0; first < rows.height(); first += rowsPerPart) {
        Part part;
        part.first = first;
        part.end = static_cast<std::uint32_t>(std::min<std::uint64_t>(rows.height(), std::uint64_t{first} + rowsPerPart));
        parts.push_back(std::move(part));
    }
    return parts;
}

}  // namespace

void writePng(const QImage& picture, const PngSink& sink)
{
    if (picture.isNull())
        throw SheetError("There is no picture to write as PNG.");
    const RgbRows rows(picture);
    const QImage& image = rows.image();

    sink(kSignature, sizeof kSignature);
    std::vector<unsigned char> header;
    bigEndian(header, rows.width());
    bigEndian(header, rows.height());
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, adaptive filtering, no interlace
    chunk(sink, "IHDR", header.data(), header.size());
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        std::vector<unsigned char> physical;
        bigEndian(physical, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        bigEndian(physical, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        physical.push_back(1);  // per metre
        chunk(sink, "pHYs", physical.data(), physical.size());
    }

    std::vector<Part> parts = partsOf(rows);
    runSideBySide(parts.size(), kMostThreads, [&](std::size_t i) { deflatePart(rows, parts[i], i + 1 == parts.size()); });

    // The zlib stream: its header (deflate, 32K window, fastest level), the parts in order, and
    // the Adler-32 of all the filtered rows; it goes out in IDAT chunks of kPieceBytes.
    std::vector<unsigned char> piece{0x78, 0x01};
    piece.reserve(kPieceBytes);
    uLong adler = adler32(0L, Z_NULL, 0);
    const auto send = [&](const unsigned char* data, std::size_t size) {
        while (size > 0) {
            const std::size_t taken = std::min(size, kPieceBytes - piece.size());
            piece.insert(piece.end(), data, data + taken);
            data += taken;
            size -= taken;
            if (piece.size() == kPieceBytes) {
                chunk(sink, "IDAT", piece.data(), piece.size());
                piece.clear();
            }
        }
    };
    for (Part& part : parts) {
        send(part.deflated.data(), part.deflated.size());
        adler = adler32_combine(adler, part.adler, static_cast<z_off_t>(part.packedBytes));
        std::vector<unsigned char>().swap(part.deflated);
    }
    std::vector<unsigned char> trailer;
    bigEndian(trailer, static_cast<std::uint32_t>(adler));
    send(trailer.data(), trailer.size());
    if (!piece.empty())
        chunk(sink, "IDAT", piece.data(), piece.size());
    chunk(sink, "IEND", nullptr, 0);
}

}  // namespace sheet::render
