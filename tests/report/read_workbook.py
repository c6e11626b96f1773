#!/usr/bin/python3
"""Reads an .xls workbook with xlrd (formatting_info=True) and prints what a schedule test checks
as JSON: the sheets, and of the active sheet every cell's displayed text, fill, font, borders and
alignment, the merged areas, the column widths and the row heights.

Colour indexes are given as the spreadsheet's ColorIndex (BIFF palette index - 7); automatic
colours as -4105."""
import json
import sys

import xlrd

AUTOMATIC = -4105


def colour_index(icv):
    if icv is None or icv >= 64 or icv < 8:
        return AUTOMATIC
    return icv - 7


def time_text(fraction):
    seconds = int(round(fraction * 86400)) % 86400
    hours, rest = divmod(seconds, 3600)
    minutes, secs = divmod(rest, 60)
    half = "AM" if hours < 12 else "PM"
    hour12 = hours % 12 or 12
    return "%d:%02d:%02d %s" % (hour12, minutes, secs, half)


def shown(book, cell):
    if cell.ctype == xlrd.XL_CELL_TEXT:
        return "text", cell.value
    if cell.ctype == xlrd.XL_CELL_DATE:
        return "time", time_text(cell.value)
    if cell.ctype == xlrd.XL_CELL_NUMBER:
        fmt = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
        if "h" in fmt.lower() and "ss" in fmt.lower():
            return "time", time_text(cell.value)
        value = cell.value
        return "number", str(int(value)) if value == int(value) else repr(value)
    if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
        return "empty", ""
    return "other", str(cell.value)


def borders(xf):
    b = xf.border
    def edge(style, colour):
        return [style, colour_index(colour) if style else None]
    return {
        "left": edge(b.left_line_style, b.left_colour_index),
        "top": edge(b.top_line_style, b.top_colour_index),
        "right": edge(b.right_line_style, b.right_colour_index),
        "bottom": edge(b.bottom_line_style, b.bottom_colour_index),
    }


def main(path):
    book = xlrd.open_workbook(path, formatting_info=True)
    active = [i for i in range(book.nsheets) if book.sheet_by_index(i).sheet_visible]
    sheet = book.sheet_by_index(active[0] if active else 0)
    cells = []
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            kind, text = shown(book, cell)
            fill = colour_index(xf.background.pattern_colour_index) if xf.background.fill_pattern == 1 else None
            cells.append({
                "row": r + 1, "column": c + 1, "kind": kind, "text": text,
                "fill": fill,
                "font": {"name": font.name, "size": font.height / 20.0, "bold": bool(font.bold),
                         "colour": colour_index(font.colour_index)},
                "borders": borders(xf),
                "halign": xf.alignment.hor_align, "valign": xf.alignment.vert_align,
                "wrap": bool(xf.alignment.text_wrapped),
            })
    widths = {}
    for c, info in sheet.colinfo_map.items():
        widths[c + 1] = info.width / 256.0
    heights = {}
    for r, info in sheet.rowinfo_map.items():
        heights[r + 1] = info.height / 20.0
    merged = [[r1 + 1, c1 + 1, r2, c2] for (r1, r2, c1, c2) in sheet.merged_cells]
    print(json.dumps({
        "sheets": book.sheet_names(),
        "active": sheet.name,
        "rows": sheet.nrows, "columns": sheet.ncols,
        "cells": cells,
        "merged": sorted(merged),
        "widths": widths,
        "heights": heights,
        "default_width": sheet.defcolwidth, "standard_width": sheet.standardwidth,
    }))


if __name__ == "__main__":
    main(sys.argv[1])
