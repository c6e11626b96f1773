// Record identifiers of the BIFF8 workbook stream and the format's fixed limits.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sheet::xls {

namespace rec {
inline constexpr std::uint16_t FORMULA = 0x0006;
inline constexpr std::uint16_t EOF_ = 0x000A;
inline constexpr std::uint16_t CALCCOUNT = 0x000C;
inline constexpr std::uint16_t CALCMODE = 0x000D;
inline constexpr std::uint16_t PRECISION = 0x000E;
inline constexpr std::uint16_t CALCREFMODE = 0x000F;
inline constexpr std::uint16_t CALCDELTA = 0x0010;
inline constexpr std::uint16_t CALCITER = 0x0011;
inline constexpr std::uint16_t PROTECT = 0x0012;
inline constexpr std::uint16_t PASSWORD = 0x0013;
inline constexpr std::uint16_t HEADER = 0x0014;
inline constexpr std::uint16_t FOOTER = 0x0015;
inline constexpr std::uint16_t WINDOWPROTECT = 0x0019;
inline constexpr std::uint16_t SELECTION = 0x001D;
inline constexpr std::uint16_t DATEMODE = 0x0022;
inline constexpr std::uint16_t LEFTMARGIN = 0x0026;
inline constexpr std::uint16_t RIGHTMARGIN = 0x0027;
inline constexpr std::uint16_t TOPMARGIN = 0x0028;
inline constexpr std::uint16_t BOTTOMMARGIN = 0x0029;
inline constexpr std::uint16_t PRINTHEADERS = 0x002A;
inline constexpr std::uint16_t PRINTGRIDLINES = 0x002B;
inline constexpr std::uint16_t FILEPASS = 0x002F;
inline constexpr std::uint16_t FONT = 0x0031;
inline constexpr std::uint16_t CONTINUE = 0x003C;
inline constexpr std::uint16_t WINDOW1 = 0x003D;
inline constexpr std::uint16_t BACKUP = 0x0040;
inline constexpr std::uint16_t CODEPAGE = 0x0042;
inline constexpr std::uint16_t DEFCOLWIDTH = 0x0055;
inline constexpr std::uint16_t WRITEACCESS = 0x005C;
inline constexpr std::uint16_t CALCSAVERECALC = 0x005F;
inline constexpr std::uint16_t COLINFO = 0x007D;
inline constexpr std::uint16_t GUTS = 0x0080;
inline constexpr std::uint16_t WSBOOL = 0x0081;
inline constexpr std::uint16_t GRIDSET = 0x0082;
inline constexpr std::uint16_t HCENTER = 0x0083;
inline constexpr std::uint16_t VCENTER = 0x0084;
inline constexpr std::uint16_t BOUNDSHEET = 0x0085;
inline constexpr std::uint16_t COUNTRY = 0x008C;
inline constexpr std::uint16_t HIDEOBJ = 0x008D;
inline constexpr std::uint16_t PALETTE = 0x0092;
inline constexpr std::uint16_t FNGROUPCOUNT = 0x009C;
inline constexpr std::uint16_t SETUP = 0x00A1;
inline constexpr std::uint16_t MULRK = 0x00BD;
inline constexpr std::uint16_t MULBLANK = 0x00BE;
inline constexpr std::uint16_t MMS = 0x00C1;
inline constexpr std::uint16_t RSTRING = 0x00D6;
inline constexpr std::uint16_t BOOKBOOL = 0x00DA;
inline constexpr std::uint16_t XF = 0x00E0;
inline constexpr std::uint16_t INTERFACEHDR = 0x00E1;
inline constexpr std::uint16_t INTERFACEEND = 0x00E2;
inline constexpr std::uint16_t MERGEDCELLS = 0x00E5;
inline constexpr std::uint16_t SST = 0x00FC;
inline constexpr std::uint16_t LABELSST = 0x00FD;
inline constexpr std::uint16_t EXTSST = 0x00FF;
inline constexpr std::uint16_t TABID = 0x013D;
inline constexpr std::uint16_t USESELFS = 0x0160;
inline constexpr std::uint16_t DSF = 0x0161;
inline constexpr std::uint16_t PROT4REV = 0x01AF;
inline constexpr std::uint16_t REFRESHALL = 0x01B7;
inline constexpr std::uint16_t PROT4REVPASS = 0x01BC;
inline constexpr std::uint16_t DIMENSIONS = 0x0200;
inline constexpr std::uint16_t BLANK = 0x0201;
inline constexpr std::uint16_t NUMBER = 0x0203;
inline constexpr std::uint16_t LABEL = 0x0204;
inline constexpr std::uint16_t BOOLERR = 0x0205;
inline constexpr std::uint16_t STRING = 0x0207;
inline constexpr std::uint16_t ROW = 0x0208;
inline constexpr std::uint16_t DEFAULTROWHEIGHT = 0x0225;
inline constexpr std::uint16_t WINDOW2 = 0x023E;
inline constexpr std::uint16_t RK = 0x027E;
inline constexpr std::uint16_t STYLE = 0x0293;
inline constexpr std::uint16_t FORMAT = 0x041E;
inline constexpr std::uint16_t BOF = 0x0809;
}  // namespace rec

