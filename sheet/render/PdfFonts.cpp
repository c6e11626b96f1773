// The embedded fonts of a PDF (PdfFonts.h): glyphs numbered at first use, and each font written
// as a CIDFontType2 of Identity-H encoding under a Type0 font, so that a glyph's code in a shown
// string is its CID in two bytes.
#include "sheet/render/PdfFonts.h"

#include "sheet/model/SheetError.h"
#include "sheet/render/PdfDocument.h"
#include "sheet/render/TrueTypeSubset.h"

#include <QByteArray>
#include <QChar>
#include <QFont>
#include <QList>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string_view>
#include <utility>

namespace sheet::render::pdf {
namespace {

void appendName(std::string& out, const QByteArray& name)
{
    out += '/';
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x21 || u > 0x7E || std::string_view("#()<>[]{}/%").find(c) != std::string_view::npos) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "#%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
}

std::string hex16(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "<%04X>", value & 0xFFFF);
    return text;
}

// The face of a font drawn, opened again at its own weight and without hinting: a face asked
// for bolder than it is draws thickened outlines (see boldThickening in PdfText.cpp), which must
// not be embedded as its glyphs. The face itself when it cannot be found again.
QRawFont plainFace(const QRawFont& raw)
{
    const QByteArray os2 = raw.fontTable("OS/2");
    QFont font(raw.familyName());
    font.setStyleName(raw.styleName());
    if (os2.size() >= 6) {
        const int weight = static_cast<unsigned char>(os2[4]) << 8 | static_cast<unsigned char>(os2[5]);
        if (weight >= 1 && weight <= 1000)
            font.setWeight(static_cast<QFont::Weight>(weight));
    }
    font.setStyle(raw.style());
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    const QRawFont plain = QRawFont::fromFont(font);
    if (plain.isValid() && plain.fontTable("head") == raw.fontTable("head") && plain.fontTable("name") == raw.fontTable("name"))
        return plain;
    return raw;
}

// The ToUnicode CMap: each CID that has a text of its own, to that text in UTF-16.
std::string toUnicodeMap(const std::vector<QString>& characters)
{
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    std::vector<std::size_t> mapped;
    for (std::size_t cid = 0; cid < characters.size(); ++cid)
        if (!characters[cid].isEmpty())
            mapped.push_back(cid);
    // At most a hundred entries to a block, as the CMap format asks.
    for (std::size_t start = 0; start < mapped.size(); start += 100) {
        const std::size_t end = std::min(mapped.size(), start + 100);
        appendInteger(map, static_cast<long long>(end - start));
        map += " beginbfchar\n";
        for (std::size_t k = start; k < end; ++k) {
            map += hex16(static_cast<unsigned>(mapped[k]));
            map += " <";
            for (const QChar u : characters[mapped[k]])
                map += hex16(u.unicode()).substr(1, 4);
            map += ">\n";
        }
        map += "endbfchar\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

}  // namespace

void EmbeddedFonts::clear() { fonts_.clear(); }

int EmbeddedFonts::fontFor(const QRawFont& raw)
{
    // One face is one font of the document, whatever weight it was asked for in.
    const QString key = raw.familyName() + QLatin1Char('\n') + raw.styleName();
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].key == key)
            return static_cast<int>(i);
    Font font;
    font.key = key;
    font.raw = raw;
    font.outlines = plainFace(raw);
    font.referenceSize = raw.pixelSize();
    font.resource = "/F" + std::to_string(fonts_.size() + 1);
    fonts_.push_back(std::move(font));
    cidOf(static_cast<int>(fonts_.size() - 1), 0);
    return static_cast<int>(fonts_.size() - 1);
}

quint16 EmbeddedFonts::cidOf(int fontIndex, quint32 glyph)
{
    Font& font = fonts_[static_cast<std::size_t>(fontIndex)];
    const auto found = font.cids.constFind(glyph);
    if (found != font.cids.constEnd())
        return *found;
    if (font.glyphs.size() > 0xFFFF)
        throw SheetError("The PDF cannot be written: a font has more glyphs than a PDF font holds.");
    const auto cid = static_cast<quint16>(font.glyphs.size());
    font.glyphs.push_back(glyph);
    const QList<QPointF> advance = font.raw.advancesForGlyphIndexes(QList<quint32>{glyph});
    font.widths.push_back(advance.isEmpty() ? 0.0 : advance.front().x() * 1000.0 / font.referenceSize);
    font.characters.emplace_back();
    font.cids.insert(glyph, cid);
    return cid;
}

