// OLE2 container through libgsf, and reading the file from disk.
#include "sheet/xls/Container.h"

#include "sheet/xls/BiffReader.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace sheet::xls {

namespace {

struct GObjectUnref {
    void operator()(void* p) const
    {
        if (p)
            g_object_unref(p);
    }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectUnref>;

struct ErrorFree {
    void operator()(GError* e) const
    {
        if (e)
            g_error_free(e);
    }
};

// The class id spreadsheet files carry on their root entry, by which some readers recognise them.
const guint8 kWorkbookClassId[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Streams shorter than this would go into the compound file's mini stream; padding keeps the
// workbook in ordinary sectors, where every reader finds it.
constexpr std::size_t kMiniStreamCutoff = 4096;

void ignoreLogMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf reports what it finds wrong in a damaged container through glib's log as well as through
// its results; the results are what count, and the log would only fill the user's terminal.
void quietContainerDiagnostics()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const char* domain : {"libgsf:msole", "libgsf"})
            g_log_set_handler(domain, static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE),
                              ignoreLogMessage, nullptr);
    });
}

// `written` is called once the container holds the stream.
template <class Written>
std::vector<std::uint8_t> wrap(std::span<const std::uint8_t> stream, Written&& written)
{
    GPtr<GsfOutput> sink(gsf_output_memory_new());
    GPtr<GsfOutfile> ole(gsf_outfile_msole_new(sink.get()));
    if (!ole)
        throw std::runtime_error("the compound file could not be started");
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()), kWorkbookClassId);
    GPtr<GsfOutput> child(gsf_outfile_new_child(ole.get(), "Workbook", FALSE));
    const std::size_t size = stream.size();
    bool ok = child && gsf_output_write(child.get(), size, stream.data());
    written();
    if (ok && size < kMiniStreamCutoff) {
        const std::vector<guint8> padding(kMiniStreamCutoff - size, 0);
        ok = gsf_output_write(child.get(), padding.size(), padding.data());
    }
    ok = child && gsf_output_close(child.get()) && ok;
    child.reset();
    ok = gsf_output_close(GSF_OUTPUT(ole.get())) && ok;
    ole.reset();
    if (!ok)
        throw std::runtime_error("the compound file could not be built");
    auto* memory = GSF_OUTPUT_MEMORY(sink.get());
    const guint8* bytes = gsf_output_memory_get_bytes(memory);
    const auto fileSize = static_cast<std::size_t>(gsf_output_size(sink.get()));
    return std::vector<std::uint8_t>(bytes, bytes + fileSize);
}

}  // namespace

std::vector<std::uint8_t> wrapWorkbookStream(std::span<const std::uint8_t> stream)
{
    return wrap(stream, [] {});
}

std::vector<std::uint8_t> wrapWorkbookStream(std::vector<std::uint8_t>&& stream)
{
    return wrap(stream, [&] { std::vector<std::uint8_t>().swap(stream); });
}

std::vector<std::uint8_t> extractWorkbookStream(std::span<const std::uint8_t> file)
{
    static const std::uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    if (file.size() < 512 || std::memcmp(file.data(), signature, 8) != 0)
        throw FormatError("it is not an Excel 97-2003 workbook (.xls)");
    quietContainerDiagnostics();
    GPtr<GsfInput> input(gsf_input_memory_new(file.data(), static_cast<gsf_off_t>(file.size()), FALSE));
    GError* rawError = nullptr;
    GPtr<GsfInfile> ole(gsf_infile_msole_new(input.get(), &rawError));
    std::unique_ptr<GError, ErrorFree> error(rawError);
    if (!ole)
        damaged("its compound file structure cannot be read");
    GPtr<GsfInput> stream(gsf_infile_child_by_name(ole.get(), "Workbook"));
    if (!stream) {
        GPtr<GsfInput> old(gsf_infile_child_by_name(ole.get(), "Book"));
        if (old)
            throw FormatError("it was saved in an older Excel format (Excel 5.0/95), which cannot be opened");
        throw FormatError("it holds no workbook");
    }
    const gsf_off_t size = gsf_input_size(stream.get());
    // A stream cannot hold more than the file it comes from; a larger declared size is a lie.
    if (size < 0 || static_cast<std::uint64_t>(size) > file.size())
        damaged("the workbook stream is larger than the file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    constexpr std::size_t chunk = 64 * 1024;
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t n = std::min(chunk, bytes.size() - done);
        if (!gsf_input_read(stream.get(), n, bytes.data() + done))
            damaged("the workbook stream cannot be read to its end");
        done += n;
    }
    return bytes;
}

namespace {

std::string systemReason(int error) { return std::strerror(error); }

}  // namespace

std::vector<std::uint8_t> readWholeFile(const std::string& path, std::size_t maxSize)
{
    // Non-blocking, so that a named pipe given as a workbook cannot hold the program up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw std::runtime_error(systemReason(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw std::runtime_error("it is not a file");
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        ::close(fd);
        throw std::runtime_error("the file is too large to be a workbook this program reads");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw std::runtime_error(systemReason(error));
        }
        if (n == 0)
            break;  // the file shrank while being read
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    ::close(fd);
    return bytes;
}

}  // namespace sheet::xls
