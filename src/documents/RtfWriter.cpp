// The RTF writer: one RTF section per document section (a continuous one
// where the section goes on on the same page), flowing paragraphs
// as plain paragraphs, a table grid as table rows.  Non-ASCII text goes as Unicode escapes, so the file is plain
// ASCII and reads the same under any code page.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "documents/RtfWriterObjects.h"
#include "documents/RtfWriterText.h"
#include "documents/WordWriters.h"
#include "documents/WordWriterSupport.h"
#include "platform/ErrorKind.h"

namespace zelk {
namespace {

// The colours the document uses, numbered from 1 (entry 0 is the reader's
// automatic colour).
class ColourTable {
 public:
  explicit ColourTable(const WordDocument& document) {
    for (const WordSection& section : document.sections) {
      for (const WordGridRow& row : section.grid.rows) {
        if (row.table) AddTable(*row.table);
        for (const WordCell& cell : row.cells) {
          if (cell.hasBackground) Add(cell.background);
          AddParagraphs(cell.paragraphs);
        }
      }
      AddParagraphs(section.paragraphs);
    }
  }

  int IndexOf(Rgb colour) const {
    for (std::size_t i = 0; i < colours_.size(); ++i) {
      if (colours_[i] == colour) return static_cast<int>(i) + 1;
    }
    return 0;
  }

  std::string Rtf() const {
    std::string out = "{\\colortbl;";
    for (const Rgb& colour : colours_) {
      out += "\\red" + std::to_string(colour.red) + "\\green" + std::to_string(colour.green) +
             "\\blue" + std::to_string(colour.blue) + ";";
    }
    return out + "}\n";
  }

 private:
  void Add(Rgb colour) {
    if (IndexOf(colour) == 0) colours_.push_back(colour);
  }
  void AddTable(const WordTable& table) {
    for (const WordTableCell& cell : table.cells) AddParagraphs(cell.paragraphs);
  }
  void AddParagraphs(const std::vector<WordParagraph>& paragraphs) {
    for (const WordParagraph& paragraph : paragraphs) {
      if (paragraph.table) AddTable(*paragraph.table);
      if (paragraph.hasShading) Add(paragraph.shading);
      for (const WordRun& run : paragraph.runs) Add(run.color);
    }
  }

  std::vector<Rgb> colours_;
};

std::string Number(int value) { return std::to_string(value); }

std::string FontTable() {
  // SimSun under its Latin name, which fontconfig resolves to a face of its
  // metrics where Windows has the font itself (DocxWriterParts.cpp); 宋体,
  // its Chinese name in the font's code page (GBK), as the alternative.
  return "{\\fonttbl"
         "{\\f" + Number(kRtfLatinFont) + "\\froman\\fcharset0\\fprq2 Times New Roman;}"
         "{\\f" + Number(kRtfEastAsianFont) + "\\fnil\\fcharset134\\fprq2 "
         "SimSun{\\*\\falt \\'cb\\'ce\\'cc\\'e5};}}\n";
}

// `continuous`: the section goes on below the one before on its page.
std::string SectionProperties(const WordSection& section, bool continuous) {
  const PageGeometry page = PageGeometryOf(section);
  std::string out = std::string(continuous ? "\\sectd\\sbknone" : "\\sectd\\sbkpage") +
                    "\\pgwsxn" + Number(page.width) + "\\pghsxn" +
                    Number(page.height) + "\\marglsxn" + Number(page.marginLeft) + "\\margrsxn" +
                    Number(page.marginRight) + "\\margtsxn" + Number(page.marginTop) +
                    "\\margbsxn" + Number(page.marginBottom);
  if (page.width > page.height) out += "\\lndscpsxn";
  if (section.verticalText) out += "\\stextflow1";  // top to bottom, right to left
  if (page.columns > 1) {
    out += "\\cols" + Number(page.columns) + "\\colsx" + Number(page.columnGap);
  }
  for (std::size_t i = 0; i < page.columnWidths.size(); ++i) {
    const ColumnGeometry& column = page.columnWidths[i];
    out += "\\colno" + Number(static_cast<int>(i) + 1) + "\\colw" + Number(column.width);
    if (column.gapAfter > 0) out += "\\colsr" + Number(column.gapAfter);
  }
  return out + "\n";
}

// The document-wide page, taken from the first section, for readers that
// look at it before the section properties.
std::string DocumentPage(const WordDocument& document) {
  const PageGeometry page =
      PageGeometryOf(document.sections.empty() ? WordSection{} : document.sections.front());
  return "\\paperw" + Number(page.width) + "\\paperh" + Number(page.height) + "\\margl" +
         Number(page.marginLeft) + "\\margr" + Number(page.marginRight) + "\\margt" +
         Number(page.marginTop) + "\\margb" + Number(page.marginBottom) + "\n";
}

std::string Alignment(WordAlignment alignment) {
  switch (alignment) {
    case WordAlignment::Center: return "\\qc";
    case WordAlignment::Right: return "\\qr";
    case WordAlignment::Justify: return "\\qj";
    case WordAlignment::Left: break;
  }
  return "\\ql";
}

// Shading with pattern and background in the same colour: readers that
// apply the pattern percentage and readers that take the background alone
// both show the colour.
std::string Shading(int colourIndex) {
  return "\\cbpat" + Number(colourIndex) + "\\cfpat" + Number(colourIndex) + "\\shading10000";
}

class RtfBuilder {
 public:
  explicit RtfBuilder(const WordDocument& document)
      : document_(document),
        colours_(document),
        defaultSize_(HalfPoints(document.defaultFontSize, 10.5)) {}

