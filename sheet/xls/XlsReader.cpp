// Opening a workbook: the file, its compound container, the globals, then each worksheet.
#include "sheet/xls/XlsReader.h"

#include "sheet/model/SheetError.h"
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/BiffRecords.h"
#include "sheet/xls/Container.h"
#include "sheet/xls/Globals.h"
#include "sheet/xls/PrintArea.h"
#include "sheet/xls/Sheet.h"

#include <algorithm>
#include <new>
#include <optional>
#include <set>

namespace sheet::xls {

namespace {

std::unique_ptr<WorkbookData> parse(std::span<const std::uint8_t> stream)
{
    RecordReader r(stream);
    ReadBudget budget(stream.size());
    const Globals globals = readGlobals(r, budget);
    if (globals.sheets.empty())
        throw FormatError("it holds no worksheet");
    auto book = std::make_unique<WorkbookData>();
    // Cell formats are taken in the file's order, so that saving again writes them in that order.
    for (std::size_t xf = kDefaultCellXf; xf < globals.xfs.size(); ++xf)
        book->formats.intern(globals.xfs[xf]);
    SheetReadLimits limits{budget, stream.size(), kMaxMergedAreas};
    std::set<std::size_t> offsets;
    for (const SheetEntry& entry : globals.sheets) {
        if (!offsets.insert(entry.offset).second)
            damaged("two sheets start at the same place");
        budget.charge(cost::kSheet + entry.name.size());
        auto sheet = std::make_unique<SheetData>();
        sheet->name = entry.name;
        r.seek(entry.offset);
        readWorksheet(r, globals, *book, *sheet, limits);
        for (const auto& [tab, area] : globals.printAreas)
            if (tab == globals.tabOfWorksheet[book->sheets.size()])
                sheet->pageSetup.printArea = printAreaText(area);
        book->sheets.push_back(std::move(sheet));
    }
    // The active tab counts every sheet of the file; charts and the like are not kept.
    book->activeSheet = 0;
    for (std::size_t i = 0; i < globals.tabOfWorksheet.size(); ++i)
        if (globals.tabOfWorksheet[i] <= globals.activeTab)
            book->activeSheet = static_cast<int>(i);
    return book;
}

// Runs a read, turning what went wrong into the user's message.
template <class Read>
std::unique_ptr<WorkbookData> guarded(const std::string& name, Read&& read)
{
    try {
        return read();
    } catch (const FormatError& e) {
        throw SheetError("Cannot open the workbook " + name + ": " + e.what());
    } catch (const std::bad_alloc&) {
        throw SheetError("Cannot open the workbook " + name + ": there is not enough memory to read it");
    }
}

}  // namespace

std::unique_ptr<WorkbookData> readWorkbookBytes(std::span<const std::uint8_t> file, const std::string& name)
{
    return guarded(name, [&] { return parse(extractWorkbookStream(file)); });
}

std::unique_ptr<WorkbookData> readWorkbook(const std::string& path)
{
    std::optional<InputFile> file;
    try {
        file.emplace(path, kMaxFileSize);
    } catch (const std::exception& e) {
        throw SheetError("Cannot open the workbook " + path + ": " + e.what());
    }
    return guarded(path, [&] {
        const std::vector<std::uint8_t> stream = extractWorkbookStream(*file);
        file.reset();
        return parse(stream);
    });
}

}  // namespace sheet::xls
