// TrueType subsets. Table layouts are those of the OpenType format; every table a reader needs to
// draw the glyphs is written anew or copied from the font with the counts changed.
#include "sheet/render/TrueTypeSubset.h"

#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <string>

namespace sheet::render::pdf {
namespace {

// Font units an outline may move when its curves become quadratic: half of the unit that TrueType
// coordinates are rounded to anyway.
constexpr double kOutlineTolerance = 0.5;
// A cubic curve is halved at most this many times (2^8 pieces), whatever its shape.
constexpr int kMaxSplits = 8;

using Bytes = std::string;

void u16(Bytes& out, unsigned v)
{
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v & 0xFF);
}
void s16(Bytes& out, int v) { u16(out, static_cast<unsigned>(v) & 0xFFFF); }
void u32(Bytes& out, std::uint32_t v)
{
    u16(out, v >> 16);
    u16(out, v & 0xFFFF);
}
void put16(Bytes& out, std::size_t at, unsigned v)
{
    out[at] = static_cast<char>((v >> 8) & 0xFF);
    out[at + 1] = static_cast<char>(v & 0xFF);
}
void put32(Bytes& out, std::size_t at, std::uint32_t v)
{
    put16(out, at, v >> 16);
    put16(out, at + 2, v & 0xFFFF);
}
unsigned read16(const QByteArray& table, qsizetype at)
{
    if (at + 2 > table.size())
        return 0;
    return (static_cast<unsigned char>(table[at]) << 8) | static_cast<unsigned char>(table[at + 1]);
}
int readS16(const QByteArray& table, qsizetype at) { return static_cast<std::int16_t>(read16(table, at)); }

std::uint32_t checksum(const Bytes& table)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < table.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = (word << 8) | (i + k < table.size() ? static_cast<unsigned char>(table[i + k]) : 0u);
        sum += word;
    }
    return sum;
}

double errorOfOneQuadratic(const QPointF& p0, const QPointF& c1, const QPointF& c2, const QPointF& p3)
{
    // The largest distance between a cubic and the quadratic through its ends with control point
    // (3 (c1 + c2) - p0 - p3) / 4 is sqrt(3) / 36 times the length of p3 - 3 c2 + 3 c1 - p0.
    const QPointF d = p3 - 3 * c2 + 3 * c1 - p0;
    return std::sqrt(3.0) / 36.0 * std::hypot(d.x(), d.y());
}

void split(const QPointF& p0, const QPointF& c1, const QPointF& c2, const QPointF& p3, double tolerance, int depth,
           std::vector<std::pair<QPointF, QPointF>>& out)
{
    if (depth >= kMaxSplits || errorOfOneQuadratic(p0, c1, c2, p3) <= tolerance) {
        out.emplace_back((3 * (c1 + c2) - p0 - p3) / 4, p3);
        return;
    }
    const QPointF a = (p0 + c1) / 2, b = (c1 + c2) / 2, c = (c2 + p3) / 2;
    const QPointF ab = (a + b) / 2, bc = (b + c) / 2;
    const QPointF mid = (ab + bc) / 2;
    split(p0, a, ab, mid, tolerance, depth + 1, out);
    split(mid, bc, c, p3, tolerance, depth + 1, out);
}

struct Point {
    int x;
    int y;
    bool onCurve;
};

