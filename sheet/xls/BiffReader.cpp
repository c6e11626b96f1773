// Record framing and checked reads.
#include "sheet/xls/BiffReader.h"

#include "sheet/xls/BiffRecords.h"
#include "sheet/xls/ReadLimits.h"

#include <bit>
#include <cstring>

namespace sheet::xls {

void damaged(const std::string& what) { throw FormatError("the file is damaged (" + what + ")"); }

void ReadBudget::tooLarge() { throw FormatError("it holds more than this program can open"); }

std::span<const std::uint8_t> ByteCursor::take(std::size_t n)
{
    if (n > remaining())
        damaged("a record is shorter than its content");
    auto part = data_.subspan(pos_, n);
    pos_ += n;
    return part;
}

std::uint8_t ByteCursor::u8() { return take(1)[0]; }

std::uint16_t ByteCursor::u16()
{
    auto b = take(2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteCursor::u32()
{
    auto b = take(4);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

double ByteCursor::f64()
{
    auto b = take(8);
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | b[i];
    return std::bit_cast<double>(bits);
}

void RecordReader::seek(std::size_t offset)
{
    if (offset > stream_.size())
        damaged("a sheet starts past the end of the workbook stream");
    pos_ = offset;
}

Record RecordReader::next()
{
    if (atEnd())
        damaged("the workbook stream ends inside a record");
    const std::uint16_t id = static_cast<std::uint16_t>(stream_[pos_] | (stream_[pos_ + 1] << 8));
    const std::size_t length = static_cast<std::size_t>(stream_[pos_ + 2] | (stream_[pos_ + 3] << 8));
    if (length > stream_.size() - pos_ - 4)
        damaged("a record runs past the end of the workbook stream");
    Record r{id, pos_, stream_.subspan(pos_ + 4, length)};
    pos_ += 4 + length;
    return r;
}

std::vector<std::span<const std::uint8_t>> RecordReader::continues()
{
    std::vector<std::span<const std::uint8_t>> parts;
    while (!atEnd() && stream_[pos_] == (rec::CONTINUE & 0xFF) && stream_[pos_ + 1] == (rec::CONTINUE >> 8))
        parts.push_back(next().data);
    return parts;
}

}  // namespace sheet::xls
