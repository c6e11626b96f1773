// Reading the workbook globals: fonts, formats, XFs, the sheet directory and the shared strings.
#include "sheet/xls/BiffReader.h"
#include "sheet/xls/BiffRecords.h"
#include "sheet/xls/Globals.h"
#include "sheet/xls/PrintArea.h"
#include "sheet/xls/ReadLimits.h"
#include "sheet/xls/Strings.h"
#include "sheet/xls/Styles.h"

#include <map>

namespace sheet::xls {

namespace {

constexpr std::size_t kMaxSheets = 1024;
// Cells refer to fonts and XFs by 16-bit index; records beyond that can never be used.
constexpr std::size_t kMaxIndexed = 65536;

void checkBOF(const Record& bof, std::uint16_t substream)
{
    if (bof.id == 0x0009 || bof.id == 0x0209 || bof.id == 0x0409)
        throw FormatError("it was saved in an older Excel format, which cannot be opened");
    if (bof.id != rec::BOF)
        damaged("the workbook does not start with its header");
    ByteCursor c(bof.data);
    const std::uint16_t version = c.u16();
    const std::uint16_t type = c.u16();
    if (version != kBiff8)
        throw FormatError("it was saved in an older Excel format, which cannot be opened");
    if (type != substream)
        damaged(substream == kSubstreamGlobals ? "the workbook header is wrong" : "a sheet does not start where the workbook says");
}

}  // namespace

Globals readGlobals(RecordReader& r, ReadBudget& budget)
{
    Globals g;
    if (r.atEnd())
        damaged("the workbook stream is empty");
    checkBOF(r.next(), kSubstreamGlobals);
    std::map<std::uint16_t, std::string> customFormats;
    std::vector<XfRecord> xfs;
    int tab = 0;
    bool sawEnd = false;
    while (!r.atEnd()) {
        const Record record = r.next();
        ByteCursor c(record.data);
        switch (record.id) {
        case rec::FILEPASS:
            throw FormatError("it is protected with a password");
        case rec::FONT:
            if (g.fonts.size() >= kMaxIndexed)
                break;
            if (g.fonts.size() == 4) {
                g.fonts.push_back(defaultFont());  // index 4 is never used
                budget.charge(cost::font(g.fonts.back()));
            }
            g.fonts.push_back(readFONT(record.data));
            budget.charge(cost::font(g.fonts.back()));
            break;
        case rec::FORMAT: {
            const std::uint16_t id = c.u16();
            std::string& text = customFormats[id];
            text = readLongString(c);
            budget.charge(cost::sharedString(text.size()));
            break;
        }
        case rec::XF:
            if (xfs.size() < kMaxIndexed)
                xfs.push_back(readXF(record.data));
            break;
        case rec::WINDOW1:
            c.skip(10);
            g.activeTab = c.u16();
            break;
        case rec::BOUNDSHEET: {
            const std::uint32_t offset = c.u32();
            c.u8();  // visibility: hidden sheets are read too
            const std::uint8_t type = c.u8();
            std::string name = readShortString(c);
            if (type == 0) {
                if (g.sheets.size() >= kMaxSheets)
                    damaged("it lists too many sheets");
                g.sheets.push_back({std::move(name), offset});
                g.tabOfWorksheet.push_back(tab);
            }
            ++tab;
            break;
        }
        case rec::SST: {
            std::vector<std::span<const std::uint8_t>> segments{record.data};
            for (auto part : r.continues())
                segments.push_back(part);
            g.strings = readSST(segments, &budget);
            break;
        }
        case 0x0018:  // NAME
            if (auto name = readPrintAreaNAME(record.data); name && g.printAreas.size() < kMaxSheets)
                g.printAreas.emplace_back(name->tab, name->area);
            break;
        case rec::EOF_:
            sawEnd = true;
            break;
        default:
            break;
        }
        if (sawEnd)
            break;
    }
    if (!sawEnd)
        damaged("the workbook part ends early");

    g.xfs.reserve(xfs.size());
    for (const XfRecord& x : xfs) {
        CellFormat f = x.format;
        if (x.font < g.fonts.size() && x.font != 4)
            f.font = g.fonts[x.font];
        f.numberFormat = modelNumberFormat(x.numberFormat, customFormats);
        budget.charge(cost::xf(f));
        g.xfs.push_back(f);
    }
    return g;
}

// The sheet reader checks its own BOF through this.
void checkSheetBOF(const Record& bof) { checkBOF(bof, kSubstreamWorksheet); }

}  // namespace sheet::xls
