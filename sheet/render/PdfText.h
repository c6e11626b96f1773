// Text made ready for PDF page content: a line shaped as QPainter::drawText lays it out on the
// device, its glyphs numbered in the document's embedded fonts, and the strings that show them,
// kept per font and text so that a text drawn again is not shaped again.
#pragma once

#include <QFont>
#include <QHash>
#include <QString>

#include <string>
#include <vector>

class QPaintDevice;

namespace sheet::render::pdf {

class EmbeddedFonts;

// A run of glyphs of one font on one baseline, placed relative to the text's origin, and the
// string that shows it ("(...)Tj" or "[(...)adjustment(...)]TJ").
struct ShapedRun {
    int font = 0;  // the EmbeddedFonts number
    double size = 0;
    double x = 0;
    double y = 0;
    std::string show;
    bool ghost = false;  // a copy that only thickens the strokes: it has no text of its own
};
using ShapedText = std::vector<ShapedRun>;

class TextShaper {
public:
    // Shapes on `device` and numbers glyphs in `fonts`, both of which outlive the shaper.
    TextShaper(const QPaintDevice* device, EmbeddedFonts& fonts);
    // Forgets every text, for a new document; its fonts are cleared with it.
    void clear();
    // The runs that draw `text` in `font` with its origin at its baseline's start; empty when
    // nothing is drawn. Valid until the next call.
    const ShapedText& shape(const QFont& font, const QString& text);

private:
    ShapedText shapeNew(const QFont& font, const QString& text);

    const QPaintDevice* device_;
    EmbeddedFonts& fonts_;
    std::vector<QFont> fontKeys_;
    std::vector<QHash<QString, ShapedText>> shaped_;  // by the slot of the font in fontKeys_
};

}  // namespace sheet::render::pdf
