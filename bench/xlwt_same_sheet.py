#!/usr/bin/python3
"""The yardstick for the workbook writer: the same sheet written by xlwt, a long-lived Python .xls
writer, with its time and its file's size.

    xlwt_same_sheet.py WORKBOOK.xls OUT.xls

Reads the first sheet of WORKBOOK.xls with xlrd (values, fonts, fills, borders, alignment, number
formats, merged areas, column widths, row heights, page setup), then writes the same sheet with
xlwt to OUT.xls and prints how long the writing took (building the sheet and saving it; the
reading is not counted) and the size of the file. Needs Debian's python3-xlrd and python3-xlwt.
"""
import os
import sys
import time

import xlrd
import xlwt


def style_of(book, xf_index, cache):
    if xf_index in cache:
        return cache[xf_index]
    xf = book.xf_list[xf_index]
    font = book.font_list[xf.font_index]
    style = xlwt.XFStyle()
    style.font.name = font.name
    style.font.height = font.height
    style.font.bold = font.bold
    style.font.colour_index = font.colour_index
    fmt = book.format_map.get(xf.format_key)
    style.num_format_str = fmt.format_str if fmt else "General"
    style.alignment.horz = xf.alignment.hor_align
    style.alignment.vert = xf.alignment.vert_align
    style.alignment.wrap = xf.alignment.text_wrapped
    if xf.background.fill_pattern:
        style.pattern.pattern = xlwt.Pattern.SOLID_PATTERN
        style.pattern.pattern_fore_colour = xf.background.pattern_colour_index
    b = xf.border
    style.borders.left, style.borders.right = b.left_line_style, b.right_line_style
    style.borders.top, style.borders.bottom = b.top_line_style, b.bottom_line_style
    style.borders.left_colour, style.borders.right_colour = b.left_colour_index, b.right_colour_index
    style.borders.top_colour, style.borders.bottom_colour = b.top_colour_index, b.bottom_colour_index
    cache[xf_index] = style
    return style


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    source = xlrd.open_workbook(sys.argv[1], formatting_info=True)
    sheet = source.sheet_by_index(0)
    cells = []
    for r in range(sheet.nrows):
        for c in range(sheet.row_len(r)):
            cell = sheet.cell(r, c)
            cells.append((r, c, cell.ctype, cell.value, cell.xf_index))
    merged = [m for m in sheet.merged_cells]
    merged_anchor = {(m[0], m[2]): m for m in merged}
    merged_inside = {(r, c) for (r0, r1, c0, c1) in merged for r in range(r0, r1) for c in range(c0, c1)}

    started = time.perf_counter()
    book = xlwt.Workbook(encoding="utf-8")
    out = book.add_sheet(sheet.name, cell_overwrite_ok=True)
    cache = {}
    for r, c, ctype, value, xf_index in cells:
        if (r, c) in merged_inside and (r, c) not in merged_anchor:
            continue
        style = style_of(source, xf_index, cache)
        written = value if ctype in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_NUMBER) else ""
        if (r, c) in merged_anchor:
            r0, r1, c0, c1 = merged_anchor[(r, c)]
            out.write_merge(r0, r1 - 1, c0, c1 - 1, written, style)
        elif ctype == xlrd.XL_CELL_BLANK or ctype == xlrd.XL_CELL_EMPTY:
            out.write(r, c, style=style)
        else:
            out.write(r, c, written, style)
    for c, info in sheet.colinfo_map.items():
        out.col(c).width = info.width
    for r, info in sheet.rowinfo_map.items():
        row = out.row(r)
        row.height = info.height
        row.height_mismatch = True
    out.landscape = True
    out.paper_size_code = 9
    out.fit_num_pages = 1
    out.fit_width_to_pages = 1
    out.fit_height_to_pages = 1
    book.save(sys.argv[2])
    elapsed = time.perf_counter() - started
    print("xlwt: %.2f s, %d bytes" % (elapsed, os.path.getsize(sys.argv[2])))


if __name__ == "__main__":
    main()
