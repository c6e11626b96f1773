#!/usr/bin/python3
# Prints, as JSON, what Python's xlrd reads from a workbook with formatting: sheet names, merged
# areas, column widths, row heights and every cell with its value, number format, font, alignment,
# wrap, fill and borders. Anything xlrd logs (warnings included) goes into "log".
import io
import json
import sys

import xlrd

log = io.StringIO()
book = xlrd.open_workbook(sys.argv[1], formatting_info=True, logfile=log, verbosity=0)
out = {"log": log.getvalue(), "sheets": []}
for sheet in book.sheets():
    s = {
        "name": sheet.name,
        "merged": [list(m) for m in sheet.merged_cells],
        "widths": {str(c): info.width for c, info in sheet.colinfo_map.items()},
        "heights": {str(r): [info.height, info.height_mismatch] for r, info in sheet.rowinfo_map.items()},
        "cells": {},
    }
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            b = xf.border
            s["cells"]["%d,%d" % (r, c)] = {
                "type": cell.ctype,
                "value": cell.value,
                "format": book.format_map[xf.format_key].format_str,
                "font": [font.name, font.height, font.bold, font.weight, font.colour_index],
                "align": [xf.alignment.hor_align, xf.alignment.vert_align, xf.alignment.text_wrapped],
                "fill": [xf.background.fill_pattern, xf.background.pattern_colour_index],
                "borders": [[b.left_line_style, b.left_colour_index], [b.top_line_style, b.top_colour_index],
                            [b.bottom_line_style, b.bottom_colour_index], [b.right_line_style, b.right_colour_index]],
            }
    out["sheets"].append(s)
json.dump(out, sys.stdout)