// One glyph's outline in font units, y up, as TrueType contours.
std::vector<std::vector<Point>> contoursOf(const QPainterPath& path)
{
    std::vector<std::vector<Point>> contours;
    auto at = [](const QPointF& p, bool on) { return Point{static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(-p.y())), on}; };
    QPointF current;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF p(e.x, e.y);
        if (e.type == QPainterPath::MoveToElement) {
            contours.emplace_back();
            contours.back().push_back(at(p, true));
        } else if (contours.empty()) {
            continue;
        } else if (e.type == QPainterPath::LineToElement) {
            contours.back().push_back(at(p, true));
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPointF c2(path.elementAt(i + 1).x, path.elementAt(i + 1).y);
            const QPointF end(path.elementAt(i + 2).x, path.elementAt(i + 2).y);
            for (const auto& [control, to] : quadraticPieces(current, p, c2, end, kOutlineTolerance)) {
                contours.back().push_back(at(control, false));
                contours.back().push_back(at(to, true));
            }
            i += 2;
            current = end;
            continue;
        }
        current = p;
    }
    for (auto& contour : contours) {
        // A contour closes by itself; repeated on-curve points add nothing.
        std::vector<Point> kept;
        for (const Point& p : contour)
            if (kept.empty() || !p.onCurve || !kept.back().onCurve || p.x != kept.back().x || p.y != kept.back().y)
                kept.push_back(p);
        while (kept.size() > 1 && kept.back().onCurve && kept.back().x == kept.front().x && kept.back().y == kept.front().y)
            kept.pop_back();
        contour = std::move(kept);
    }
    std::erase_if(contours, [](const std::vector<Point>& c) { return c.size() < 2; });
    return contours;
}

struct Glyph {
    Bytes data;
    QRect box;  // x, y, right, top in font units (QRect's own sides, y up)
    int points = 0;
    int contours = 0;
};

Glyph encodeGlyph(const QPainterPath& path)
{
    Glyph glyph;
    const auto contours = contoursOf(path);
    if (contours.empty())
        return glyph;
    int xMin = std::numeric_limits<int>::max(), yMin = xMin, xMax = std::numeric_limits<int>::min(), yMax = xMax;
    for (const auto& contour : contours)
        for (const Point& p : contour) {
            xMin = std::min(xMin, p.x);
            yMin = std::min(yMin, p.y);
            xMax = std::max(xMax, p.x);
            yMax = std::max(yMax, p.y);
            ++glyph.points;
        }
    glyph.contours = static_cast<int>(contours.size());
    glyph.box = QRect(QPoint(xMin, yMin), QPoint(xMax, yMax));
    Bytes& out = glyph.data;
    s16(out, glyph.contours);
    s16(out, xMin);
    s16(out, yMin);
    s16(out, xMax);
    s16(out, yMax);
    int end = -1;
    for (const auto& contour : contours) {
        end += static_cast<int>(contour.size());
        u16(out, static_cast<unsigned>(end));
    }
    u16(out, 0);  // no instructions
    // Flags then x deltas then y deltas: a delta of one byte carries its sign in the flag, a
    // delta of 0 is left out.
    Bytes flags, xs, ys;
    int lastX = 0, lastY = 0;
    for (const auto& contour : contours)
        for (const Point& p : contour) {
            unsigned char flag = p.onCurve ? 0x01 : 0x00;
            const int dx = p.x - lastX, dy = p.y - lastY;
            if (dx == 0) {
                flag |= 0x10;
            } else if (std::abs(dx) <= 255) {
                flag |= 0x02 | (dx > 0 ? 0x10 : 0);
                xs += static_cast<char>(std::abs(dx));
            } else {
                s16(xs, dx);
            }
            if (dy == 0) {
                flag |= 0x20;
            } else if (std::abs(dy) <= 255) {
                flag |= 0x04 | (dy > 0 ? 0x20 : 0);
                ys += static_cast<char>(std::abs(dy));
            } else {
                s16(ys, dy);
            }
            flags += static_cast<char>(flag);
            lastX = p.x;
            lastY = p.y;
        }
    out += flags;
    out += xs;
    out += ys;
    while (out.size() % 4 != 0)
        out += '\0';
    return glyph;
}

