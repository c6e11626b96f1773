// Record framing for the workbook stream being written: each record is an id, a length and its
// data, little-endian. A record is opened, filled and closed; closing fills in its length.
#pragma once

#include "sheet/xls/BiffRecords.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace sheet::xls {

// Where a writer hands its finished records: the workbook stream in its container, so that a large
// stream is never held whole. Bytes already handed over can still be written over (a sheet's
// offset is known only once the sheets before it are written).
class StreamSink {
public:
    virtual void append(std::span<const std::uint8_t> bytes) = 0;
    virtual void overwrite(std::size_t offset, std::span<const std::uint8_t> bytes) = 0;

protected:
    ~StreamSink() = default;
};

class BiffWriter {
public:
    // Keeps the whole stream (data()).
    BiffWriter() = default;
    // Hands the stream to the sink in pieces of about kPiece bytes, between records.
    explicit BiffWriter(StreamSink& sink);
    static constexpr std::size_t kPiece = 1024 * 1024;

    void begin(std::uint16_t id)
    {
        if (open_ || (sink_ && out_.size() >= kPiece))
            beginAfterChecks(id);
        else
            openRecord(id);
    }
    void end()  // throws std::logic_error when the data outgrew kMaxRecordData
    {
        const std::size_t length = recordLength();
        if (!open_ || length > kMaxRecordData)
            throwTooLong();
        out_[recordStart_ + 2] = static_cast<std::uint8_t>(length & 0xFF);
        out_[recordStart_ + 3] = static_cast<std::uint8_t>(length >> 8);
        open_ = false;
    }
    // A record of 16-bit fields only.
    void record(std::uint16_t id, std::initializer_list<std::uint16_t> fields);

    // Inline: a sheet's cell table writes a few fields per cell, hundreds of thousands of them.
    void u8(std::uint8_t v) { out_.push_back(v); }
    void u16(std::uint16_t v)
    {
        const std::uint8_t field[2]{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
        out_.insert(out_.end(), field, field + 2);
    }
    void u32(std::uint32_t v)
    {
        const std::uint8_t field[4]{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                    static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        out_.insert(out_.end(), field, field + 4);
    }
    void f64(double v);
    void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    void bytes(const std::uint8_t* p, std::size_t n) { out_.insert(out_.end(), p, p + n); }

    // Position in the stream, and bytes in the open record so far.
    std::size_t position() const { return handedOver_ + out_.size(); }
    std::size_t recordLength() const { return out_.size() - recordStart_ - 4; }
    bool inRecord() const { return open_; }

    void patchU32(std::size_t at, std::uint32_t v);
    // Hands what is left to the sink.
    void finish();
    // The stream so far, for a writer without a sink.
    std::vector<std::uint8_t>& data() { return out_; }

private:
    void openRecord(std::uint16_t id)
    {
        recordStart_ = out_.size();
        open_ = true;
        u16(id);
        u16(0);
    }
    void beginAfterChecks(std::uint16_t id);
    [[noreturn]] static void throwTooLong();

    std::vector<std::uint8_t> out_;
    StreamSink* sink_ = nullptr;
    std::size_t handedOver_ = 0;  // bytes given to the sink before out_
    std::size_t recordStart_ = 0;  // in out_
    bool open_ = false;
};

}  // namespace sheet::xls
