#!/usr/bin/python3
"""Writes resources/template.xls, the grouping workbook template shipped
beside the program.

The program reads columns A to C of the first worksheet, from row 1 down to
the row before the first empty cell in column A:
  A  a directory key: the directory's path components joined by "-"
     (2001-1 names the directories ...\\2001\\1 and .../2001/1)
  B  the name of the output document
  C  when the header cell C1 is "页号": the first page of the document;
     with any other header (for example "页数"): its number of pages.
The first sheet shows the first-page mode, the second sheet the page-count
mode; both split an 8-page directory 2001/1 into A (pages 1-4) and B (5-8).
Notes go to column E, which the program never reads.

Needs python3-xlwt (Debian).  Usage: scripts/make-template-xls.py [output]
"""
import os
import sys

import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUTPUT = os.path.join(HERE, "..", "resources", "template.xls")

NOTES = [
    "说明：程序只读取第一个工作表的A至C列，从第1行读到A列第一个空单元格之前。",
    "A列：目录关键字，即目录路径中的各级目录名用“-”连接，例如2001-1对应目录…\\2001\\1。",
    "B列：分件后输出的文件名。",
    "C列：标题为“页号”时填写每一件的起始页号；标题为其他文字（如“页数”）时填写每一件的页数。",
    "本表按起始页号分件；第二个工作表是按页数分件的同一示例。",
]


def write_sheet(book, name, header, rows, notes):
    sheet = book.add_sheet(name)
    bold = xlwt.easyxf("font: bold on")
    for col, text in enumerate(header):
        sheet.write(0, col, text, bold)
    for r, (key, title, pages) in enumerate(rows, start=1):
        sheet.write(r, 0, key)
        sheet.write(r, 1, title)
        sheet.write(r, 2, pages)
    for r, text in enumerate(notes):
        sheet.write(r, 4, text)
    sheet.col(0).width = 256 * 14
    sheet.col(1).width = 256 * 14
    sheet.col(2).width = 256 * 10
    sheet.col(4).width = 256 * 90


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUTPUT
    book = xlwt.Workbook(encoding="utf-8")
    write_sheet(book, "分件数据", ["目录关键字", "文件名", "页号"],
                [("2001-1", "A", 1), ("2001-1", "B", 5)], NOTES)
    write_sheet(book, "按页数分件示例", ["目录关键字", "文件名", "页数"],
                [("2001-1", "A", 4), ("2001-1", "B", 4)],
                ["C列标题不是“页号”时，C列是每一件的页数。"])
    book.save(output)


if __name__ == "__main__":
    main()
