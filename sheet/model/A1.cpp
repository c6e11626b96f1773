// Parsing and writing of A1 addresses.
#include "sheet/model/A1.h"

#include "sheet/model/SheetError.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace sheet {
namespace {

// One corner: column letters, row digits, or both. Missing parts are 0.
struct Corner {
    int column = 0;
    int row = 0;
};

std::optional<Corner> parseCorner(std::string_view s)
{
    Corner corner;
    std::size_t pos = 0;
    if (pos < s.size() && s[pos] == '$')
        ++pos;
    const std::size_t lettersStart = pos;
    while (pos < s.size() && std::isalpha(static_cast<unsigned char>(s[pos]))) {
        corner.column = corner.column * 26 + (std::toupper(static_cast<unsigned char>(s[pos])) - 'A' + 1);
        if (corner.column > kMaxColumns)
            return std::nullopt;
        ++pos;
    }
    const bool hasLetters = pos > lettersStart;
    if (pos < s.size() && s[pos] == '$') {
        if (!hasLetters)
            return std::nullopt;
        ++pos;
    }
    const std::size_t digitsStart = pos;
    while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos]))) {
        corner.row = corner.row * 10 + (s[pos] - '0');
        if (corner.row > kMaxRows)
            return std::nullopt;
        ++pos;
    }
    const bool hasDigits = pos > digitsStart;
    if (pos != s.size() || (!hasLetters && !hasDigits))
        return std::nullopt;
    if (hasDigits && corner.row == 0)
        return std::nullopt;
    return corner;
}

std::optional<A1Range> tryParse(std::string_view address)
{
    const auto colon = address.find(':');
    const std::string_view first = address.substr(0, colon);
    const std::string_view second = colon == std::string_view::npos ? first : address.substr(colon + 1);
    const auto a = parseCorner(first);
    const auto b = parseCorner(second);
    if (!a || !b)
        return std::nullopt;
    const bool aCell = a->column && a->row, bCell = b->column && b->row;
    const bool aColumn = a->column && !a->row, bColumn = b->column && !b->row;
    const bool aRow = !a->column && a->row, bRow = !b->column && b->row;
    A1Range range;
    if (aCell && bCell) {
        range.kind = A1Kind::Cells;
        range.rect = {std::min(a->row, b->row), std::min(a->column, b->column), std::max(a->row, b->row),
                      std::max(a->column, b->column)};
    } else if (aColumn && bColumn && colon != std::string_view::npos) {
        range.kind = A1Kind::WholeColumns;
        range.rect = {1, std::min(a->column, b->column), kMaxRows, std::max(a->column, b->column)};
    } else if (aRow && bRow && colon != std::string_view::npos) {
        range.kind = A1Kind::WholeRows;
        range.rect = {std::min(a->row, b->row), 1, std::max(a->row, b->row), kMaxColumns};
    } else {
        return std::nullopt;
    }
    if (range.rect.top == 1 && range.rect.bottom == kMaxRows && range.rect.left == 1 && range.rect.right == kMaxColumns)
        range.kind = A1Kind::WholeSheet;
    return range;
}

}  // namespace

A1Range parseA1(std::string_view address)
{
    if (auto range = tryParse(address))
        return *range;
    throw SheetError("Invalid range address: " + std::string(address));
}

std::string columnLetters(int column)
{
    if (column < 1 || column > kMaxColumns)
        throw SheetError("Column number out of range: " + std::to_string(column));
    std::string letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

std::string toA1(const CellRect& rect)
{
    std::string text = columnLetters(rect.left) + std::to_string(rect.top);
    if (rect.top != rect.bottom || rect.left != rect.right)
        text += ":" + columnLetters(rect.right) + std::to_string(rect.bottom);
    return text;
}

}  // namespace sheet