  std::string Build() {
    out_ = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff" + Number(kRtfLatinFont) + "\\stshfdbch" +
           Number(kRtfEastAsianFont) + "\\stshfloch" + Number(kRtfLatinFont) + "\\stshfhich" +
           Number(kRtfLatinFont) + "\\deflang1033\\deflangfe2052\n";
    out_ += FontTable();
    out_ += colours_.Rtf();
    out_ += DocumentPage(document_);
    if (document_.sections.empty()) {
      out_ += SectionProperties(WordSection{}, false);
      EmptyParagraph();
    }
    for (std::size_t i = 0; i < document_.sections.size(); ++i) {
      if (i > 0) out_ += "\\sect\n";
      Section(document_.sections[i], i > 0 && document_.sections[i].continuesPage);
    }
    out_ += "}\n";
    return std::move(out_);
  }

 private:
  // A section always ends in a flowing paragraph.
  void Section(const WordSection& section, bool continuous) {
    out_ += SectionProperties(section, continuous);
    // A table right after a section break is read by LibreOffice as part
    // of the section before, its first row printed on the page before; a
    // hairline paragraph opens the section instead.
    if (!section.grid.rows.empty() || (!section.paragraphs.empty() && section.paragraphs.front().table)) {
      out_ += "\\pard\\plain" + Hairline() + "\\par\n";
    }
    for (std::size_t i = 0; i < section.grid.rows.size(); ++i) {
      GridRow(section.grid, section.grid.rows[i], i > 0 && !section.grid.rows[i - 1].table);
    }
    for (const WordParagraph& paragraph : section.paragraphs) Paragraph(paragraph, "");
    if (!section.paragraphs.empty()) return;
    // After a grid, a paragraph that takes next to no room (as in the DOCX
    // writer).
    if (section.grid.rows.empty()) {
      EmptyParagraph();
    } else {
      out_ += "\\pard\\plain" + Hairline() + "\\par\n";
    }
  }

  void EmptyParagraph() { out_ += "\\pard\\plain\\fs" + Number(defaultSize_) + "\\par\n"; }

  static std::string Hairline() {
    return "\\sl-" + Number(kColumnBreakLineTwips) + "\\slmult0\\fs" + Number(kColumnBreakHalfPoints) + " ";
  }

  // A row of the grid: a borderless table row at the left margin, its
  // cells without padding, ending where the grid's columns put them, and
  // at least as high as the row.
  void GridRow(const WordGrid& grid, const WordGridRow& row, bool afterGridRow) {
    if (row.table) {
      // The ruled table between the grid's rows, the space under it kept.
      // Rows that follow each other are one table: a hairline paragraph
      // parts the grid's rows above from the table.
      int below = Twips(row.height - row.table->Height());
      if (afterGridRow) {
        out_ += "\\pard\\plain" + Hairline() + "\\par\n";
        below -= kColumnBreakLineTwips;
      }
      RuledTable(*row.table);
      out_ += "\\pard\\plain\\sl-" + Number(std::max(below, kColumnBreakLineTwips)) +
              "\\slmult0\\fs" + Number(kColumnBreakHalfPoints) + " \\par\n";
      return;
    }
    out_ += "\\trowd\\trgaph0\\trleft0\\trrh" + Number(Twips(row.height)) +
            "\\trpaddl0\\trpaddr0\\trpaddt0\\trpaddb0\\trpaddfl3\\trpaddfr3\\trpaddft3\\trpaddfb3";
    double end = 0;
    std::size_t column = 0;
    for (const WordCell& cell : row.cells) {
      for (int i = 0; i < cell.span && column < grid.columns.size(); ++i) end += grid.columns[column++];
      if (cell.hasBackground) out_ += "\\clcbpat" + Number(colours_.IndexOf(cell.background));
      out_ += "\\cellx" + Number(Twips(end));
    }
    out_ += "\n";
    for (const WordCell& cell : row.cells) {
      for (std::size_t i = 0; i < cell.paragraphs.size(); ++i) {
        Paragraph(cell.paragraphs[i], "\\intbl", i + 1 == cell.paragraphs.size() ? "\\cell" : "\\par");
      }
      if (cell.paragraphs.empty()) out_ += "\\pard\\plain\\intbl" + Hairline() + "\\cell\n";
    }
    out_ += "\\row\n";
  }

