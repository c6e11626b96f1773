// Print areas as built-in names.
#include "sheet/xls/PrintArea.h"

#include "sheet/model/SheetError.h"
#include "sheet/xls/BiffReader.h"

#include <cctype>

namespace sheet::xls {

namespace {

constexpr std::uint16_t kSUPBOOK = 0x01AE;
constexpr std::uint16_t kEXTERNSHEET = 0x0017;
constexpr std::uint16_t kNAME = 0x0018;
constexpr std::uint8_t kPrintAreaName = 0x06;
constexpr std::uint8_t kPtgArea3d = 0x3B;

struct Corner {
    int row = 0;     // 0: none given
    int column = 0;  // 0: none given
};

std::optional<Corner> parseCorner(const std::string& s)
{
    Corner c;
    std::size_t i = 0;
    if (i < s.size() && s[i] == '$')
        ++i;
    std::size_t letters = 0;
    while (i < s.size() && std::isalpha(static_cast<unsigned char>(s[i])) && letters < 3) {
        c.column = c.column * 26 + (std::toupper(static_cast<unsigned char>(s[i])) - 'A' + 1);
        ++i, ++letters;
    }
    if (i < s.size() && s[i] == '$')
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 6) {
        c.row = c.row * 10 + (s[i] - '0');
        ++i, ++digits;
    }
    if (i != s.size() || (letters == 0 && digits == 0) || c.column > kMaxColumns || c.row > kMaxRows ||
        (digits > 0 && c.row == 0))
        return std::nullopt;
    return c;
}

std::string columnLetters(int column)
{
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters;
}

}  // namespace

std::optional<CellRect> parsePrintArea(const std::string& text)
{
    const auto colon = text.find(':');
    const auto first = parseCorner(text.substr(0, colon));
    const auto last = colon == std::string::npos ? first : parseCorner(text.substr(colon + 1));
    if (!first || !last)
        return std::nullopt;
    const bool wholeColumns = first->row == 0 && last->row == 0 && first->column && last->column;
    const bool wholeRows = first->column == 0 && last->column == 0 && first->row && last->row;
    const bool cells = first->row && first->column && last->row && last->column;
    if (!wholeColumns && !wholeRows && !cells)
        return std::nullopt;
    if ((wholeColumns || wholeRows) && colon == std::string::npos)
        return std::nullopt;  // "A" or "1" alone is no address
    CellRect r;
    r.top = wholeColumns ? 1 : std::min(first->row, last->row);
    r.bottom = wholeColumns ? kMaxRows : std::max(first->row, last->row);
    r.left = wholeRows ? 1 : std::min(first->column, last->column);
    r.right = wholeRows ? kMaxColumns : std::max(first->column, last->column);
    return r;
}

std::string printAreaText(const CellRect& a)
{
    if (a.top == 1 && a.bottom == kMaxRows)
        return "$" + columnLetters(a.left) + ":$" + columnLetters(a.right);
    if (a.left == 1 && a.right == kMaxColumns)
        return "$" + std::to_string(a.top) + ":$" + std::to_string(a.bottom);
    const std::string first = "$" + columnLetters(a.left) + "$" + std::to_string(a.top);
    if (a.top == a.bottom && a.left == a.right)
        return first;
    return first + ":$" + columnLetters(a.right) + "$" + std::to_string(a.bottom);
}

void writePrintAreas(BiffWriter& w, const WorkbookData& book)
{
    std::vector<std::pair<std::size_t, CellRect>> areas;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const std::string& text = book.sheets[i]->pageSetup.printArea;
        if (text.empty())
            continue;
        const auto area = parsePrintArea(text);
        if (!area)
            throw SheetError("the print area \"" + text + "\" of the sheet \"" + book.sheets[i]->name + "\" is no block of cells");
        areas.emplace_back(i, *area);
    }
    if (areas.empty())
        return;
    // This workbook's own sheets, then one reference per sheet with a print area.
    w.record(kSUPBOOK, {static_cast<std::uint16_t>(book.sheets.size()), 0x0401});
    w.begin(kEXTERNSHEET);
    w.u16(static_cast<std::uint16_t>(areas.size()));
    for (const auto& [sheet, area] : areas) {
        w.u16(0);
        w.u16(static_cast<std::uint16_t>(sheet));
        w.u16(static_cast<std::uint16_t>(sheet));
    }
    w.end();
    for (std::size_t k = 0; k < areas.size(); ++k) {
        const auto& [sheet, area] = areas[k];
        w.begin(kNAME);
        w.u16(0x0020);  // built-in name
        w.u8(0);        // no shortcut key
        w.u8(1);        // name length
        w.u16(11);      // formula length
        w.u16(0);
        w.u16(static_cast<std::uint16_t>(sheet + 1));  // the name belongs to its sheet
        w.zeros(4);
        w.u8(0);  // one byte per character
        w.u8(kPrintAreaName);
        w.u8(kPtgArea3d);
        w.u16(static_cast<std::uint16_t>(k));
        w.u16(static_cast<std::uint16_t>(area.top - 1));
        w.u16(static_cast<std::uint16_t>(area.bottom - 1));
        w.u16(static_cast<std::uint16_t>(area.left - 1));
        w.u16(static_cast<std::uint16_t>(area.right - 1));
        w.end();
    }
}

std::optional<PrintAreaName> readPrintAreaNAME(std::span<const std::uint8_t> data)
{
    ByteCursor c(data);
    const std::uint16_t flags = c.u16();
    c.u8();
    const std::uint8_t nameLength = c.u8();
    const std::uint16_t formulaLength = c.u16();
    c.u16();
    const std::uint16_t tab = c.u16();
    c.skip(4);
    if (!(flags & 0x0020) || nameLength != 1 || tab == 0)
        return std::nullopt;
    const bool wide = c.u8() & 0x01;
    const std::uint16_t name = wide ? c.u16() : c.u8();
    if (name != kPrintAreaName || formulaLength < 11)
        return std::nullopt;
    const std::uint8_t token = c.u8();
    if ((token & 0x1F) != (kPtgArea3d & 0x1F))
        return std::nullopt;  // a list of areas or anything else is not kept
    c.u16();
    const int top = c.u16() + 1, bottom = c.u16() + 1;
    const int left = (c.u16() & 0x00FF) + 1, right = (c.u16() & 0x00FF) + 1;
    if (top > bottom || left > right)
        return std::nullopt;
    return PrintAreaName{tab - 1, CellRect{top, left, bottom, right}};
}

}  // namespace sheet::xls
