// PDF file structure.
#include "sheet/render/PdfDocument.h"

#include "sheet/model/SheetError.h"

#include <zlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sheet::render::pdf {
namespace {

constexpr std::size_t kDeflatePiece = 256 * 1024;

}  // namespace

void appendInteger(std::string& out, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

void appendNumber(std::string& out, double value)
{
    if (!std::isfinite(value)) {
        out += '0';
        return;
    }
    if (value == std::trunc(value) && std::abs(value) < 1e15) {
        appendInteger(out, static_cast<long long>(value));
        return;
    }
    if (std::abs(value) >= 1e9) {
        appendInteger(out, std::llround(value));
        return;
    }
    if (value < 0) {
        out += '-';
        value = -value;
    }
    auto whole = static_cast<unsigned>(value);
    auto fraction = static_cast<long>((value - whole) * 1e9);
    if (fraction >= 1000000000L) {
        ++whole;
        fraction = 0;
    }
    // Nine significant digits in all: each digit before the point takes one from the fraction.
    long place = 100000000L;
    if (whole == 0) {
        out += '0';
    } else {
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, whole).ptr;
        out.append(digits, end);
        for (const char* d = digits; d != end; ++d) {
            place /= 10;
            fraction /= 10;
        }
    }
    if (fraction == 0)
        return;
    out += '.';
    for (; place > 0; place /= 10)
        out += static_cast<char>('0' + (fraction / place) % 10);
}

struct Deflater::State {
    z_stream z{};
};

Deflater::Deflater(int level) : state_(new State)
{
    if (deflateInit(&state_->z, level) != Z_OK) {
        delete state_;
        throw SheetError("The PDF cannot be written: compression could not start.");
    }
}

Deflater::~Deflater()
{
    deflateEnd(&state_->z);
    delete state_;
}

void Deflater::run(const char* data, std::size_t size, int flush)
{
    z_stream& z = state_->z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = static_cast<uInt>(size);
    for (;;) {
        const std::size_t used = out_.size();
        out_.resize(used + kDeflatePiece);
        z.next_out = reinterpret_cast<Bytef*>(out_.data() + used);
        z.avail_out = static_cast<uInt>(kDeflatePiece);
        const int result = deflate(&z, flush);
        out_.resize(used + kDeflatePiece - z.avail_out);
        if (result == Z_STREAM_ERROR)
            throw SheetError("The PDF cannot be written: compression failed.");
        if (flush == Z_FINISH ? result == Z_STREAM_END : (z.avail_in == 0 && z.avail_out != 0))
            return;
    }
}

void Deflater::add(std::string_view data)
{
    // zlib counts in 32 bits: very large content goes in pieces.
    while (!data.empty()) {
        const std::size_t piece = std::min<std::size_t>(data.size(), 1u << 30);
        run(data.data(), piece, Z_NO_FLUSH);
        data.remove_prefix(piece);
    }
}

std::string Deflater::finish()
{
    run(nullptr, 0, Z_FINISH);
    return std::move(out_);
}

PdfDocument::PdfDocument()
{
    // A binary comment after the header tells transfer programs that the file is not text.
    out_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    offsets_.push_back(0);  // object 0 is the head of the free list
}

int PdfDocument::reserve()
{
    offsets_.push_back(0);
    return static_cast<int>(offsets_.size() - 1);
}

void PdfDocument::object(int number, std::string_view body)
{
    offsets_.at(static_cast<std::size_t>(number)) = out_.size();
    appendInteger(out_, number);
    out_ += " 0 obj\n";
    out_ += body;
    out_ += "\nendobj\n";
}

void PdfDocument::stream(int number, std::string_view entries, std::string_view data, bool compressed)
{
    std::string head = "<<";
    head += entries;
    head += "\n/Length ";
    appendInteger(head, static_cast<long long>(data.size()));
    if (compressed)
        head += "\n/Filter /FlateDecode";
    head += ">>\nstream\n";
    offsets_.at(static_cast<std::size_t>(number)) = out_.size();
    appendInteger(out_, number);
    out_ += " 0 obj\n";
    out_ += head;
    out_ += data;
    out_ += "\nendstream\nendobj\n";
}

QByteArray PdfDocument::finish(int catalog, int info)
{
    const std::size_t xref = out_.size();
    out_ += "xref\n0 ";
    appendInteger(out_, static_cast<long long>(offsets_.size()));
    out_ += "\n0000000000 65535 f \n";
    char line[24];
    for (std::size_t n = 1; n < offsets_.size(); ++n) {
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offsets_[n]);
        out_ += line;
    }
    out_ += "trailer\n<< /Size ";
    appendInteger(out_, static_cast<long long>(offsets_.size()));
    out_ += " /Root ";
    appendInteger(out_, catalog);
    out_ += " 0 R /Info ";
    appendInteger(out_, info);
    out_ += " 0 R >>\nstartxref\n";
    appendInteger(out_, static_cast<long long>(xref));
    out_ += "\n%%EOF\n";
    return QByteArray(out_.data(), static_cast<qsizetype>(out_.size()));
}

std::string textString(const QString& text)
{
    std::string out = "(\xFE\xFF";
    for (const QChar c : text) {
        for (const auto byte : {static_cast<char>(c.unicode() >> 8), static_cast<char>(c.unicode() & 0xFF)}) {
            if (byte == '(' || byte == ')' || byte == '\\')
                out += '\\';
            if (byte == '\r') {
                out += "\\r";
                continue;
            }
            out += byte;
        }
    }
    out += ')';
    return out;
}

}  // namespace sheet::render::pdf
