// The reader on damaged and hostile files: every one gives a SheetError with a message for the
// user, or a workbook; none crashes, hangs or allocates without bound. Damage to the container is
// also read from disk, where the reader takes the file piece by piece, with the same outcome.
#include "sheet/model/SheetError.h"
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/BiffRecords.h"
#include "sheet/xls/Container.h"
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include "SampleWorkbook.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using namespace sheet;
using Bytes = std::vector<std::uint8_t>;

namespace {

const std::string kName = "hostile.xls";

// Reads the bytes; returns the error message, or "" when a workbook came back.
std::string openMessage(const Bytes& file)
{
    try {
        auto book = xls::readWorkbookBytes(file, kName);
        EXPECT_FALSE(book->sheets.empty());
        return "";
    } catch (const SheetError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("Cannot open the workbook " + kName + ": ", 0), 0u) << message;
        return message;
    }
}

// The same bytes opened from a file on disk, which the reader takes piece by piece: the same
// outcome, the message naming the path.
std::string openMessageFromFile(const Bytes& file)
{
    const QTemporaryDir dir;
    const std::string path = dir.filePath(QString::fromStdString(kName)).toStdString();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    std::string message;
    try {
        EXPECT_FALSE(xls::readWorkbook(path)->sheets.empty());
    } catch (const SheetError& e) {
        message = e.what();
        const std::string prefix = "Cannot open the workbook " + path + ": ";
        EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
        message = "Cannot open the workbook " + kName + ": " + message.substr(std::min(prefix.size(), message.size()));
    }
    EXPECT_EQ(message, openMessage(file));
    return message;
}

Bytes sampleFile() { return xls::workbookFileBytes(*xls_test::sampleWorkbook()); }

Bytes sampleStream() { return xls::extractWorkbookStream(sampleFile()); }

// Where the records end and the zero padding of a short stream begins.
std::size_t recordsEnd(const Bytes& stream)
{
    std::size_t pos = 0;
    while (pos + 4 <= stream.size() && (stream[pos] | stream[pos + 1]) != 0)
        pos += 4 + (stream[pos + 2] | (stream[pos + 3] << 8));
    return pos;
}

