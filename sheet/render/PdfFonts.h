// The fonts a PDF of our pages embeds: one per face drawn, whatever weight it was asked for in,
// its glyphs numbered (as CIDs) in the order the pages first use them, with their widths and the
// characters they stand for; and, once the pages are done, each written into the document as a
// TrueType subset of those glyphs with the ToUnicode map that makes its text searchable.
#pragma once

#include <QHash>
#include <QRawFont>
#include <QString>

#include <string>
#include <vector>

namespace sheet::render::pdf {

class PdfDocument;

class EmbeddedFonts {
public:
    // Forgets every font, for a new document.
    void clear();
    // The number of the document's font for the face `raw` draws in, added at its first use.
    int fontFor(const QRawFont& raw);
    // The CID of `glyph` in font `font`, numbered at its first use. Throws SheetError when the
    // font holds as many glyphs as a PDF font can.
    quint16 cidOf(int font, quint32 glyph);
    // The glyph's advance in thousandths of the em, as the font's widths array gives it.
    double width(int font, quint16 cid) const;
    // Whether the ToUnicode map has a text for the glyph yet, and giving it one.
    bool hasCharacter(int font, quint16 cid) const;
    void setCharacter(int font, quint16 cid, const QString& character);
    // The name page content selects the font by ("/F1").
    const std::string& resource(int font) const;
    // Writes every font into `document`; the entries of the resources' font dictionary naming them.
    std::string write(PdfDocument& document) const;

private:
    struct Font {
        QString key;
        QRawFont raw;          // at the size the font was first drawn at
        QRawFont outlines;     // the same face as it is, not thickened or hinted: the glyphs to embed
        double referenceSize;  // that size: widths are its advances, so text at it needs no adjustments
        std::string resource;  // "/F1"
        std::vector<quint32> glyphs;  // by CID
        std::vector<double> widths;   // thousandths of the em
        std::vector<QString> characters;
        QHash<quint32, quint16> cids;
    };

    int writeFont(PdfDocument& document, const Font& font, int index) const;

    std::vector<Font> fonts_;
};

}  // namespace sheet::render::pdf
