#!/usr/bin/python3
"""Writes the grouping workbooks the tests read, into tests/jobs/fixtures/.

The generated files are committed, so the tests never need Python.  Rerun
this script after changing it and commit its output together with it.

  grouping-table.xls / .xlsx   the same rows in both formats: text, whole and
                               fractional numbers, empty cells, a column D
                               that is never read, an empty A that ends the
                               table, filled rows below it, a second sheet
  grouping-crafted.xlsx        written by hand: the first sheet in workbook
                               order is not the first sheet file, prefixed
                               element names, inline and rich-text strings,
                               cells without references, a cached formula
                               value, a boolean
  grouping-empty.xls / .xlsx   A1 empty (only B1 filled): no row at all
  grouping-mode1.xls / .xlsx   header "页号"; 2001-1 split at pages 1, 4, 6
  grouping-mode2.xls / .xlsx   header "页数"; 2001.1 split into 4 and 4 pages
  grouping-unsafe-name.xlsx    an output name "../x"
  grouping-damaged.xls         grouping-table.xls with the length of a cell
                               record made too large: FreeXL 1.0.6 crashes
                               on it, which must fail the load and nothing else

Needs python3-xlwt and python3-openpyxl (Debian).
Usage: scripts/make-grouping-fixtures.py [output directory]
"""
import datetime
import os
import sys
import zipfile

import openpyxl
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUTPUT = os.path.join(HERE, "..", "tests", "jobs", "fixtures")
FIXED_TIME = datetime.datetime(2024, 1, 1)

# Rows of the first sheet; None leaves the cell empty.
TABLE_ROWS = [
    ["目录", "文件名", "页号", "备注"],
    ["2001-1", "甲", 1, "not read"],
    [2001.1, "B", 12],
    ["x", None, 1.5],
    ["key only", None, None],
    [None, "ignored", 3],
    ["after the gap", "Z", 9],
]
OTHER_SHEET_ROWS = [["second sheet", "never", "read"]]
EMPTY_ROWS = [[None, "only B"]]
MODE1_ROWS = [["目录", "文件名", "页号"],
              ["2001-1", "A", 1], ["2001-1", "B", 4], ["2001-1", "C", 6]]
MODE2_ROWS = [["目录", "文件名", "页数"],
              ["2001.1", "A", 4], ["2001.1", "B", 4]]
UNSAFE_ROWS = [["目录", "文件名", "页号"], ["2001-1", "../x", 1]]


def write_xls(path, sheets):
    book = xlwt.Workbook(encoding="utf-8")
    for name, rows in sheets:
        sheet = book.add_sheet(name)
        for r, row in enumerate(rows):
            for c, value in enumerate(row):
                if value is not None:
                    sheet.write(r, c, value)
    book.save(path)


def write_xlsx(path, sheets):
    book = openpyxl.Workbook()
    book.remove(book.active)
    book.properties.created = FIXED_TIME
    book.properties.modified = FIXED_TIME
    for name, rows in sheets:
        sheet = book.create_sheet(name)
        for r, row in enumerate(rows, start=1):
            for c, value in enumerate(row, start=1):
                if value is not None:
                    sheet.cell(row=r, column=c, value=value)
    book.save(path)
    fix_zip_times(path)


def fix_zip_times(path):
    """Rewrites a zip with fixed entry times, so that a rerun gives the
    same bytes."""
    with zipfile.ZipFile(path) as archive:
        parts = [(info.filename, archive.read(info)) for info in archive.infolist()]
    write_zip(path, parts)


def write_zip(path, parts):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in parts:
            info = zipfile.ZipInfo(name, date_time=FIXED_TIME.timetuple()[:6])
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data)


def write_both(directory, stem, sheets):
    write_xls(os.path.join(directory, stem + ".xls"), sheets)
    write_xlsx(os.path.join(directory, stem + ".xlsx"), sheets)


MAIN_NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL_NS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL_NS = "http://schemas.openxmlformats.org/package/2006/relationships"