  // The ruled table's rows, each cell's paragraphs in the cell where it
  // starts, and a hairline paragraph after it.
  void RuledTable(const WordTable& table) {
    const int columns = static_cast<int>(table.columns.size());
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
      const int row = static_cast<int>(r);
      out_ += RtfRuledRow(table, row);
      for (int column = 0; column < columns;) {
        const WordTableCell* cell = table.Covering(row, column);
        const bool starts = cell && cell->row == row && !cell->paragraphs.empty();
        for (std::size_t i = 0; starts && i < cell->paragraphs.size(); ++i) {
          Paragraph(cell->paragraphs[i], "\\intbl", i + 1 == cell->paragraphs.size() ? "\\cell" : "\\par");
        }
        if (!starts) out_ += "\\pard\\plain\\intbl" + Hairline() + "\\cell\n";
        column += cell ? std::max(1, std::min(cell->columnSpan, columns - column)) : 1;
      }
      out_ += "\\row\n";
    }
    out_ += "\\pard\\plain" + Hairline() + "\\par\n";
  }

  // A column break in a paragraph of its own before the paragraph that
  // starts the next column, as in the DOCX writer.
  void ColumnBreak() {
    out_ += "\\pard\\plain\\sl-" + Number(kColumnBreakLineTwips) + "\\slmult0\\fs" +
            Number(kColumnBreakHalfPoints) + " \\column\\par\n";
  }

  // `place`: the mark of a paragraph in a table; `ending`: what closes it
  // (the end of a cell for a cell's last one).
  void Paragraph(const WordParagraph& paragraph, const std::string& place,
                 const std::string& ending = "\\par") {
    if (paragraph.columnBreakBefore && place.empty()) ColumnBreak();
    if (paragraph.table) {
      RuledTable(*paragraph.table);
      return;
    }
    out_ += "\\pard\\plain" + place + Alignment(paragraph.alignment);
    const ParagraphIndents indents = IndentsOf(paragraph);
    if (indents.left != 0) out_ += "\\li" + Number(indents.left);
    if (indents.right != 0) out_ += "\\ri" + Number(indents.right);
    if (indents.firstLine != 0) out_ += "\\fi" + Number(indents.firstLine);
    const int before = Twips(paragraph.spaceBefore);
    if (before > 0) out_ += "\\sb" + Number(before);
    const int after = Twips(paragraph.spaceAfter);
    if (after > 0) out_ += "\\sa" + Number(after);
    const int pitch = Twips(paragraph.lineHeight);
    if (pitch > 0) out_ += "\\sl-" + Number(pitch) + "\\slmult0";
    if (paragraph.hasShading) out_ += Shading(colours_.IndexOf(paragraph.shading));
    out_ += "\\fs" + Number(defaultSize_) + " ";
    if (paragraph.picture) out_ += RtfPicture(*paragraph.picture);
    for (const WordRun& run : paragraph.runs) {
      out_ += "{\\fs" + Number(HalfPoints(run.fontSize, document_.defaultFontSize)) + "\\cf" +
              Number(colours_.IndexOf(run.color)) + " " + RunText(run.text) + "}";
    }
    out_ += ending + "\n";
  }

  // Tabs (between the cells of a table row in plain text) as \tab.
  static std::string RunText(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t tab = text.find('\t');; tab = text.find('\t', start)) {
      out += RtfRunText(std::string_view(text).substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      out += "\\tab ";
      start = tab + 1;
    }
    return out;
  }

  const WordDocument& document_;
  ColourTable colours_;
  int defaultSize_;
  std::string out_;
};

}  // namespace

void WriteRtfDocument(const WordDocument& document, const std::string& path) {
  const std::string text = RtfBuilder(document).Build();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    throw KindedError(ErrorKindOfErrno(errno, ErrorKind::WriteFailed), path,
                      std::string("cannot write the RTF document: ") + std::strerror(errno));
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    const int number = errno;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    throw KindedError(ErrorKindOfErrno(number, ErrorKind::WriteFailed), path,
                      std::string("cannot write the RTF document: ") + std::strerror(number));
  }
}

}  // namespace zelk
