// OLE2 container through libgsf, and reading the file from disk.
#include "sheet/xls/Container.h"

#include "sheet/xls/BiffReader.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <new>
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

// A libgsf output writing into a file of the file library. libgsf is C: a failure of the file
// (a C++ exception) is kept here and reported as a failed write, and the caller throws it again
// once libgsf has returned.
struct FileOutput {
    GsfOutput base;
    fileio::SeekableSink* file;
    std::exception_ptr failure;
    bool abandoned;  // the container is being dropped: nothing more goes into the file
};
struct FileOutputClass {
    GsfOutputClass base;
};

G_DEFINE_TYPE(FileOutput, sheet_xls_file_output, GSF_OUTPUT_TYPE)

// The object is made by GObject, which knows nothing of C++ members.
void sheet_xls_file_output_init(FileOutput* self)
{
    new (&self->failure) std::exception_ptr();
    self->file = nullptr;
    self->abandoned = false;
}

void finalizeFileOutput(GObject* object)
{
    reinterpret_cast<FileOutput*>(object)->failure.~exception_ptr();
    G_OBJECT_CLASS(sheet_xls_file_output_parent_class)->finalize(object);
}

template <class Act>
gboolean intoFile(GsfOutput* output, Act&& act)
{
    auto* self = reinterpret_cast<FileOutput*>(output);
    if (self->abandoned || self->failure)
        return FALSE;
    try {
        act(*self->file);
        return TRUE;
    } catch (...) {
        self->failure = std::current_exception();
        return FALSE;
    }
}

gboolean writeFileOutput(GsfOutput* output, size_t size, const guint8* data)
{
    return intoFile(output, [&](fileio::SeekableSink& file) { file.write(data, size); });
}

gboolean seekFileOutput(GsfOutput* output, gsf_off_t offset, GSeekType whence)
{
    const gsf_off_t from = whence == G_SEEK_CUR ? output->cur_offset : whence == G_SEEK_END ? output->cur_size : 0;
    if (from + offset < 0)
        return FALSE;
    return intoFile(output, [&](fileio::SeekableSink& file) { file.seek(static_cast<std::uint64_t>(from + offset)); });
}

gboolean closeFileOutput(GsfOutput* output) { return !reinterpret_cast<FileOutput*>(output)->failure; }

void sheet_xls_file_output_class_init(FileOutputClass* type)
{
    G_OBJECT_CLASS(type)->finalize = finalizeFileOutput;
    type->base.Write = writeFileOutput;
    type->base.Seek = seekFileOutput;
    type->base.Close = closeFileOutput;
}

// The workbook stream as the container's child.
class ChildStream final : public StreamSink {
public:
    ChildStream(GsfOutput* child, FileOutput& file) : child_(child), file_(file) {}
    void append(std::span<const std::uint8_t> bytes) override { check(gsf_output_write(child_, bytes.size(), bytes.data())); }
    void overwrite(std::size_t offset, std::span<const std::uint8_t> bytes) override
    {
        check(gsf_output_seek(child_, static_cast<gsf_off_t>(offset), G_SEEK_SET));
        check(gsf_output_write(child_, bytes.size(), bytes.data()));
        check(gsf_output_seek(child_, 0, G_SEEK_END));
    }

private:
    void check(gboolean ok) const
    {
        if (file_.failure)
            std::rethrow_exception(file_.failure);
        if (!ok)
            throw std::runtime_error("the compound file could not be built");
    }
    GsfOutput* child_;
    FileOutput& file_;
};

}  // namespace

void MemoryFile::write(const void* data, std::size_t size)
{
    if (position_ + size > bytes_.size())
        bytes_.resize(position_ + size);
    std::memcpy(bytes_.data() + position_, data, size);
    position_ += size;
}

