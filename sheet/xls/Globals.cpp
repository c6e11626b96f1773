// Writing the workbook globals.
#include "sheet/xls/Globals.h"

#include "sheet/model/SheetError.h"
#include "sheet/xls/PrintArea.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Styles.h"

#include <algorithm>
#include <stdexcept>

namespace sheet::xls {

void writeBOF(BiffWriter& w, std::uint16_t substream)
{
    w.begin(rec::BOF);
    w.u16(kBiff8);
    w.u16(substream);
    w.u16(bof::kBuild);
    w.u16(bof::kYear);
    w.u32(0);  // file history
    w.u32(bof::kLowestBiffVersion);
    w.end();
}

void writeEOF(BiffWriter& w) { w.record(rec::EOF_, {}); }

namespace {

void writeWRITEACCESS(BiffWriter& w)
{
    static const char name[] = "Rostelle";
    w.begin(rec::WRITEACCESS);
    writeLongString(w, name);
    while (w.recordLength() < 112)
        w.u8(' ');
    w.end();
}

void writeTABID(BiffWriter& w, std::size_t sheetCount)
{
    w.begin(rec::TABID);
    for (std::size_t i = 0; i < sheetCount; ++i)
        w.u16(static_cast<std::uint16_t>(i + 1));
    w.end();
}

void writeWINDOW1(BiffWriter& w, int activeSheet)
{
    w.begin(rec::WINDOW1);
    w.u16(0x0168);  // position and size in twips
    w.u16(0x001E);
    w.u16(0x3A5C);
    w.u16(0x2328);
    w.u16(window1::kHorizontalScroll | window1::kVerticalScroll | window1::kTabsShown);
    w.u16(static_cast<std::uint16_t>(activeSheet));
    w.u16(0);  // first tab shown
    w.u16(1);  // one sheet selected: the active one
    w.u16(600);
    w.end();
}

std::size_t writeBOUNDSHEET(BiffWriter& w, const std::string& name)
{
    w.begin(rec::BOUNDSHEET);
    const std::size_t offsetField = w.position();
    w.u32(0);  // filled in when the sheet is written
    w.u8(0);   // visible
    w.u8(0);   // worksheet
    writeShortString(w, name);
    w.end();
    return offsetField;
}

void checkSheetName(const std::string& name)
{
    const std::u16string units = utf8ToUtf16(name);
    if (units.empty() || units.size() > 31)
        throw SheetError("the sheet name \"" + name + "\" must have 1 to 31 characters");
    if (std::any_of(units.begin(), units.end(), [](char16_t c) { return c == u'[' || c == u']' || c == u':' || c == u'*' || c == u'?' || c == u'/' || c == u'\\'; }))
        throw SheetError("the sheet name \"" + name + "\" holds a character a sheet name cannot have");
}

}  // namespace

std::vector<std::size_t> writeGlobals(BiffWriter& w, const WorkbookData& book, const StyleTable& styles,
                                      const SharedStrings& strings)
{
    writeBOF(w, kSubstreamGlobals);
    w.record(rec::INTERFACEHDR, {1200});
    w.record(rec::MMS, {0});
    w.record(rec::INTERFACEEND, {});
    writeWRITEACCESS(w);
    w.record(rec::CODEPAGE, {1200});
    w.record(rec::DSF, {0});
    writeTABID(w, book.sheets.size());
    w.record(rec::FNGROUPCOUNT, {0x000E});
    w.record(rec::WINDOWPROTECT, {0});
    w.record(rec::PROTECT, {0});
    w.record(rec::PASSWORD, {0});
    w.record(rec::PROT4REV, {0});
    w.record(rec::PROT4REVPASS, {0});
    writeWINDOW1(w, book.activeSheet);
    w.record(rec::BACKUP, {0});
    w.record(rec::HIDEOBJ, {0});
    w.record(rec::DATEMODE, {0});  // 1900 date system
    w.record(rec::PRECISION, {1});
    w.record(rec::REFRESHALL, {0});
    w.record(rec::BOOKBOOL, {0});
    styles.writeFonts(w);
    styles.writeXFs(w);
    writeSTYLE(w);
    w.record(rec::USESELFS, {0});
    std::vector<std::size_t> offsetFields;
    for (const auto& sheet : book.sheets) {
        checkSheetName(sheet->name);
        offsetFields.push_back(writeBOUNDSHEET(w, sheet->name));
    }
    w.record(rec::COUNTRY, {1, 1});
    writePrintAreas(w, book);
    const auto buckets = writeSST(w, strings);
    writeEXTSST(w, strings.unique().size(), buckets);
    writeEOF(w);
    return offsetFields;
}

}  // namespace sheet::xls