double EmbeddedFonts::width(int font, quint16 cid) const { return fonts_[static_cast<std::size_t>(font)].widths[cid]; }

bool EmbeddedFonts::hasCharacter(int font, quint16 cid) const
{
    return !fonts_[static_cast<std::size_t>(font)].characters[cid].isEmpty();
}

void EmbeddedFonts::setCharacter(int font, quint16 cid, const QString& character)
{
    fonts_[static_cast<std::size_t>(font)].characters[cid] = character;
}

const std::string& EmbeddedFonts::resource(int font) const { return fonts_[static_cast<std::size_t>(font)].resource; }

std::string EmbeddedFonts::write(PdfDocument& document) const
{
    std::string entries;
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        entries += fonts_[i].resource;
        entries += ' ';
        appendInteger(entries, writeFont(document, fonts_[i], static_cast<int>(i)));
        entries += " 0 R ";
    }
    return entries;
}

int EmbeddedFonts::writeFont(PdfDocument& document, const Font& font, int index) const
{
    const FontFacts facts = fontFactsOf(font.outlines);
    // A subset's name starts with a tag of six capitals that sets it apart from the whole font.
    QByteArray tag;
    for (unsigned n = static_cast<unsigned>(index) * 7919u + static_cast<unsigned>(font.glyphs.size()), k = 0; k < 6; ++k, n /= 26)
        tag += static_cast<char>('A' + n % 26);

    const QByteArray program = trueTypeSubset(font.outlines, font.glyphs);
    Deflater programDeflater(kContentCompression);
    programDeflater.add(std::string_view(program.constData(), static_cast<std::size_t>(program.size())));
    const int file = document.reserve();
    std::string fileEntries = " /Length1 ";
    appendInteger(fileEntries, program.size());
    document.stream(file, fileEntries, programDeflater.finish(), true);

    const int descriptor = document.reserve();
    std::string d = "<< /Type /FontDescriptor /FontName ";
    appendName(d, tag + '+' + facts.postscriptName);
    d += " /Flags 4 /FontBBox [";
    for (const double v : {facts.box.left(), facts.box.top(), facts.box.right(), facts.box.bottom()}) {
        appendInteger(d, std::lround(v));
        d += ' ';
    }
    d += "] /ItalicAngle ";
    appendNumber(d, facts.italicAngle);
    d += " /Ascent ";
    appendInteger(d, std::lround(facts.ascent));
    d += " /Descent ";
    appendInteger(d, std::lround(facts.descent));
    d += " /CapHeight ";
    appendInteger(d, std::lround(facts.capHeight));
    d += " /StemV 80 /FontFile2 ";
    appendInteger(d, file);
    d += " 0 R >>";
    document.object(descriptor, d);

    const int cidFont = document.reserve();
    std::string c = "<< /Type /Font /Subtype /CIDFontType2 /BaseFont ";
    appendName(c, facts.postscriptName);
    c += " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> /FontDescriptor ";
    appendInteger(c, descriptor);
    c += " 0 R /CIDToGIDMap /Identity /W [0 [";
    for (const double w : font.widths) {
        appendNumber(c, w);
        c += ' ';
    }
    c += "]] >>";
    document.object(cidFont, c);

    const int toUnicode = document.reserve();
    document.stream(toUnicode, "", toUnicodeMap(font.characters), false);

    const int type0 = document.reserve();
    std::string t = "<< /Type /Font /Subtype /Type0 /BaseFont ";
    appendName(t, facts.postscriptName);
    t += " /Encoding /Identity-H /DescendantFonts [";
    appendInteger(t, cidFont);
    t += " 0 R] /ToUnicode ";
    appendInteger(t, toUnicode);
    t += " 0 R >>";
    document.object(type0, t);
    return type0;
}

}  // namespace sheet::render::pdf
