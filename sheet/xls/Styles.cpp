// Writing fonts and cell formats.
#include "sheet/xls/Styles.h"

#include "sheet/model/SheetError.h"
#include "sheet/xls/ReadLimits.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Units.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace sheet::xls {

Font defaultFont() { return Font{}; }

StyleTable::StyleTable(const WorkbookData& book) : formats_(book.formats), xfOf_(book.formats.size(), 0)
{
    std::vector<bool> used(formats_.size(), false);
    auto use = [&](FormatId id) {
        if (id >= used.size())
            throw SheetError("a cell refers to a format the workbook does not have");
        used[id] = true;
    };
    for (const auto& sheet : book.sheets) {
        for (const auto& [ref, cell] : sheet->cells())
            use(cell.format);
        for (const auto& [row, id] : sheet->rowFormats())
            use(id);
        for (const auto& [column, id] : sheet->columnFormats())
            use(id);
    }
    xfOf_[0] = kDefaultCellXf;
    std::map<Font, std::uint16_t, bool (*)(const Font&, const Font&)> fontIndex(+[](const Font& a, const Font& b) {
        return std::tie(a.name, a.size, a.bold, a.colorIndex) < std::tie(b.name, b.size, b.bold, b.colorIndex);
    });
    fontIndex.emplace(defaultFont(), 0);
    for (FormatId id = 1; id < used.size(); ++id) {
        if (!used[id])
            continue;
        if (kFirstCustomXf + xfFormats_.size() >= kMaxXfCount)
            throw SheetError("the workbook uses more than " + std::to_string(kMaxXfCount - kFirstCustomXf) + " different cell formats");
        xfOf_[id] = static_cast<std::uint16_t>(kFirstCustomXf + xfFormats_.size());
        xfFormats_.push_back(id);
        const Font& font = formats_.at(id).font;
        auto [it, inserted] = fontIndex.emplace(font, static_cast<std::uint16_t>(kFirstCustomFont + fonts_.size()));
        if (inserted)
            fonts_.push_back(font);
        fontOf_[id] = it->second;
    }
}

void StyleTable::writeFonts(BiffWriter& w) const
{
    // Four copies of the default font, as the first four indexes are taken by the built-in styles.
    for (int i = 0; i < 4; ++i)
        writeFONT(w, defaultFont());
    for (const Font& f : fonts_)
        writeFONT(w, f);
}

std::size_t StyleTable::readCost() const
{
    // The reader keeps a placeholder at font index 4 beside the four copies of the default font;
    // the built-in XFs show the default font too.
    std::size_t total = 5 * cost::font(defaultFont()) + 16 * cost::xf(CellFormat{});
    for (const Font& f : fonts_)
        total += cost::font(f);
    for (FormatId id : xfFormats_)
        total += cost::xf(formats_.at(id));
    return total;
}

void StyleTable::writeXFs(BiffWriter& w) const
{
    writeBuiltInXFs(w);
    for (FormatId id : xfFormats_)
        writeXF(w, formats_.at(id), fontOf_.at(id));
}

namespace {

bool isSansFace(const std::string& name)
{
    static const char* const faces[] = {"Arial", "Calibri", "Century Gothic", "Helvetica", "Tahoma", "Verdana", "Segoe UI"};
    return std::any_of(std::begin(faces), std::end(faces), [&](const char* f) { return name == f; });
}

std::uint8_t horizontalCode(int alignment)
{
    switch (alignment) {
    case xlLeft: return 1;
    case xlCenter: return 2;
    case xlRight:
    case xlRightLegacy: return 3;
    default: return 0;
    }
}

std::uint8_t verticalCode(int alignment)
{
    switch (alignment) {
    case xlTop: return 0;
    case xlCenter: return 1;
    default: return 2;
    }
}

// An edge without a line keeps its colour too, so that the format reads back unchanged.
std::uint32_t lineCode(const Border& b) { return b.lineStyle == xlLineStyleNone ? 0 : xf::kLineThin; }
std::uint32_t lineColour(const Border& b)
{
    return colorIndexToIcv(b.colorIndex, b.lineStyle == xlLineStyleNone ? 0 : xf::kColourAutomatic);
}

}  // namespace

