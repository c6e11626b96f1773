// The OLE2 compound file around the workbook stream (through libgsf). The container is built
// straight into the file being written (the file library's, fileio/) or into memory, and the
// workbook stream is taken from a file on disk, opened with a size limit, or from memory.
#pragma once

#include "fileio/AtomicWrite.h"
#include "sheet/xls/BiffWriter.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace sheet::xls {

// A compound file held in memory.
class MemoryFile final : public fileio::SeekableSink {
public:
    void write(const void* data, std::size_t size) override;
    void seek(std::uint64_t offset) override { position_ = offset; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t position_ = 0;
};

// Writes into `file` the compound file whose "Workbook" stream is what `fill` hands its sink, as
// it is handed over; returns the file's size. An exception from `fill` ends the container where
// it is and is passed on, for the caller to abandon the file.
std::uint64_t writeCompoundFile(fileio::SeekableSink& file, const std::function<void(StreamSink&)>& fill);
// The compound file holding `stream` as its "Workbook" stream.
std::vector<std::uint8_t> wrapWorkbookStream(std::span<const std::uint8_t> stream);
// The "Workbook" stream of a compound file; throws FormatError when there is none or the
// container is damaged.
std::vector<std::uint8_t> extractWorkbookStream(std::span<const std::uint8_t> file);

// A workbook file open for reading.
class InputFile {
public:
    // Throws std::runtime_error with the reason, or when the file is larger than maxSize.
    InputFile(const std::string& path, std::size_t maxSize);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    std::FILE* get() const { return file_; }
    const std::string& path() const { return path_; }
    std::uint64_t size() const { return size_; }

private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
};
// The same from a file, which is read as the container needs it and never held whole.
std::vector<std::uint8_t> extractWorkbookStream(InputFile& file);

}  // namespace sheet::xls
