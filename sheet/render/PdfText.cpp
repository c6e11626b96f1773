// Shaping a line of text for PDF page content (PdfText.h). A text keeps the glyphs and positions
// Qt's layout gives it on the device: each glyph is shown at its font's own advance, and a string
// gets a position adjustment only where a glyph stands away from where Qt puts it.
#include "sheet/render/PdfText.h"

#include "sheet/render/PdfDocument.h"
#include "sheet/render/PdfFonts.h"

#include <QByteArray>
#include <QGlyphRun>
#include <QList>
#include <QPaintDevice>
#include <QPointF>
#include <QRawFont>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace sheet::render::pdf {
namespace {

// How far (in text units, the painter's units at the text) a glyph may stand from where Qt puts
// it before its string gets a position adjustment.
constexpr double kPlacementSlack = 1e-3;
// Width given to a line of text so that nothing wraps.
constexpr double kUnboundedLine = 1e6;

// A glyph's code in a shown string: its CID in two bytes, as the fonts' Identity-H encoding reads it.
void appendGlyph(std::string& out, quint16 cid)
{
    for (const char byte : {static_cast<char>(cid >> 8), static_cast<char>(cid & 0xFF)}) {
        if (byte == '(' || byte == ')' || byte == '\\')
            out += '\\';
        if (byte == '\r')
            out += "\\r";
        else
            out += byte;
    }
}

// Adjustments in thousandths of the em, to two places.
void appendAdjustment(std::string& out, double value)
{
    const long long hundredths = std::llround(value * 100);
    if (hundredths < 0)
        out += '-';
    const long long magnitude = std::llabs(hundredths);
    appendInteger(out, magnitude / 100);
    if (magnitude % 100 != 0) {
        out += '.';
        out += static_cast<char>('0' + magnitude % 100 / 10);
        if (magnitude % 10 != 0)
            out += static_cast<char>('0' + magnitude % 10);
    }
}

// A bold font drawn in a face that is not bold is thickened: Qt's PDF pages drew such a text a
// second time, half the font's underline thickness to the left of the first. Whether and how
// much follows the rule of Qt's FreeType fonts, read from the face's own tables. 0: not thickened.
double boldThickening(const QFont& font, const QRawFont& raw)
{
    static const bool refused = qEnvironmentVariableIsSet("QT_NO_SYNTHESIZED_BOLD");
    const double size = raw.pixelSize();
    if (refused || font.weight() < QFont::Bold || size >= 64)
        return 0;
    const QByteArray os2 = raw.fontTable("OS/2");
    const QByteArray head = raw.fontTable("head");
    const QByteArray post = raw.fontTable("post");
    const auto u16 = [](const QByteArray& t, qsizetype at) {
        return at + 2 <= t.size() ? (static_cast<unsigned char>(t[at]) << 8 | static_cast<unsigned char>(t[at + 1])) : 0;
    };
    if (os2.size() < 64 || head.size() < 54 || post.size() < 16)
        return 0;
    const bool boldFace = (u16(os2, 62) & 0x20) != 0;
    const bool fixedPitch = (u16(post, 12) << 16 | u16(post, 14)) != 0;
    if (boldFace || fixedPitch || u16(os2, 4) >= 700)
        return 0;
    // FreeType's fixed-point scaling: 26.6 pixels per font unit in 16.16, then the thickness.
    const long long unitsPerEm = std::max(16, u16(head, 18));
    const long long pixels = std::llround(size * 64);
    const long long yScale = ((pixels << 16) + unitsPerEm / 2) / unitsPerEm;
    const long long thickness = static_cast<std::int16_t>(u16(post, 10));
    const long long product = std::llabs(thickness) * yScale;
    const long long scaled = (product + 0x8000) >> 16;
    return (thickness < 0 ? -scaled : scaled) / 64.0;
}

// The character of the text that the font maps to `glyph`, where shaping did not keep one
// glyph per character.
QString characterOf(const QRawFont& raw, quint32 glyph, const QList<uint>& characters)
{
    for (const uint c : characters) {
        const QString one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        const QList<quint32> mapped = raw.glyphIndexesForString(one);
        if (mapped.size() == 1 && mapped.front() == glyph)
            return one;
    }
    return {};
}

}  // namespace