// Fields and option bits of the records, named after the fields they fill.

namespace bof {
inline constexpr std::uint16_t kBuild = 0x0DBB;
inline constexpr std::uint16_t kYear = 0x07CC;
inline constexpr std::uint32_t kLowestBiffVersion = 0x0006;  // BIFF8
}  // namespace bof

namespace window1 {
inline constexpr std::uint16_t kHorizontalScroll = 0x0008;
inline constexpr std::uint16_t kVerticalScroll = 0x0010;
inline constexpr std::uint16_t kTabsShown = 0x0020;
}  // namespace window1

namespace wsbool {
inline constexpr std::uint16_t kShowAutoBreaks = 0x0001;
inline constexpr std::uint16_t kOutlineBelow = 0x0040;
inline constexpr std::uint16_t kOutlineRight = 0x0080;
inline constexpr std::uint16_t kFitToPage = 0x0100;
inline constexpr std::uint16_t kOutlineSymbols = 0x0400;
}  // namespace wsbool

namespace colinfo {
inline constexpr std::uint16_t kHidden = 0x0001;
inline constexpr std::uint16_t kUserSet = 0x0002;  // the width was set, not left standard
}  // namespace colinfo

namespace row {
inline constexpr std::uint32_t kHidden = 0x0020;
inline constexpr std::uint32_t kUnsynced = 0x0040;  // the height was set by hand
inline constexpr std::uint32_t kHasFormat = 0x0080;  // the XF in bits 16..27 applies
inline constexpr std::uint32_t kAlwaysSet = 0x0100;
inline constexpr int kXfShift = 16;
inline constexpr std::uint32_t kXfMask = 0x0FFF;
inline constexpr std::uint16_t kHeightMask = 0x7FFF;
}  // namespace row

namespace window2 {
inline constexpr std::uint16_t kGridlines = 0x0002;
inline constexpr std::uint16_t kHeadings = 0x0004;
inline constexpr std::uint16_t kZeros = 0x0010;
inline constexpr std::uint16_t kAutomaticGridColour = 0x0020;
inline constexpr std::uint16_t kOutlineSymbols = 0x0080;
inline constexpr std::uint16_t kSelected = 0x0200;
inline constexpr std::uint16_t kPaged = 0x0400;  // the sheet is the one shown
inline constexpr std::uint32_t kGridColourAutomatic = 0x40;
}  // namespace window2

namespace selection {
inline constexpr std::uint8_t kTopLeftPane = 3;  // the only pane of a sheet without splits
}

namespace setup {
inline constexpr std::uint16_t kPortrait = 0x0002;
inline constexpr std::uint16_t kNoPrinterSettings = 0x0004;  // paper, scale and orientation unset
inline constexpr std::uint16_t kNotes = 0x0020;
inline constexpr std::uint16_t kNotesAtEnd = 0x0200;
inline constexpr std::uint16_t kFirstPage = 1;
inline constexpr std::uint16_t kResolution = 600;
inline constexpr std::uint16_t kCopies = 1;
}  // namespace setup

namespace font {
inline constexpr std::uint16_t kBold = 0x0001;
inline constexpr std::uint16_t kWeightNormal = 400;
inline constexpr std::uint16_t kWeightBold = 700;
inline constexpr std::uint8_t kFamilyDontCare = 0;
inline constexpr std::uint8_t kFamilySwiss = 2;
inline constexpr std::uint16_t kColourAutomatic = 0x7FFF;
}  // namespace font

namespace xf {
inline constexpr std::uint16_t kLocked = 0x0001;
inline constexpr std::uint16_t kStyle = 0x0004;
inline constexpr int kParentShift = 4;
inline constexpr std::uint8_t kWrap = 0x08;
inline constexpr int kVerticalShift = 4;
inline constexpr std::uint8_t kAllAttributesOwn = 0xFC;  // number format, font, alignment, borders, fill, protection
inline constexpr std::uint32_t kLineThin = 1;
inline constexpr std::uint32_t kSolidFill = 1u << 26;
inline constexpr std::uint16_t kColourAutomatic = 0x40;            // window text: borders, pattern
inline constexpr std::uint16_t kBackgroundAutomatic = 0x41 << 7;  // window background behind a pattern
}  // namespace xf

inline constexpr std::size_t kMaxRecordData = 8224;  // longer data goes on in CONTINUE records
inline constexpr std::uint16_t kBiff8 = 0x0600;
inline constexpr std::uint16_t kSubstreamGlobals = 0x0005;
inline constexpr std::uint16_t kSubstreamWorksheet = 0x0010;

// XF indexes: 0..14 are the built-in style XFs, 15 the default cell XF; ours follow.
inline constexpr std::uint16_t kDefaultCellXf = 15;
inline constexpr std::uint16_t kFirstCustomXf = 16;
inline constexpr std::size_t kMaxXfCount = 4050;

// Font index 4 is never used; the first custom font is 5.
inline constexpr std::uint16_t kFirstCustomFont = 5;

// A row of the default font (Arial 10) is 12.75 pt high.
inline constexpr std::uint16_t kDefaultRowHeightTwips = 255;

}  // namespace sheet::xls
