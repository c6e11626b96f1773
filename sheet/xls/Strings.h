// Texts in the file: UTF-8 in the model, UTF-16 code units in the file, stored one byte per
// character when every character is Latin-1. The shared string table (SST) with its CONTINUE
// splitting and its index (EXTSST) live here, for writing and for reading.
#pragma once

#include "sheet/model/TextLimit.h"

#include "sheet/model/CellText.h"
#include "sheet/xls/BiffWriter.h"

#include <cstdint>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sheet::xls {

class ByteCursor;
class ReadBudget;

// Longest text a cell can hold.
inline constexpr std::size_t kMaxCellTextUnits = sheet::kMaxCellTextUnits;

std::u16string utf8ToUtf16(std::string_view utf8);  // invalid sequences become U+FFFD
std::string utf16ToUtf8(std::u16string_view utf16);  // unpaired surrogates become U+FFFD
bool fitsLatin1(std::u16string_view units);

// ShortXLUnicodeString (8-bit count) and XLUnicodeString (16-bit count); throws std::length_error
// when the text is too long for the count.
void writeShortString(BiffWriter& w, std::string_view utf8);
void writeLongString(BiffWriter& w, std::string_view utf8);

// The texts of the cells, each once, found by the text's identity (CellText) without reading it.
class SharedStrings {
public:
    // Index of the text in the table, adding it the first time; counts every use.
    std::uint32_t add(const CellText& text);
    std::uint32_t indexOf(const CellText& text) const;
    std::uint32_t totalUses() const { return uses_; }
    // What reading the table back will charge to the reader's budget (ReadLimits.h).
    std::size_t readCost() const;
    const std::vector<std::u16string>& unique() const { return strings_; }

private:
    std::vector<std::u16string> strings_;
    std::vector<std::uint32_t> readBackSizes_;
    std::vector<CellText> held_;  // so that each identity stays that text's
    std::unordered_map<const void*, std::uint32_t> index_;
    std::uint32_t uses_ = 0;
    // Neighbouring cells mostly show the same text.
    mutable const void* lastText_ = nullptr;
    mutable std::uint32_t lastIndex_ = 0;
    mutable bool lastKnown_ = false;
};

// Where each bucket of the string index starts: the stream offset of its first string and that
// string's offset within its SST or CONTINUE record (record header included).
struct SstBucket {
    std::uint32_t streamOffset = 0;
    std::uint16_t recordOffset = 0;
};
std::uint16_t stringsPerBucket(std::size_t uniqueCount);
std::vector<SstBucket> writeSST(BiffWriter& w, const SharedStrings& strings);
void writeEXTSST(BiffWriter& w, std::size_t uniqueCount, const std::vector<SstBucket>& buckets);

// Reading. `segments` are the data of an SST record and of the CONTINUE records after it; each
// text kept is charged to the budget, when there is one.
std::vector<CellText> readSST(const std::vector<std::span<const std::uint8_t>>& segments,
                                 ReadBudget* budget = nullptr);
// A string whose characters all lie in one record: 8-bit or 16-bit count, flags, characters.
std::string readShortString(ByteCursor& c);
std::string readLongString(ByteCursor& c);

}  // namespace sheet::xls
