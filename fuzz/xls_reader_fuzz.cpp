// libFuzzer target for the .xls reader: any input must give a workbook or a SheetError, never a
// crash, a hang or an unbounded allocation. A workbook that was read must also save again.
#include "sheet/model/SheetError.h"
#include "sheet/xls/XlsReader.h"
#include "sheet/xls/XlsWriter.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<sheet::WorkbookData> book;
    try {
        book = sheet::xls::readWorkbookBytes({data, size}, "input.xls");
    } catch (const sheet::SheetError&) {
        return 0;
    }
    try {
        (void)sheet::xls::workbookFileBytes(*book);
    } catch (const sheet::SheetError&) {
        // Some things a file may hold cannot be saved again (a sheet name with a forbidden character).
    }
    return 0;
}
