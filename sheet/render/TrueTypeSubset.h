// The font program a PDF embeds for a font its pages use: a TrueType font holding only the glyphs
// drawn, made from any font Qt can open (TrueType or CFF outlines alike) through QRawFont, with
// cubic outlines turned into the quadratic curves TrueType holds.
#pragma once

#include <QByteArray>
#include <QPointF>
#include <QRawFont>
#include <QRectF>

#include <utility>
#include <vector>

namespace sheet::render::pdf {

// Quadratic curves that follow the cubic curve p0 c1 c2 p3 within `tolerance`, each as its
// control point and end point, in order (the first starts at p0, the last ends at p3).
std::vector<std::pair<QPointF, QPointF>> quadraticPieces(const QPointF& p0, const QPointF& c1, const QPointF& c2,
                                                         const QPointF& p3, double tolerance);

// What a PDF's font descriptor says of a font, in thousandths of its em.
struct FontFacts {
    QByteArray postscriptName;  // the font's own, or its family and style without spaces
    int unitsPerEm = 1000;
    QRectF box;  // every glyph's outline lies in it; y up
    double ascent = 800;
    double descent = -200;
    double capHeight = 700;
    double italicAngle = 0;
};
FontFacts fontFactsOf(const QRawFont& font);

// A TrueType program whose glyph n is glyph glyphs[n] of `font` (glyphs[0] should be 0, the
// glyph for missing characters), with its outline and advance.
QByteArray trueTypeSubset(const QRawFont& font, const std::vector<quint32>& glyphs);

}  // namespace sheet::render::pdf
