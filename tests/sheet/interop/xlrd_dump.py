#!/usr/bin/python3
# Prints, as JSON, what Python's xlrd reads from a workbook with formatting: sheet names, merged
# areas, column widths, row heights and every cell with its value, number format, font, alignment,
# wrap, fill and borders. Anything xlrd logs (warnings included) goes into "log".
#
# With --runs the dump is compact enough to keep as test data for a whole schedule: each distinct
# look (format, font, alignment, fill, borders) is listed once under "styles", and each row lists
# runs of equal neighbouring cells as [first column, last column, type, value, style]; cells xlrd
# reports as empty in the default format are left out. Row and column formats are given as styles.
import io
import json
import sys

import xlrd

args = [a for a in sys.argv[1:] if not a.startswith("--")]
runs = "--runs" in sys.argv[1:]

log = io.StringIO()
book = xlrd.open_workbook(args[0], formatting_info=True, logfile=log, verbosity=0)


def look(xf_index):
    xf = book.xf_list[xf_index]
    font = book.font_list[xf.font_index]
    b = xf.border
    return {
        "format": book.format_map[xf.format_key].format_str,
        "font": [font.name, font.height, font.bold, font.weight, font.colour_index],
        "align": [xf.alignment.hor_align, xf.alignment.vert_align, xf.alignment.text_wrapped],
        "fill": [xf.background.fill_pattern, xf.background.pattern_colour_index],
        "borders": [[b.left_line_style, b.left_colour_index], [b.top_line_style, b.top_colour_index],
                    [b.bottom_line_style, b.bottom_colour_index], [b.right_line_style, b.right_colour_index]],
    }


styles = []
style_index = {}


def style_of(xf_index):
    key = json.dumps(look(xf_index), sort_keys=True)
    if key not in style_index:
        style_index[key] = len(styles)
        styles.append(look(xf_index))
    return style_index[key]


def cell_runs(sheet, r):
    out = []
    for c in range(sheet.ncols):
        cell = sheet.cell(r, c)
        if cell.ctype == xlrd.XL_CELL_EMPTY and cell.xf_index in (15, -1):
            continue
        entry = [c, c, cell.ctype, cell.value, style_of(cell.xf_index)]
        last = out[-1] if out else None
        if last and last[1] == c - 1 and last[2:] == entry[2:]:
            last[1] = c
        else:
            out.append(entry)
    return out


out = {"log": log.getvalue(), "sheets": []}
for sheet in book.sheets():
    s = {
        "name": sheet.name,
        "merged": [list(m) for m in sheet.merged_cells],
        "widths": {str(c): info.width for c, info in sheet.colinfo_map.items()},
        "heights": {str(r): [info.height, info.height_mismatch] for r, info in sheet.rowinfo_map.items()},
        "cells": {},
    }
    if runs:
        s["size"] = [sheet.nrows, sheet.ncols]
        s["default_row_height"] = sheet.default_row_height
        s["defcolwidth"] = sheet.defcolwidth
        s["column_styles"] = {str(c): [style_of(info.xf_index), info.hidden]
                              for c, info in sheet.colinfo_map.items()}
        s["row_styles"] = {str(r): [style_of(info.xf_index) if info.has_default_xf_index else None, info.hidden]
                           for r, info in sheet.rowinfo_map.items()}
        s["cells"] = {str(r): cell_runs(sheet, r) for r in range(sheet.nrows)}
    else:
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                s["cells"]["%d,%d" % (r, c)] = dict(type=cell.ctype, value=cell.value, **look(cell.xf_index))
    out["sheets"].append(s)
if runs:
    out["styles"] = styles
json.dump(out, sys.stdout, sort_keys=runs)
