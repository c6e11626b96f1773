// PNG files.
#include "sheet/render/PngWriter.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/Adler32.h"
#include "sheet/render/Workers.h"

#include <zlib.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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


// The picture's rows as PNG wants them: three bytes a pixel, red first, each row filtered.
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

    // Row y as the file holds it, into `to` (rowBytes() + 1 bytes): the first row of the picture as
    // it is, every other one by its difference from the row above. A picture of 32-bit pixels is
    // packed to three bytes a pixel on the way, without a packed copy of the picture; `spare` is
    // room for one row of such pixels.
    void filtered(std::uint32_t y, unsigned char* to, std::vector<std::uint32_t>& spare) const
    {
        const int line = static_cast<int>(y);
        to[0] = y == 0 ? kFilterNone : kFilterUp;
        unsigned char* out = to + 1;
        const unsigned char* pixels = image_.constScanLine(line);
        const unsigned char* above = y == 0 ? nullptr : image_.constScanLine(line - 1);
        if (image_.format() == QImage::Format_RGB888) {
            if (!above) {
                std::memcpy(out, pixels, rowBytes());
                return;
            }
            for (std::size_t i = 0, n = rowBytes(); i < n; ++i)
                out[i] = static_cast<unsigned char>(pixels[i] - above[i]);
            return;
        }
        // The differences of whole 32-bit pixels, byte by byte (sixteen bytes at a time), then each 0xffRRGGBB turned into 0x00BBGGRR, its three bytes in file
        // order, four pixels stored as three words.
        const std::uint32_t w = width();
        spare.resize(w);
        if (above) {
            auto* differences = reinterpret_cast<unsigned char*>(spare.data());
            const std::size_t n = std::size_t{w} * 4;
            std::size_t i = 0;
#ifdef __SSE2__
            for (; i + 16 <= n; i += 16) {
                const __m128i difference = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i)),
                                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(above + i)));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(differences + i), difference);
            }
#endif
            for (; i < n; ++i)
                differences[i] = static_cast<unsigned char>(pixels[i] - above[i]);
        } else {
            std::memcpy(spare.data(), pixels, std::size_t{w} * 4);
        }
        const std::uint32_t* values = spare.data();
        const auto rgb = [&](std::uint32_t x) { return __builtin_bswap32(values[x]) >> 8; };
        std::uint32_t x = 0;
        for (; x + 4 <= w; x += 4, out += 12) {
            const std::uint32_t a = rgb(x), b = rgb(x + 1), c = rgb(x + 2), d = rgb(x + 3);
            const std::uint32_t words[3] = {a | b << 24, b >> 8 | c << 16, c >> 16 | d << 8};
            std::memcpy(out, words, sizeof words);
        }
        for (; x < w; ++x, out += 3) {
            const std::uint32_t value = rgb(x);
            out[0] = static_cast<unsigned char>(value);
            out[1] = static_cast<unsigned char>(value >> 8);
            out[2] = static_cast<unsigned char>(value >> 16);
        }
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
    std::vector<std::uint32_t> spare;
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
        for (std::uint32_t y = part.first; y < part.end; ++y) {
            rows.filtered(y, row.data(), spare);
            part.adler = adler32Update(static_cast<std::uint32_t>(part.adler), row.data(), row.size());
            part.packedBytes += static_cast<uLong>(row.size());
            stream.next_in = row.data();
            stream.avail_in = static_cast<uInt>(row.size());
            compress(Z_NO_FLUSH);
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
