// The cell text limit of the workbook format.
#include "sheet/model/TextLimit.h"

#include "sheet/model/SheetError.h"

#include <variant>

namespace sheet {

std::size_t utf16Length(std::string_view utf8)
{
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            ++units;  // a character starts here
        if (byte >= 0xF0)
            ++units;  // beyond the basic plane: a surrogate pair
    }
    return units;
}

std::string textTooLongMessage(const std::string& sheetName)
{
    return "a text in the sheet \"" + sheetName + "\" is longer than " + std::to_string(kMaxCellTextUnits) +
           " characters";
}

void checkTextLengths(const SheetData& sheet)
{
    for (const auto& [ref, cell] : sheet.cells())
        if (const auto* text = std::get_if<CellText>(&cell.value))
            // A UTF-8 text never has fewer bytes than UTF-16 units: most texts need no count.
            if (text->view().size() > kMaxCellTextUnits && utf16Length(text->view()) > kMaxCellTextUnits)
                throw SheetError(textTooLongMessage(sheet.name));
}

}  // namespace sheet