QByteArray postscriptNameOf(const QRawFont& font)
{
    // Name 6 of the naming table, in its Windows (UTF-16) or Macintosh (one byte) record.
    const QByteArray names = font.fontTable("name");
    const unsigned count = read16(names, 2);
    const unsigned strings = read16(names, 4);
    for (unsigned i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * static_cast<qsizetype>(i);
        const unsigned platform = read16(names, record);
        const unsigned nameId = read16(names, record + 6);
        const unsigned length = read16(names, record + 8);
        const unsigned offset = read16(names, record + 10);
        if (nameId != 6 || strings + offset + length > static_cast<unsigned>(names.size()))
            continue;
        const QByteArray raw = names.mid(strings + offset, length);
        QByteArray name;
        if (platform == 3 || platform == 0) {
            for (qsizetype k = 0; k + 1 < raw.size(); k += 2)
                if (raw[k] == 0)
                    name += raw[k + 1];
        } else if (platform == 1) {
            name = raw;
        }
        if (!name.isEmpty())
            return name;
    }
    QByteArray name = (font.familyName() + font.styleName()).toLatin1();
    name.replace(' ', "");
    return name;
}

}  // namespace

std::vector<std::pair<QPointF, QPointF>> quadraticPieces(const QPointF& p0, const QPointF& c1, const QPointF& c2,
                                                         const QPointF& p3, double tolerance)
{
    std::vector<std::pair<QPointF, QPointF>> out;
    split(p0, c1, c2, p3, tolerance, 0, out);
    return out;
}

FontFacts fontFactsOf(const QRawFont& font)
{
    FontFacts facts;
    facts.postscriptName = postscriptNameOf(font);
    // PostScript names hold no spaces or delimiters.
    facts.postscriptName.replace(' ', "");
    const QByteArray head = font.fontTable("head");
    const int unitsPerEm = static_cast<int>(read16(head, 18));
    facts.unitsPerEm = unitsPerEm >= 16 ? unitsPerEm : 1000;
    const double scale = 1000.0 / facts.unitsPerEm;
    if (head.size() >= 54)
        facts.box = QRectF(QPointF(readS16(head, 36) * scale, readS16(head, 38) * scale),
                           QPointF(readS16(head, 40) * scale, readS16(head, 42) * scale));
    const QByteArray hhea = font.fontTable("hhea");
    if (hhea.size() >= 36) {
        facts.ascent = readS16(hhea, 4) * scale;
        facts.descent = readS16(hhea, 6) * scale;
    }
    facts.capHeight = facts.ascent;
    const QByteArray os2 = font.fontTable("OS/2");
    if (read16(os2, 0) >= 2 && os2.size() >= 90)
        facts.capHeight = readS16(os2, 88) * scale;
    const QByteArray post = font.fontTable("post");
    if (post.size() >= 8)
        facts.italicAngle = readS16(post, 4) + read16(post, 6) / 65536.0;
    return facts;
}

