// The bytes of a PDF file: numbered objects written one after the other, streams compressed with
// deflate, and the cross-reference table and trailer that let a reader find each object. Knows
// nothing of pages or painting; PdfPainter builds its pages and content, PdfFonts its fonts, on
// top of it.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sheet::render::pdf {

// Numbers as page content holds them: whole numbers as they are, others with nine significant
// digits cut (not rounded) after the point, the form the PDFs of our pages have always had, so
// that a reader places every shape on the same device pixel as before.
void appendNumber(std::string& out, double value);
void appendInteger(std::string& out, long long value);

// A deflate stream fed piece by piece, so that content need not be held whole before it is
// compressed. Throws SheetError when zlib fails.
class Deflater {
public:
    explicit Deflater(int level);
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    void add(std::string_view data);
    // The whole compressed stream; the deflater takes no more data afterwards.
    std::string finish();

private:
    void run(const char* data, std::size_t size, int flush);
    struct State;
    State* state_;
    std::string out_;
};

// zlib's default level: against its fastest level the 500-employee page takes a few percent longer
// to write and comes out 30 % smaller, and the largest roster's page stays below what Qt's writer made.
inline constexpr int kContentCompression = 6;

class PdfDocument {
public:
    PdfDocument();
    // A number for an object written later (objects may refer to each other in any order).
    int reserve();
    // Writes object `number` whose body is `body` ("<< ... >>", "[ ... ]", ...).
    void object(int number, std::string_view body);
    // Writes a stream object: `entries` go into its dictionary besides /Length (and /Filter
    // /FlateDecode when `compressed`); `data` is written as it is.
    void stream(int number, std::string_view entries, std::string_view data, bool compressed);
    // The finished file: cross-reference table and trailer naming `catalog` and `info`.
    QByteArray finish(int catalog, int info);

private:
    std::string out_;
    std::vector<std::size_t> offsets_;  // by object number; 0: not written yet
};

// A text string for the document's information (UTF-16BE with its byte order mark, escaped).
std::string textString(const QString& text);

}  // namespace sheet::render::pdf