TextShaper::TextShaper(const QPaintDevice* device, EmbeddedFonts& fonts) : device_(device), fonts_(fonts) {}

void TextShaper::clear()
{
    fontKeys_.clear();
    shaped_.clear();
}

const ShapedText& TextShaper::shape(const QFont& font, const QString& text)
{
    std::size_t slot = 0;
    while (slot < fontKeys_.size() && !(fontKeys_[slot] == font))
        ++slot;
    if (slot == fontKeys_.size()) {
        fontKeys_.push_back(font);
        shaped_.emplace_back();
    }
    QHash<QString, ShapedText>& cache = shaped_[slot];
    const auto found = cache.constFind(text);
    if (found != cache.constEnd())
        return *found;
    return *cache.insert(text, shapeNew(font, text));
}

// Glyphs and positions as QPainter::drawText lays the line out on the device.
ShapedText TextShaper::shapeNew(const QFont& font, const QString& text)
{
    QTextLayout layout(text, QFont(font, device_), device_);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return {};
    }
    line.setLineWidth(kUnboundedLine);
    layout.endLayout();
    const double baseline = line.ascent();
    const QList<uint> characters = text.toUcs4();

    ShapedText shaped;
    const QList<QGlyphRun> runs = line.glyphRuns();
    for (const QGlyphRun& run : runs) {
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        if (glyphs.isEmpty() || positions.size() != glyphs.size())
            continue;
        const int fontIndex = fonts_.fontFor(run.rawFont());
        const double size = run.rawFont().pixelSize();
        const bool oneToOne = runs.size() == 1 && glyphs.size() == characters.size();
        qsizetype first = 0;
        while (first < glyphs.size()) {
            // A run on one baseline; a glyph set higher or lower starts another.
            qsizetype last = first;
            while (last + 1 < glyphs.size() && positions[last + 1].y() == positions[first].y())
                ++last;
            ShapedRun out;
            out.font = fontIndex;
            out.size = size;
            out.x = positions[first].x();
            out.y = positions[first].y() - baseline;
            std::string piece = "(";
            bool adjusted = false;
            double pen = 0;
            for (qsizetype i = first; i <= last; ++i) {
                const quint16 cid = fonts_.cidOf(fontIndex, glyphs[i]);
                if (!fonts_.hasCharacter(fontIndex, cid)) {
                    if (oneToOne)
                        fonts_.setCharacter(fontIndex, cid, QString::fromUcs4(reinterpret_cast<const char32_t*>(&characters[i]), 1));
                    else
                        fonts_.setCharacter(fontIndex, cid, characterOf(run.rawFont(), glyphs[i], characters));
                }
                appendGlyph(piece, cid);
                pen += fonts_.width(fontIndex, cid) * size / 1000.0;
                if (i == last)
                    break;
                const double off = pen - (positions[i + 1].x() - out.x);
                if (std::abs(off) > kPlacementSlack) {
                    const double adjustment = std::round(off * 1000.0 / size * 100) / 100;
                    piece += ')';
                    appendAdjustment(piece, adjustment);
                    piece += '(';
                    pen -= adjustment * size / 1000.0;
                    adjusted = true;
                }
            }
            piece += ')';
            out.show = adjusted ? "[" + piece + "]TJ\n" : piece + "Tj\n";
            const double thickening = boldThickening(font, run.rawFont());
            shaped.push_back(out);
            if (thickening > 0) {
                out.ghost = true;
                out.x -= thickening / 2;
                shaped.push_back(std::move(out));
            }
            first = last + 1;
        }
    }
    return shaped;
}

}  // namespace sheet::render::pdf