QByteArray trueTypeSubset(const QRawFont& font, const std::vector<quint32>& glyphs)
{
    const FontFacts facts = fontFactsOf(font);
    QRawFont unscaled = font;
    unscaled.setPixelSize(facts.unitsPerEm);

    Bytes glyf, loca, hmtx;
    int maxPoints = 0, maxContours = 0;
    QRect box;
    std::vector<quint32> ids(glyphs.begin(), glyphs.end());
    QList<quint32> idList(ids.begin(), ids.end());
    const QList<QPointF> advances = unscaled.advancesForGlyphIndexes(idList);
    int advanceMax = 0;
    for (std::size_t n = 0; n < glyphs.size(); ++n) {
        u32(loca, static_cast<std::uint32_t>(glyf.size()));
        const Glyph glyph = encodeGlyph(unscaled.pathForGlyph(glyphs[n]));
        glyf += glyph.data;
        maxPoints = std::max(maxPoints, glyph.points);
        maxContours = std::max(maxContours, glyph.contours);
        if (glyph.contours > 0)
            box = box.isNull() ? glyph.box : box.united(glyph.box);
        const int advance = static_cast<int>(std::lround(n < static_cast<std::size_t>(advances.size()) ? advances[n].x() : 0));
        advanceMax = std::max(advanceMax, advance);
        u16(hmtx, static_cast<unsigned>(std::max(0, advance)));
        s16(hmtx, glyph.contours > 0 ? glyph.box.left() : 0);
    }
    u32(loca, static_cast<std::uint32_t>(glyf.size()));
    const auto count = static_cast<unsigned>(glyphs.size());

    Bytes head;
    const QByteArray originalHead = font.fontTable("head");
    if (originalHead.size() >= 54) {
        head.assign(originalHead.constData(), 54);
    } else {
        u32(head, 0x00010000);
        u32(head, 0x00010000);
        u32(head, 0);
        u32(head, 0x5F0F3CF5);
        u16(head, 0x000B);
        u16(head, static_cast<unsigned>(facts.unitsPerEm));
        head.append(16, '\0');
        head.append(8, '\0');
        u16(head, 0);
        u16(head, 8);
        s16(head, 2);
        s16(head, 1);
        s16(head, 0);
    }
    put32(head, 8, 0);  // checksum adjustment, set once the whole font is known
    put16(head, 36, static_cast<unsigned>(box.left()) & 0xFFFF);
    put16(head, 38, static_cast<unsigned>(box.top()) & 0xFFFF);
    put16(head, 40, static_cast<unsigned>(box.right()) & 0xFFFF);
    put16(head, 42, static_cast<unsigned>(box.bottom()) & 0xFFFF);
    put16(head, 50, 1);  // long offsets in loca
    put16(head, 52, 0);

    Bytes hhea;
    const QByteArray originalHhea = font.fontTable("hhea");
    if (originalHhea.size() >= 36) {
        hhea.assign(originalHhea.constData(), 36);
    } else {
        u32(hhea, 0x00010000);
        s16(hhea, static_cast<int>(facts.ascent * facts.unitsPerEm / 1000));
        s16(hhea, static_cast<int>(facts.descent * facts.unitsPerEm / 1000));
        hhea.append(28, '\0');
    }
    put16(hhea, 10, static_cast<unsigned>(advanceMax));
    put16(hhea, 32, 0);  // metric data format
    put16(hhea, 34, count);

    Bytes maxp;
    u32(maxp, 0x00010000);
    u16(maxp, count);
    u16(maxp, static_cast<unsigned>(maxPoints));
    u16(maxp, static_cast<unsigned>(maxContours));
    u16(maxp, 0);  // composite points
    u16(maxp, 0);  // composite contours
    u16(maxp, 2);  // zones
    for (int i = 0; i < 8; ++i)
        u16(maxp, 0);

    Bytes post;
    u32(post, 0x00030000);  // no glyph names
    const QByteArray originalPost = font.fontTable("post");
    if (originalPost.size() >= 32)
        post.append(originalPost.constData() + 4, 28);
    else
        post.append(28, '\0');

    // Tables in the order of their tags, as the format asks.
    const std::map<std::string, const Bytes*> tables = {{"glyf", &glyf}, {"head", &head}, {"hhea", &hhea},
                                                        {"hmtx", &hmtx}, {"loca", &loca}, {"maxp", &maxp},
                                                        {"post", &post}};
    const auto tableCount = static_cast<unsigned>(tables.size());
    unsigned searchRange = 1, selector = 0;
    while (searchRange * 2 <= tableCount) {
        searchRange *= 2;
        ++selector;
    }
    Bytes out;
    u32(out, 0x00010000);
    u16(out, tableCount);
    u16(out, searchRange * 16);
    u16(out, selector);
    u16(out, tableCount * 16 - searchRange * 16);
    std::size_t offset = 12 + 16 * tables.size();
    std::size_t headAt = 0;
    for (const auto& [tag, table] : tables) {
        out += tag;
        u32(out, checksum(*table));
        u32(out, static_cast<std::uint32_t>(offset));
        u32(out, static_cast<std::uint32_t>(table->size()));
        if (tag == "head")
            headAt = offset;
        offset += (table->size() + 3) / 4 * 4;
    }
    for (const auto& [tag, table] : tables) {
        out += *table;
        while (out.size() % 4 != 0)
            out += '\0';
    }
    put32(out, headAt + 8, 0xB1B0AFBAu - checksum(out));
    return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

}  // namespace sheet::render::pdf
