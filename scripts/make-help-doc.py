#!/usr/bin/python3
"""Writes resources/help.doc, the Chinese user guide opened from the help
menu.  The document is RTF (which every word processor opens under the .doc
name); Chinese characters are written as \\uN escapes so that the file is
plain ASCII and independent of any code page.

Usage: scripts/make-help-doc.py [output]
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUTPUT = os.path.join(HERE, "..", "resources", "help.doc")

TITLE = "Quillon双层PDF批量转换系统 8.1 使用说明"

# (heading, [paragraphs]); a paragraph starting with "- " is a list item.
SECTIONS = [
    ("一、软件用途", [
        "本软件用于批量处理扫描得到的文档图像（TIFF、JPEG 文件）。在主窗口中选择待转换目录和转换后目录，"
        "选定一种转换方式，然后开始转换。程序遍历待转换目录，找出尚未转换的目录或文件，逐一处理，"
        "并在转换后目录下按原有的目录结构保存结果。",
        "已经有转换结果的目录或文件会自动跳过，因此可以反复执行转换，每次只处理新增的扫描图像。",
    ]),
    ("二、主窗口", [
        "- 待转换目录、转换后目录：可以直接输入，也可以点击“浏览”选择。右侧的文件夹按钮用文件管理器打开该目录。"
        "转换后目录不存在时，转换时会自动创建。",
        "- 转换方式：六种方式中选择一种。每种方式旁边的齿轮图标打开该方式的设置，也可以通过“设置”菜单打开。",
        "- 转换预览：只搜索并列出待转换的内容，不做转换。“总共”显示找到的数量。",
        "- 立即转换：按所选方式开始转换。列表中显示每一项的页数和状态，“已转”显示已成功完成的数量。",
        "- 取消转换：转换进行时显示。点击它或按 Esc 键，程序在当前项目完成后停止。"
        "转换进行时关闭窗口，程序同样在当前项目完成后结束。",
        "- 转换日志：查看每天的成功清单和失败清单。",
    ]),
    ("三、六种转换方式", [
        "1. 单页合并：把每个末级目录中的单页图像合并为一个多页 TIF 文件。在“单页合并设置”中选择参与合并的图像类型"
        "（TIF、JPG），还可以用分件数据表把一个目录中的页面分成多份文件。",
        "2. 多页拆分：把多页图像文件拆分为每页一个文件。在“多页拆分设置”中设定输出格式和文件命名规则"
        "（前缀、起始编号、编号长度、是否补零）。",
        "3. 单层PDF：把图像转换为只含图像的 PDF 文件。可以按目录转换（一个目录生成一个 PDF），"
        "也可以按文件转换（一个图像文件生成一个 PDF）。",
        "4. 双层PDF：对图像进行文字识别（OCR），生成带有隐藏文字层的 PDF 文件，可以在 PDF 中搜索和复制文字。"
        "同样可以按目录或按文件转换。",
        "5. Word文档：通过文字识别把图像转换为 Word（.doc、.docx）或 RTF 文档，按目录或按文件转换。",
        "6. 批量更名：按编号规则为每个末级目录中的图像文件重新命名，结果保存到转换后目录，原文件保持不变。",
    ]),
    ("四、图像压缩设置", [
        "“设置”菜单中的“图像压缩设置”决定保存 TIF 和 JPG 图像时使用的压缩方式和图像质量，"
        "适用于所有写出图像的转换方式。",
    ]),
    ("五、定时转换", [
        "- 选择“定时转换”，并在小时和分钟列表中选定时间：程序每天在该时间自动执行一次转换。",
        "- 选择“自动扫描”，并在“隔 … 分钟自动扫描”中填写间隔分钟数：程序每隔该时间自动执行一次转换。",
        "- 选好后点击下方的“定时转换”按钮确认。设置保存在配置文件中，程序重新启动后继续有效。",
        "- 程序会在登录系统时自动启动，所以定时转换无需人工干预。",
    ]),
    ("六、转换日志与出错处理", [
        "- 每次转换的结果记录在程序目录下的 Logs 目录中，文件名为“年月日-成功.txt”和“年月日-失败.txt”，"
        "例如 2026年03月07日-成功.txt。同一天的多次转换追加到同一对文件中。",
        "- 某一项转换失败时，整个转换不会中断。失败的原图像会复制或移动到转换后目录下的 Error 目录中，"
        "并保持原有的目录结构，检查后可以重新转换。",
    ]),
    ("七、配置文件", [
        "全部设置保存在程序目录下的 ZELK.conf 文件中。若该文件丢失，程序提示“配置文件已被破坏，请联系软件开发商！”后退出。",
    ]),
]


def rtf_text(text):
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif code < 128:
            out.append(ch)
        else:
            if code > 0xFFFF:
                raise ValueError("characters outside the basic plane are not used")
            signed = code - 0x10000 if code > 0x7FFF else code
            out.append("\\u%d\\'3f" % signed)
    return "".join(out)


def build():
    lines = [
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1",
        "{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}{\\f1\\fnil\\fcharset134 SimHei;}}",
        "\\paperw11906\\paperh16838\\margl1800\\margr1800\\margt1440\\margb1440",
        "\\pard\\qc\\sb240\\sa360\\f1\\fs36\\b %s\\b0\\par" % rtf_text(TITLE),
    ]
    for heading, paragraphs in SECTIONS:
        lines.append("\\pard\\sb240\\sa120\\f1\\fs28\\b %s\\b0\\par" % rtf_text(heading))
        for paragraph in paragraphs:
            if paragraph.startswith("- "):
                lines.append("\\pard\\fi-280\\li560\\sa80\\f0\\fs22 \\bullet  %s\\par"
                             % rtf_text(paragraph[2:]))
            else:
                lines.append("\\pard\\fi440\\sa80\\f0\\fs22 %s\\par" % rtf_text(paragraph))
    lines.append("}")
    return "\r\n".join(lines) + "\r\n"


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUTPUT
    with open(output, "w", encoding="ascii", newline="") as f:
        f.write(build())


if __name__ == "__main__":
    main()
