// Record framing for writing.
#include "sheet/xls/BiffWriter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace sheet::xls {

BiffWriter::BiffWriter(StreamSink& sink)
    : out_(new std::uint8_t[kPiece + 4 + kMaxRecordData]), room_(kPiece + 4 + kMaxRecordData), sink_(&sink)
{
}

void BiffWriter::grow(std::size_t n)
{
    const std::size_t room = std::max({room_ * 2, used_ + n, std::size_t{4096}});
    std::unique_ptr<std::uint8_t[]> bigger(new std::uint8_t[room]);
    std::copy_n(out_.get(), used_, bigger.get());
    out_ = std::move(bigger);
    room_ = room;
}

void BiffWriter::beginAfterChecks(std::uint16_t id)
{
    if (open_)
        throw std::logic_error("BIFF record opened inside another");
    if (sink_ && used_ >= kPiece)
        finish();
    openRecord(id);
}

std::uint8_t* BiffWriter::fixedRecordAfterChecks(std::uint16_t id, std::size_t length)
{
    if (open_)
        throw std::logic_error("BIFF record opened inside another");
    if (length > kMaxRecordData)
        throwTooLong();
    if (sink_ && used_ >= kPiece)
        finish();
    return frame(id, length);
}

void BiffWriter::throwTooLong() { throw std::logic_error("BIFF record too long"); }

void BiffWriter::record(std::uint16_t id, std::initializer_list<std::uint16_t> fields)
{
    begin(id);
    for (std::uint16_t f : fields)
        u16(f);
    end();
}

void BiffWriter::f64(double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);
    std::uint8_t* p = room(8);
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void BiffWriter::patchU32(std::size_t at, std::uint32_t v)
{
    std::uint8_t field[4];
    for (int i = 0; i < 4; ++i)
        field[i] = static_cast<std::uint8_t>(v >> (8 * i));
    if (at < handedOver_) {
        if (at + 4 > handedOver_)
            throw std::logic_error("BIFF field split between pieces");
        sink_->overwrite(at, field);
        return;
    }
    if (at - handedOver_ + 4 > used_)
        throw std::logic_error("BIFF field beyond the stream");
    std::copy(field, field + 4, out_.get() + (at - handedOver_));
}

void BiffWriter::finish()
{
    if (!sink_ || used_ == 0)
        return;
    if (open_)
        throw std::logic_error("BIFF record still open");
    sink_->append(std::span<const std::uint8_t>(out_.get(), used_));
    handedOver_ += used_;
    used_ = 0;
}

}  // namespace sheet::xls
