// Record framing for the workbook stream being read, and a bounds-checked cursor over record
// data. Every read is checked; a read past the end throws FormatError, which the reader turns into
// the user's message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace sheet::xls {

// What is wrong with a file, in words for the user ("the file is damaged (...)").
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws FormatError("the file is damaged (<what>)").
[[noreturn]] void damaged(const std::string& what);

class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> data) : data_(data) {}
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    std::span<const std::uint8_t> take(std::size_t n);
    void skip(std::size_t n) { take(n); }
    std::size_t remaining() const { return data_.size() - pos_; }
    std::size_t position() const { return pos_; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

struct Record {
    std::uint16_t id = 0;
    std::size_t offset = 0;  // of the record header in the stream
    std::span<const std::uint8_t> data;
};

class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> stream) : stream_(stream) {}
    void seek(std::size_t offset);
    bool atEnd() const { return pos_ + 4 > stream_.size(); }
    // The next record; throws FormatError when its length runs past the stream.
    Record next();
    // The data of the CONTINUE records that follow, consumed.
    std::vector<std::span<const std::uint8_t>> continues();
    std::size_t position() const { return pos_; }
    std::size_t size() const { return stream_.size(); }

private:
    std::span<const std::uint8_t> stream_;
    std::size_t pos_ = 0;
};

}  // namespace sheet::xls
