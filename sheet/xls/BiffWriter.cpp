// Record framing for writing.
#include "sheet/xls/BiffWriter.h"

#include <bit>
#include <cstring>
#include <stdexcept>

namespace sheet::xls {

void BiffWriter::begin(std::uint16_t id)
{
    if (open_)
        throw std::logic_error("BIFF record opened inside another");
    recordStart_ = out_.size();
    open_ = true;
    u16(id);
    u16(0);
}

void BiffWriter::end()
{
    const std::size_t length = recordLength();
    if (!open_ || length > kMaxRecordData)
        throw std::logic_error("BIFF record too long");
    out_[recordStart_ + 2] = static_cast<std::uint8_t>(length & 0xFF);
    out_[recordStart_ + 3] = static_cast<std::uint8_t>(length >> 8);
    open_ = false;
}

void BiffWriter::record(std::uint16_t id, std::initializer_list<std::uint16_t> fields)
{
    begin(id);
    for (std::uint16_t f : fields)
        u16(f);
    end();
}

void BiffWriter::u16(std::uint16_t v)
{
    out_.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void BiffWriter::u32(std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void BiffWriter::f64(double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i)
        out_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void BiffWriter::patchU32(std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out_.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace sheet::xls