std::uint32_t u32At(const Bytes& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void putU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void putU16(Bytes& b, std::size_t at, std::uint16_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Offsets of the records with the given id in a stream.
std::vector<std::size_t> recordsWithId(const Bytes& stream, std::uint16_t id)
{
    std::vector<std::size_t> found;
    const std::size_t end = recordsEnd(stream);
    for (std::size_t pos = 0; pos < end; pos += 4 + (stream[pos + 2] | (stream[pos + 3] << 8)))
        if ((stream[pos] | (stream[pos + 1] << 8)) == id)
            found.push_back(pos);
    return found;
}

}  // namespace

TEST(XlsReaderRobustness, FilesThatAreNoWorkbookGiveAClearMessage)
{
    EXPECT_EQ(openMessage({}), "Cannot open the workbook hostile.xls: it is not an Excel 97-2003 workbook (.xls)");
    EXPECT_EQ(openMessage({'P', 'K', 3, 4, 0, 0}), "Cannot open the workbook hostile.xls: it is not an Excel 97-2003 workbook (.xls)");
    Bytes fakeHeader = sampleFile();
    std::fill(fakeHeader.begin() + 8, fakeHeader.end(), 0xFF);
    EXPECT_NE(openMessage(fakeHeader), "");

    QTemporaryDir dir;
    const std::string missing = dir.filePath("none.xls").toStdString();
    try {
        xls::readWorkbook(missing);
        FAIL() << "a missing file opened";
    } catch (const SheetError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open the workbook " + missing + ": No such file or directory");
    }
    const std::string empty = dir.filePath("empty.xls").toStdString();
    std::ofstream(empty).close();
    EXPECT_THROW(xls::readWorkbook(empty), SheetError);
    EXPECT_THROW(xls::readWorkbook(dir.path().toStdString()), SheetError);
    // A named pipe with no writer is refused at once instead of waiting for data.
    const std::string pipe = dir.filePath("pipe.xls").toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_THROW(xls::readWorkbook(pipe), SheetError);
}

TEST(XlsReaderRobustness, TruncatedFilesAndStreamsFail)
{
    const Bytes file = sampleFile();
    for (std::size_t n = 0; n < file.size(); n += (n < 1024 ? 7 : 61)) {
        SCOPED_TRACE(n);
        EXPECT_NE(openMessageFromFile(Bytes(file.begin(), file.begin() + static_cast<long>(n))), "");
    }
    EXPECT_EQ(openMessageFromFile(file), "");
    // Inside the container, a workbook stream cut anywhere before its last record (the sheet's
    // end mark, whose zero length the padding would restore).
    const Bytes stream = sampleStream();
    const std::size_t end = recordsEnd(stream);
    ASSERT_GT(end, 1000u);
    for (std::size_t n = 0; n + 4 <= end; n += (n + 40 < end ? 5 : 1)) {
        SCOPED_TRACE(n);
        EXPECT_NE(openMessage(xls::wrapWorkbookStream(Bytes(stream.begin(), stream.begin() + static_cast<long>(n)))), "");
    }
    EXPECT_EQ(openMessage(xls::wrapWorkbookStream(stream)), "");
}

TEST(XlsReaderRobustness, WrongRecordSizesNeverCrash)
{
    const Bytes stream = sampleStream();
    const std::size_t end = recordsEnd(stream);
    int failures = 0;
    for (std::size_t pos = 0; pos < end; pos += 4 + (stream[pos + 2] | (stream[pos + 3] << 8))) {
        for (std::uint16_t length : {0, 1, 3, 7, 0x2020, 0xFFFF}) {
            Bytes bad = stream;
            putU16(bad, pos + 2, length);
            if (!openMessage(xls::wrapWorkbookStream(bad)).empty())
                ++failures;
        }
    }
    EXPECT_GT(failures, 100);  // most of these files are refused, none brings the reader down
}

TEST(XlsReaderRobustness, HugeDeclaredCountsAndOffsetsAreNotTrusted)
{
    const Bytes stream = sampleStream();
    {
        Bytes bad = stream;
        const auto sst = recordsWithId(bad, xls::rec::SST);
        ASSERT_EQ(sst.size(), 1u);
        putU32(bad, sst[0] + 8, 0xFFFFFFFF);  // unique strings
        putU32(bad, sst[0] + 4, 0xFFFFFFFF);
        EXPECT_EQ(openMessage(xls::wrapWorkbookStream(bad)), "");
    }
    {
        Bytes bad = stream;
        const auto merged = recordsWithId(bad, xls::rec::MERGEDCELLS);
        ASSERT_EQ(merged.size(), 1u);
        putU16(bad, merged[0] + 4, 0xFFFF);
        EXPECT_EQ(openMessage(xls::wrapWorkbookStream(bad)),
                  "Cannot open the workbook hostile.xls: the file is damaged (a record is shorter than its content)");
    }
    {
        Bytes bad = stream;
        const auto sheets = recordsWithId(bad, xls::rec::BOUNDSHEET);
        ASSERT_EQ(sheets.size(), 2u);
        putU32(bad, sheets[1] + 4, 0xFFFFFFF0);
        EXPECT_EQ(openMessage(xls::wrapWorkbookStream(bad)),
                  "Cannot open the workbook hostile.xls: the file is damaged (a sheet starts past the end of the workbook stream)");
        putU32(bad, sheets[1] + 4, u32At(bad, sheets[0] + 4));
        EXPECT_EQ(openMessage(xls::wrapWorkbookStream(bad)),
                  "Cannot open the workbook hostile.xls: the file is damaged (two sheets start at the same place)");
        putU32(bad, sheets[1] + 4, 0);  // the globals instead of a sheet
        EXPECT_EQ(openMessage(xls::wrapWorkbookStream(bad)),
                  "Cannot open the workbook hostile.xls: the file is damaged (a sheet does not start where the workbook says)");
    }
    {
        Bytes bad = stream;
        const auto labels = recordsWithId(bad, xls::rec::LABELSST);
        ASSERT_FALSE(labels.empty());
        putU32(bad, labels[0] + 10, 1000000);
        EXPECT_EQ(openMessage(xls::wrapWorkbookStream(bad)),
                  "Cannot open the workbook hostile.xls: the file is damaged (a cell refers to a missing text)");
    }
    {
        Bytes bad = stream;
        const auto numbers = recordsWithId(bad, xls::rec::NUMBER);
        ASSERT_FALSE(numbers.empty());
        putU16(bad, numbers[0] + 8, 4000);  // an XF that does not exist
        EXPECT_EQ(openMessage(xls::wrapWorkbookStream(bad)),
                  "Cannot open the workbook hostile.xls: the file is damaged (a cell refers to a format the file does not have)");
    }
}

TEST(XlsReaderRobustness, OlderFormatsAndPasswordProtectionAreNamed)
{
    Bytes stream = sampleStream();
    putU16(stream, 4, 0x0500);  // a BIFF5 header
    EXPECT_EQ(openMessage(xls::wrapWorkbookStream(stream)),
              "Cannot open the workbook hostile.xls: it was saved in an older Excel format, which cannot be opened");
    stream = sampleStream();
    const auto codepage = recordsWithId(stream, xls::rec::CODEPAGE);
    ASSERT_EQ(codepage.size(), 1u);
    putU16(stream, codepage[0], xls::rec::FILEPASS);
    EXPECT_EQ(openMessage(xls::wrapWorkbookStream(stream)), "Cannot open the workbook hostile.xls: it is protected with a password");
}

TEST(XlsReaderRobustness, LoopsAndLiesInTheCompoundFileAreCaught)
{
    const Bytes file = sampleFile();
    ASSERT_EQ(u32At(file, 0x2C), 1u);  // one FAT sector, listed first in the header
    const std::size_t fat = 512 * (1 + static_cast<std::size_t>(u32At(file, 0x4C)));
    const std::uint32_t directory = u32At(file, 0x30);
    const std::size_t workbookEntry = 512 * (1 + static_cast<std::size_t>(directory)) + 128;
    const std::uint32_t workbookStart = u32At(file, workbookEntry + 0x74);
    const std::uint32_t workbookSize = u32At(file, workbookEntry + 0x78);
    ASSERT_GE(workbookSize, 4096u);

    {
        Bytes bad = file;  // the workbook stream's chain points back at its start
        const std::uint32_t second = u32At(file, fat + 4 * workbookStart);
        putU32(bad, fat + 4 * second, workbookStart);
        EXPECT_NE(openMessageFromFile(bad), "");
    }
    {
        Bytes bad = file;  // a sector that is its own successor
        putU32(bad, fat + 4 * workbookStart, workbookStart);
        EXPECT_NE(openMessageFromFile(bad), "");
    }
    {
        // The directory chain loops: libgsf reads each directory sector once, so the file either
        // opens whole or is refused.
        Bytes bad = file;
        putU32(bad, fat + 4 * directory, directory);
        if (openMessageFromFile(bad).empty())
            EXPECT_EQ(xls::readWorkbookBytes(bad, kName)->sheets.size(), 2u);
    }
    {
        Bytes bad = file;  // the workbook claims to be far larger than the file
        putU32(bad, workbookEntry + 0x78, 0x7FFFFF00);
        EXPECT_NE(openMessageFromFile(bad), "");
    }
    {
        Bytes bad = file;  // a FAT sector number far outside the file
        putU32(bad, 0x4C, 0x00FFFFFF);
        EXPECT_NE(openMessageFromFile(bad), "");
    }
}

TEST(XlsReaderRobustness, FlippedBytesNeverCrash)
{
    // A cheap, repeatable sweep over the whole stream; the fuzz target goes much further.
    const Bytes stream = sampleStream();
    const std::size_t end = recordsEnd(stream);
    std::uint32_t seed = 12345;
    for (int round = 0; round < 400; ++round) {
        Bytes bad(stream.begin(), stream.begin() + static_cast<long>(end));
        for (int k = 0; k < 4; ++k) {
            seed = seed * 1103515245 + 12345;
            bad[(seed >> 8) % end] ^= static_cast<std::uint8_t>(1 + (seed >> 24) % 255);
        }
        openMessage(xls::wrapWorkbookStream(bad));
    }
}
