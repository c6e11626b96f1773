// Fonts and cell formats (FONT, XF, STYLE records). Writing maps the workbook's formats in use to
// XF indexes and their fonts to FONT indexes; reading turns FONT and XF records back into
// CellFormats.
#pragma once

#include "sheet/model/SheetData.h"
#include "sheet/xls/BiffWriter.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace sheet::xls {

// The fonts and XFs of the file being written.
class StyleTable {
public:
    // Takes the formats the sheets use (cells, row and column formats). Throws SheetError when the
    // workbook uses more formats than the file format can hold.
    explicit StyleTable(const WorkbookData& book);
    std::uint16_t xfIndex(FormatId id) const { return xfOf_.at(id); }
    void writeFonts(BiffWriter& w) const;
    void writeXFs(BiffWriter& w) const;
    // What reading the fonts and XFs back will charge to the reader's budget (ReadLimits.h).
    std::size_t readCost() const;

private:
    const FormatTable& formats_;
    std::vector<std::uint16_t> xfOf_;      // by FormatId; 0 for formats not in use
    std::vector<FormatId> xfFormats_;      // cell XFs from index 16 on
    std::vector<Font> fonts_;              // fonts from index 5 on
    std::map<FormatId, std::uint16_t> fontOf_;
};

// The default font of the workbook (FONT 0..3): Arial 10.
Font defaultFont();

void writeFONT(BiffWriter& w, const Font& font);
// A cell XF whose parent is the Normal style.
void writeXF(BiffWriter& w, const CellFormat& format, std::uint16_t fontIndex);
void writeBuiltInXFs(BiffWriter& w);  // XF 0..15
void writeSTYLE(BiffWriter& w);       // the Normal style

// Reading.
Font readFONT(std::span<const std::uint8_t> data);
struct XfRecord {
    std::uint16_t font = 0;
    std::uint16_t numberFormat = 0;
    bool isStyle = false;
    CellFormat format;  // everything but the font and the number format
};
XfRecord readXF(std::span<const std::uint8_t> data);
// The number format id the model keeps for a file's format id and format text.
int modelNumberFormat(std::uint16_t id, const std::map<std::uint16_t, std::string>& customFormats);

}  // namespace sheet::xls
