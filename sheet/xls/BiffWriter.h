// Record framing for the workbook stream being written: each record is an id, a length and its
// data, little-endian. A record is opened, filled and closed; closing fills in its length.
#pragma once

#include "sheet/xls/BiffRecords.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
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
        if (open_ || (sink_ && used_ >= kPiece))
            beginAfterChecks(id);
        else
            openRecord(id);
    }
    void end()  // throws std::logic_error when the data outgrew kMaxRecordData
    {
        const std::size_t length = recordLength();
        if (!open_ || length > kMaxRecordData)
            throwTooLong();
        put16(out_.get() + recordStart_ + 2, static_cast<std::uint16_t>(length));
        open_ = false;
    }
    // A record of 16-bit fields only.
    void record(std::uint16_t id, std::initializer_list<std::uint16_t> fields);
    // A record whose length is known before its data: framed at once, with the room for its data
    // returned, to be filled with put16 and put32. Throws as end() does for a length over
    // kMaxRecordData, before writing anything.
    std::uint8_t* fixedRecord(std::uint16_t id, std::size_t length)
    {
        if (open_ || length > kMaxRecordData || (sink_ && used_ >= kPiece)) [[unlikely]]
            return fixedRecordAfterChecks(id, length);
        return frame(id, length);
    }
    // Each returns the position after the field.
    static std::uint8_t* put16(std::uint8_t* p, std::uint16_t v)
    {
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        return p + 2;
    }
    static std::uint8_t* put32(std::uint8_t* p, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<std::uint8_t>(v >> (8 * i));
        return p + 4;
    }

    // Inline: a sheet's cell table writes a few fields per cell, hundreds of thousands of them.
    // Each field goes into room already there: a writer with a sink has room for a piece and a
    // whole record from the start.
    void u8(std::uint8_t v) { *room(1) = v; }
    void u16(std::uint16_t v) { put16(room(2), v); }
    void u32(std::uint32_t v) { put32(room(4), v); }
    void f64(double v);
    void zeros(std::size_t n) { std::fill_n(room(n), n, std::uint8_t{0}); }
    void bytes(const std::uint8_t* p, std::size_t n) { std::copy_n(p, n, room(n)); }

    // Position in the stream, and bytes in the open record so far.
    std::size_t position() const { return handedOver_ + used_; }
    std::size_t recordLength() const { return used_ - recordStart_ - 4; }
    bool inRecord() const { return open_; }

    void patchU32(std::size_t at, std::uint32_t v);
    // Hands what is left to the sink.
    void finish();
    // The stream so far, for a writer without a sink: a copy, kept until the next call.
    const std::vector<std::uint8_t>& data()
    {
        copy_.assign(out_.get(), out_.get() + used_);
        return copy_;
    }

private:
    // n bytes at the end of the stream, for the caller to fill.
    std::uint8_t* room(std::size_t n)
    {
        if (room_ - used_ < n) [[unlikely]]
            grow(n);
        std::uint8_t* p = out_.get() + used_;
        used_ += n;
        return p;
    }
    void grow(std::size_t n);
    void openRecord(std::uint16_t id)
    {
        recordStart_ = used_;
        open_ = true;
        u16(id);
        u16(0);
    }
    std::uint8_t* frame(std::uint16_t id, std::size_t length)
    {
        std::uint8_t* p = room(4 + length);
        put16(p, id);
        put16(p + 2, static_cast<std::uint16_t>(length));
        return p + 4;
    }
    void beginAfterChecks(std::uint16_t id);
    std::uint8_t* fixedRecordAfterChecks(std::uint16_t id, std::size_t length);
    [[noreturn]] static void throwTooLong();

    // Left uninitialised, so that memory is only taken as the stream is written; its first used_
    // bytes are the stream not yet handed over.
    std::unique_ptr<std::uint8_t[]> out_;
    std::size_t room_ = 0;
    std::size_t used_ = 0;
    std::vector<std::uint8_t> copy_;  // data()
    StreamSink* sink_ = nullptr;
    std::size_t handedOver_ = 0;  // bytes given to the sink before out_
    std::size_t recordStart_ = 0;  // in out_
    bool open_ = false;
};

}  // namespace sheet::xls