std::uint64_t writeCompoundFile(fileio::SeekableSink& file, const std::function<void(StreamSink&)>& fill)
{
    quietContainerDiagnostics();
    GPtr<FileOutput> output(static_cast<FileOutput*>(g_object_new(sheet_xls_file_output_get_type(), nullptr)));
    output->file = &file;
    GsfOutput* sink = &output->base;
    const auto failed = [&] {
        if (output->failure)
            std::rethrow_exception(output->failure);
        throw std::runtime_error("the compound file could not be built");
    };
    GPtr<GsfOutfile> ole(gsf_outfile_msole_new(sink));
    if (!ole)
        failed();
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()), kWorkbookClassId);
    GPtr<GsfOutput> child(gsf_outfile_new_child(ole.get(), "Workbook", FALSE));
    if (!child)
        failed();
    try {
        ChildStream stream(child.get(), *output);
        fill(stream);
        const auto size = static_cast<std::size_t>(gsf_output_size(child.get()));
        if (size < kMiniStreamCutoff) {
            const std::vector<std::uint8_t> padding(kMiniStreamCutoff - size, 0);
            stream.append(padding);
        }
    } catch (...) {
        output->abandoned = true;
        throw;
    }
    bool ok = gsf_output_close(child.get());
    child.reset();
    ok = gsf_output_close(GSF_OUTPUT(ole.get())) && ok;
    ole.reset();
    if (!ok || output->failure)
        failed();
    return static_cast<std::uint64_t>(gsf_output_size(sink));
}

std::vector<std::uint8_t> wrapWorkbookStream(std::span<const std::uint8_t> stream)
{
    MemoryFile file;
    writeCompoundFile(file, [&](StreamSink& sink) { sink.append(stream); });
    return std::move(file.bytes());
}

namespace {

const std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

void requireSignature(bool present)
{
    if (!present)
        throw FormatError("it is not an Excel 97-2003 workbook (.xls)");
}

// The "Workbook" stream of the compound file `input` reads, a file of `fileSize` bytes.
std::vector<std::uint8_t> workbookStreamOf(GsfInput* input, std::uint64_t fileSize)
{
    quietContainerDiagnostics();
    GError* rawError = nullptr;
    GPtr<GsfInfile> ole(gsf_infile_msole_new(input, &rawError));
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
    if (size < 0 || static_cast<std::uint64_t>(size) > fileSize)
        damaged("the workbook stream is larger than the file");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    constexpr std::size_t chunk = 1024 * 1024;
    for (std::size_t done = 0; done < bytes.size();) {
        const std::size_t n = std::min(chunk, bytes.size() - done);
        if (!gsf_input_read(stream.get(), n, bytes.data() + done))
            damaged("the workbook stream cannot be read to its end");
        done += n;
    }
    return bytes;
}

std::string systemReason(int error) { return std::strerror(error); }

}  // namespace

std::vector<std::uint8_t> extractWorkbookStream(std::span<const std::uint8_t> file)
{
    requireSignature(file.size() >= 512 && std::memcmp(file.data(), kSignature, 8) == 0);
    GPtr<GsfInput> input(gsf_input_memory_new(file.data(), static_cast<gsf_off_t>(file.size()), FALSE));
    return workbookStreamOf(input.get(), file.size());
}

InputFile::InputFile(const std::string& path, std::size_t maxSize) : path_(path)
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
    file_ = ::fdopen(fd, "rb");
    if (file_ == nullptr) {
        const int error = errno;
        ::close(fd);
        throw std::runtime_error(systemReason(error));
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() { std::fclose(file_); }

std::vector<std::uint8_t> extractWorkbookStream(InputFile& file)
{
    std::uint8_t start[8] = {};
    const bool whole = file.size() >= 512 && ::pread(::fileno(file.get()), start, 8, 0) == 8;
    requireSignature(whole && std::memcmp(start, kSignature, 8) == 0);
    // The container reads the file as it needs it, so the file is never held whole.
    GPtr<GsfInput> input(gsf_input_stdio_new_FILE(file.path().c_str(), file.get(), TRUE));
    if (!input)
        damaged("its compound file structure cannot be read");
    return workbookStreamOf(input.get(), file.size());
}

}  // namespace sheet::xls