void writeFONT(BiffWriter& w, const Font& font)
{
    w.begin(rec::FONT);
    w.u16(static_cast<std::uint16_t>(std::lround(std::clamp(font.size, 1.0, 409.0) * 20)));
    w.u16(font.bold ? font::kBold : 0);  // readers take bold from this bit as well as the weight
    w.u16(colorIndexToIcv(font.colorIndex, font::kColourAutomatic));
    w.u16(font.bold ? font::kWeightBold : font::kWeightNormal);
    w.u16(0);  // no super- or subscript
    w.u8(0);   // no underline
    w.u8(isSansFace(font.name) ? font::kFamilySwiss : font::kFamilyDontCare);
    w.u8(0);  // character set: ANSI
    w.u8(0);
    try {
        writeShortString(w, font.name);
    } catch (const std::length_error&) {
        throw SheetError("the font name \"" + font.name.substr(0, 40) + "...\" is too long");
    }
    w.end();
}

void writeXF(BiffWriter& w, const CellFormat& f, std::uint16_t fontIndex)
{
    w.begin(rec::XF);
    w.u16(fontIndex);
    // Only built-in formats exist in the model; anything else shows as General.
    w.u16(static_cast<std::uint16_t>(f.numberFormat >= 0 && f.numberFormat < 164 ? f.numberFormat : 0));
    w.u16(xf::kLocked);  // a cell XF whose parent is XF 0 (Normal)
    w.u8(static_cast<std::uint8_t>(horizontalCode(f.horizontalAlignment) | (f.wrapText ? xf::kWrap : 0) |
                                   (verticalCode(f.verticalAlignment) << xf::kVerticalShift)));
    w.u8(0);  // no rotation
    w.u8(0);  // no indent
    w.u8(xf::kAllAttributesOwn);
    const Border& left = f.borders[kBorderLeft];
    const Border& right = f.borders[kBorderRight];
    const Border& top = f.borders[kBorderTop];
    const Border& bottom = f.borders[kBorderBottom];
    w.u32(lineCode(left) | (lineCode(right) << 4) | (lineCode(top) << 8) | (lineCode(bottom) << 12) |
          (lineColour(left) << 16) | (lineColour(right) << 23));
    const bool solid = f.interiorColorIndex >= 1 && f.interiorColorIndex <= 56;
    w.u32(lineColour(top) | (lineColour(bottom) << 7) | (solid ? xf::kSolidFill : 0u));
    w.u16(static_cast<std::uint16_t>(colorIndexToIcv(f.interiorColorIndex, xf::kColourAutomatic) | xf::kBackgroundAutomatic));
    w.end();
}

void writeBuiltInXFs(BiffWriter& w)
{
    // XF 0 is the Normal style, 1..14 the outline styles, 15 the default cell format.
    static const std::uint8_t normal[20] = {0, 0, 0, 0, 0xF5, 0xFF, 0x20, 0, 0, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x20};
    static const std::uint8_t outline[20] = {0, 0, 0, 0, 0xF5, 0xFF, 0x20, 0, 0, 0xF4, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x20};
    static const std::uint8_t cell[20] = {0, 0, 0, 0, 0x01, 0x00, 0x20, 0, 0, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0x20};
    for (int i = 0; i < 16; ++i) {
        w.begin(rec::XF);
        w.bytes(i == 0 ? normal : i == 15 ? cell : outline, 20);
        w.end();
    }
}

void writeSTYLE(BiffWriter& w)
{
    w.begin(rec::STYLE);
    w.u16(0x8000);  // built-in style on XF 0
    w.u8(0);        // Normal
    w.u8(0xFF);
    w.end();
}

}  // namespace sheet::xls
