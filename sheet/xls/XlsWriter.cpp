// Saving a workbook: the globals, then each sheet, wrapped in a compound file and put on disk.
#include "sheet/xls/XlsWriter.h"

#include "fileio/AtomicWrite.h"
#include "sheet/model/SheetError.h"
#include "sheet/xls/Container.h"
#include "sheet/xls/Globals.h"
#include "sheet/xls/ReadLimits.h"
#include "sheet/xls/Sheet.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Styles.h"

#include <set>
#include <stdexcept>

namespace sheet::xls {

namespace {

SharedStrings collectStrings(const WorkbookData& book)
{
    SharedStrings strings;
    for (const auto& sheet : book.sheets)
        for (const auto& [ref, cell] : sheet->cells())
            if (const auto* text = std::get_if<CellText>(&cell.value)) {
                try {
                    strings.add(*text);
                } catch (const std::length_error&) {
                    throw SheetError(textTooLongMessage(sheet->name));
                }
            }
    return strings;
}

std::string folded(const std::string& name)
{
    std::string out = name;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// What can be told before anything is written.
void checkSaveable(const WorkbookData& book)
{
    if (book.sheets.empty())
        throw SheetError("a workbook needs at least one sheet");
    if (book.sheets.size() > 255)
        throw SheetError("a workbook can hold at most 255 sheets");
    if (book.activeSheet < 0 || static_cast<std::size_t>(book.activeSheet) >= book.sheets.size())
        throw SheetError("the active sheet does not exist");
    std::set<std::string> names;
    std::size_t mergedAreas = 0;
    for (const auto& sheet : book.sheets) {
        if (!names.insert(folded(sheet->name)).second)
            throw SheetError("two sheets are named \"" + sheet->name + "\"");
        mergedAreas += sheet->merges.size();
    }
    if (mergedAreas > kMaxMergedAreas)
        throw SheetError("the workbook has more than " + std::to_string(kMaxMergedAreas) +
                         " merged areas, more than it could be opened with again");
}

// The workbook stream, handed to the container record by record.
void writeStream(const WorkbookData& book, StreamSink& sink)
{
    const StyleTable styles(book);
    const SharedStrings strings = collectStrings(book);
    BiffWriter w(sink);
    const std::vector<std::size_t> offsetFields = writeGlobals(w, book, styles, strings);
    std::size_t readCost = styles.readCost() + strings.readCost();
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        w.patchU32(offsetFields[i], static_cast<std::uint32_t>(w.position()));
        readCost += writeWorksheet(w, *book.sheets[i], styles, strings, static_cast<int>(i) == book.activeSheet);
    }
    if (w.position() > 0x7FFFFFFF)
        throw SheetError("the workbook is too large for the .xls format");
    // What is saved must open again.
    if (readCost > readBudget(w.position()))
        throw SheetError("the workbook holds more than this program could open again");
    w.finish();
}

void writeWorkbookFile(const WorkbookData& book, fileio::SeekableSink& file)
{
    const std::uint64_t size = writeCompoundFile(file, [&](StreamSink& sink) { writeStream(book, sink); });
    if (size > kMaxFileSize)
        throw SheetError("the file would be larger than the " + std::to_string(kMaxFileSize / (1024 * 1024)) +
                         " MB this program opens");
}

}  // namespace

std::vector<std::uint8_t> workbookFileBytes(const WorkbookData& book)
{
    checkSaveable(book);
    MemoryFile file;
    writeWorkbookFile(book, file);
    return std::move(file.bytes());
}

void writeWorkbook(const WorkbookData& book, const std::string& path)
{
    try {
        checkSaveable(book);
        fileio::writeFileSeekable(path, [&](fileio::SeekableSink& file) { writeWorkbookFile(book, file); });
    } catch (const fileio::FileError& e) {
        throw SheetError("Cannot save the workbook to " + path + ": " + e.reason());
    } catch (const errors::DescribedError& e) {
        throw SheetError("Cannot save the workbook to " + path + ": " + e.wholeDescription());
    } catch (const std::exception& e) {
        throw SheetError("Cannot save the workbook to " + path + ": " + e.what());
    }
}

}  // namespace sheet::xls