CRAFTED_PARTS = {
    "[Content_Types].xml": """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/worksheets/data.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/strings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>
</Types>""",
    "_rels/.rels": f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="{PKG_REL_NS}">
<Relationship Id="rId1" Type="{REL_NS}/officeDocument" Target="xl/workbook.xml"/>
</Relationships>""",
    "xl/workbook.xml": f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="{MAIN_NS}" xmlns:r="{REL_NS}">
<sheets>
<sheet name="数据" sheetId="2" r:id="rId7"/>
<sheet name="Other" sheetId="1" r:id="rId1"/>
</sheets>
</workbook>""",
    "xl/_rels/workbook.xml.rels": f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="{PKG_REL_NS}">
<Relationship Id="rId1" Type="{REL_NS}/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId3" Type="{REL_NS}/sharedStrings" Target="strings.xml"/>
<Relationship Id="rId7" Type="{REL_NS}/worksheet" Target="/xl/worksheets/data.xml"/>
</Relationships>""",
    "xl/strings.xml": f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<sst xmlns="{MAIN_NS}" count="4" uniqueCount="4">
<si><r><t>Na</t></r><r><rPr><b/></rPr><t>me</t></r><rPh sb="0" eb="1"><t>ignored</t></rPh></si>
<si><t>页号</t></si>
<si><t>A</t></si>
<si><t xml:space="preserve"> lead</t></si>
</sst>""",
    "xl/worksheets/sheet1.xml": f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="{MAIN_NS}"><sheetData>
<row r="1"><c r="A1" t="inlineStr"><is><t>wrong sheet</t></is></c></row>
</sheetData></worksheet>""",
    "xl/worksheets/data.xml": f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<x:worksheet xmlns:x="{MAIN_NS}"><x:sheetData>
<x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t>Key</x:t></x:is></x:c><x:c r="B1" t="s"><x:v>0</x:v></x:c><x:c r="C1" t="s"><x:v>1</x:v></x:c></x:row>
<x:row r="2"><x:c t="inlineStr"><x:is><x:t>2001-1</x:t></x:is></x:c><x:c t="s"><x:v>2</x:v></x:c><x:c><x:v>1</x:v></x:c><x:c><x:v>99</x:v></x:c><x:c r="AA2" t="inlineStr"><x:is><x:t>far right</x:t></x:is></x:c></x:row>
<x:row><x:c r="A3" t="str"><x:f>TEXT(2001.1,"0.0")</x:f><x:v>2001.1</x:v></x:c><x:c r="B3" t="b"><x:v>1</x:v></x:c><x:c r="C3"><x:v>4.0000000000000009</x:v></x:c></x:row>
<x:row r="4"><x:c r="A4" t="s"><x:v>3</x:v></x:c><x:c r="B4" t="inlineStr"><x:is><x:r><x:t>x&amp;</x:t></x:r><x:r><x:t>y_x000D_z</x:t></x:r></x:is></x:c></x:row>
<x:row r="6"><x:c r="A6" t="inlineStr"><x:is><x:t>below the gap</x:t></x:is></x:c></x:row>
</x:sheetData></x:worksheet>""",
}


def write_crafted_xlsx(path):
    write_zip(path, [(name, text.encode("utf-8")) for name, text in CRAFTED_PARTS.items()])


def write_damaged_xls(source, path):
    data = bytearray(open(source, "rb").read())
    # A LABELSST record (type 0x00FD) of 10 bytes; the second one is made to
    # claim 165 bytes.
    record = b"\xfd\x00\x0a\x00"
    first = data.find(record)
    second = data.find(record, first + 1)
    if first < 0 or second < 0:
        sys.exit("no cell record to damage in " + source)
    data[second + 2] = 0xA5
    with open(path, "wb") as out:
        out.write(data)


def main():
    directory = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUTPUT
    os.makedirs(directory, exist_ok=True)
    write_both(directory, "grouping-table",
               [("分件", TABLE_ROWS), ("其他", OTHER_SHEET_ROWS)])
    write_both(directory, "grouping-empty", [("空", EMPTY_ROWS)])
    write_both(directory, "grouping-mode1", [("分件", MODE1_ROWS)])
    write_both(directory, "grouping-mode2", [("分件", MODE2_ROWS)])
    write_xlsx(os.path.join(directory, "grouping-unsafe-name.xlsx"),
               [("分件", UNSAFE_ROWS)])
    write_crafted_xlsx(os.path.join(directory, "grouping-crafted.xlsx"))
    write_damaged_xls(os.path.join(directory, "grouping-table.xls"),
                      os.path.join(directory, "grouping-damaged.xls"))


if __name__ == "__main__":
    main()
