// Reading fonts and cell formats.
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Styles.h"
#include "sheet/xls/Units.h"

#include <cctype>

namespace sheet::xls {

Font readFONT(std::span<const std::uint8_t> data)
{
    ByteCursor c(data);
    Font f;
    const std::uint16_t height = c.u16();
    const std::uint16_t flags = c.u16();
    const std::uint16_t colour = c.u16();
    const std::uint16_t weight = c.u16();
    c.skip(6);  // escapement, underline, family, character set, reserved
    f.name = readShortString(c);
    f.size = height >= 20 ? twipsToPoints(height) : 10.0;
    f.bold = weight >= 600 || (flags & font::kBold);
    f.colorIndex = icvToColorIndex(colour);
    return f;
}

namespace {

int horizontalAlignment(unsigned code)
{
    switch (code) {
    case 1:
    case 4:  // fill
    case 5:  // justify
        return xlLeft;
    case 2:
    case 6:  // centre across selection
    case 7:  // distributed
        return xlCenter;
    case 3: return xlRight;
    default: return xlGeneral;
    }
}

int verticalAlignment(unsigned code)
{
    switch (code) {
    case 0:
    case 3:  // justify
        return xlTop;
    case 1:
    case 4:  // distributed
        return xlCenter;
    default: return xlBottom;
    }
}

// An edge without a line carries colour 0 in most files: that is no colour, not black.
Border border(unsigned style, unsigned colour)
{
    Border b;
    b.lineStyle = style == 0 ? xlLineStyleNone : xlContinuous;
    b.colorIndex = (style == 0 && colour < 8) ? xlColorIndexAutomatic : icvToColorIndex(colour);
    return b;
}

}  // namespace

XfRecord readXF(std::span<const std::uint8_t> data)
{
    ByteCursor c(data);
    XfRecord x;
    x.font = c.u16();
    x.numberFormat = c.u16();
    x.isStyle = c.u16() & xf::kStyle;
    const std::uint8_t align = c.u8();
    c.skip(3);  // rotation, indent, used-attribute flags
    const std::uint32_t lines = c.u32();
    const std::uint32_t colours = c.u32();
    const std::uint16_t fill = c.u16();
    CellFormat& f = x.format;
    f.horizontalAlignment = horizontalAlignment(align & 0x07);
    f.wrapText = align & xf::kWrap;
    f.verticalAlignment = verticalAlignment((align >> xf::kVerticalShift) & 0x07);
    f.borders[kBorderLeft] = border(lines & 0xF, (lines >> 16) & 0x7F);
    f.borders[kBorderRight] = border((lines >> 4) & 0xF, (lines >> 23) & 0x7F);
    f.borders[kBorderTop] = border((lines >> 8) & 0xF, colours & 0x7F);
    f.borders[kBorderBottom] = border((lines >> 12) & 0xF, (colours >> 7) & 0x7F);
    const unsigned pattern = colours >> 26;
    if (pattern != 0) {
        const int colour = icvToColorIndex(fill & 0x7F);
        f.interiorColorIndex = colour == xlColorIndexAutomatic ? 1 : colour;  // automatic pattern colour is black
    }
    return x;
}

namespace {

// Whether a format text shows a time or a date: h, s or d, m, y outside quotes and brackets.
void classify(const std::string& text, bool& time, bool& date)
{
    bool quoted = false;
    int bracket = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        if (ch == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (ch == '\\' || ch == '_' || ch == '*')
            ++i;
        else if (ch == '[')
            ++bracket;
        else if (ch == ']')
            bracket = bracket > 0 ? bracket - 1 : 0;
        else if (bracket == 0 && (ch == 'h' || ch == 's'))
            time = true;
        else if (bracket == 0 && (ch == 'd' || ch == 'y'))
            date = true;
    }
}

}  // namespace

int modelNumberFormat(std::uint16_t id, const std::map<std::uint16_t, std::string>& customFormats)
{
    auto it = customFormats.find(id);
    if (it == customFormats.end())
        return id < 164 ? id : 0;
    bool time = false, date = false;
    classify(it->second, time, date);
    if (time && !date)
        return kNumberFormatTime;
    if (date)
        return 14;  // the short date
    if (it->second == "0.00")
        return 2;
    if (it->second == "0")
        return 1;
    return id < 164 ? id : 0;
}

}  // namespace sheet::xls
