// The write sequence shared by every writer: inspect the target, clear stale temporaries, fill a
// temporary file, sync, put it in place (or hand it to the staged writes in force), sync the folder.
#include "fileio/AtomicWrite.h"

#include "fileio/Posix.h"
#include "fileio/StagedWrites.h"
#include "fileio/Temporary.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace fileio {
namespace {

// One write at a time in this process, so that the stale-file sweep never meets one of our own.
std::mutex g_writeMutex;

void writeWith(const std::string& path, const WriteOptions& options, const std::function<void(detail::TemporaryFile&)>& fill)
{
    const std::lock_guard lock(g_writeMutex);
    const detail::Target target = detail::inspectTarget(path, options.ownFile);
    if (target.exists && !options.replaceExisting)
        throw FileError(FileError::Operation::Write, path, detail::reasonFor(EEXIST));
    detail::removeStaleTemporaries(target.folder);
    auto temporary = std::make_unique<detail::TemporaryFile>(path, target.folder, target.exists ? &target.existing : nullptr);
    fill(*temporary);
    if (options.durable)
        temporary->sync();
    if (StagedWrites* staged = StagedWrites::current()) {
        staged->hold(path, target.path, std::move(temporary), options);
        return;
    }
    temporary->commit(target.path, options.replaceExisting);
    if (options.durable)
        detail::syncFolder(target.folder);
}

}  // namespace

void checkTarget(const std::string& path) { detail::inspectTarget(path, false); }

void writeFile(const std::string& path, std::span<const std::uint8_t> bytes, WriteOptions options)
{
    writeWith(path, options, [&](detail::TemporaryFile& file) { file.write(bytes.data(), bytes.size()); });
}

void writeFile(const std::string& path, std::string_view bytes, WriteOptions options)
{
    writeWith(path, options, [&](detail::TemporaryFile& file) { file.write(bytes.data(), bytes.size()); });
}

void writeFileFrom(const std::string& path, const std::function<void(const ByteSink&)>& produce, WriteOptions options)
{
    writeWith(path, options, [&](detail::TemporaryFile& file) {
        produce([&file](const void* data, std::size_t size) { file.write(data, size); });
    });
}

void writeFileSeekable(const std::string& path, const std::function<void(SeekableSink&)>& produce, WriteOptions options)
{
    struct Sink final : SeekableSink {
        explicit Sink(detail::TemporaryFile& file) : file(file) {}
        void write(const void* data, std::size_t size) override { file.write(data, size); }
        void seek(std::uint64_t offset) override { file.seek(offset); }
        detail::TemporaryFile& file;
    };
    writeWith(path, options, [&](detail::TemporaryFile& file) {
        Sink sink(file);
        produce(sink);
    });
}

void copyFile(const std::string& source, const std::string& target, WriteOptions options)
{
    const auto cannotRead = [&](const std::string& reason) { return FileError(FileError::Operation::Read, source, reason); };
    // Non-blocking, so that a named pipe given as the source cannot hold the program up.
    detail::Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!in)
        throw cannotRead(detail::reasonFor(errno));
    struct stat info {};
    if (::fstat(in.get(), &info) != 0)
        throw cannotRead(detail::reasonFor(errno));
    if (!S_ISREG(info.st_mode))
        throw cannotRead(S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");

    writeWith(target, options, [&](detail::TemporaryFile& file) {
        std::vector<char> buffer(256 * 1024);
        for (;;) {
            const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw cannotRead(detail::reasonFor(errno));
            if (n == 0)
                break;
            file.write(buffer.data(), static_cast<std::size_t>(n));
        }
    });
}

}  // namespace fileio
