// Elements are appended in the order the WordprocessingML schema sets for
// their parents (shd, spacing, ind, jc, sectPr in a paragraph's
// properties; color, sz, szCs in a run's), since Word rejects a document
// whose properties stand out of order.

#include "documents/DocxWriterBody.h"

#include <algorithm>
#include <sstream>

#include <pugixml.hpp>

#include "documents/DocxWriterObjects.h"
#include "documents/WordWriterSupport.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

constexpr const char* kWordNamespace =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kRelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

const char* Justification(WordAlignment alignment) {
  switch (alignment) {
    case WordAlignment::Center: return "center";
    case WordAlignment::Right: return "right";
    case WordAlignment::Justify: return "both";
    case WordAlignment::Left: break;
  }
  return nullptr;  // left is the default
}

void Shading(pugi::xml_node properties, Rgb colour) {
  pugi::xml_node shading = properties.append_child("w:shd");
  Attribute(shading, "w:val", "clear");
  Attribute(shading, "w:color", "auto");
  Attribute(shading, "w:fill", HexColour(colour));
}

// A borderless table at the left margin, its cells without padding, its
// column widths fixed: the grid's cells stand where the page has them.
void GridProperties(pugi::xml_node table, const std::vector<int>& columns) {
  pugi::xml_node properties = table.append_child("w:tblPr");
  int width = 0;
  for (int column : columns) width += column;
  TwipsWidth(properties.append_child("w:tblW"), width);
  TwipsWidth(properties.append_child("w:tblInd"), 0);
  pugi::xml_node borders = properties.append_child("w:tblBorders");
  for (const char* side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"}) {
    Attribute(borders.append_child(side), "w:val", "nil");
  }
  Attribute(properties.append_child("w:tblLayout"), "w:type", "fixed");
  pugi::xml_node margins = properties.append_child("w:tblCellMar");
  for (const char* side : {"w:top", "w:left", "w:bottom", "w:right"}) TwipsWidth(margins.append_child(side), 0);
  pugi::xml_node grid = table.append_child("w:tblGrid");
  for (int column : columns) Attribute(grid.append_child("w:gridCol"), "w:w", column);
}

// `continuous`: the section goes on below the one before on its page.
void SectionProperties(pugi::xml_node parent, const WordSection& section, bool continuous) {
  const PageGeometry page = PageGeometryOf(section);
  pugi::xml_node sectPr = parent.append_child("w:sectPr");
  Attribute(sectPr.append_child("w:type"), "w:val", continuous ? "continuous" : "nextPage");
  pugi::xml_node size = sectPr.append_child("w:pgSz");
  Attribute(size, "w:w", page.width);
  Attribute(size, "w:h", page.height);
  if (page.width > page.height) Attribute(size, "w:orient", "landscape");
  pugi::xml_node margins = sectPr.append_child("w:pgMar");
  Attribute(margins, "w:top", page.marginTop);
  Attribute(margins, "w:right", page.marginRight);
  Attribute(margins, "w:bottom", page.marginBottom);
  Attribute(margins, "w:left", page.marginLeft);
  Attribute(margins, "w:header", std::min(page.marginTop, 720));
  Attribute(margins, "w:footer", std::min(page.marginBottom, 720));
  Attribute(margins, "w:gutter", 0);
  pugi::xml_node columns = sectPr.append_child("w:cols");
  Attribute(columns, "w:num", page.columns);
  Attribute(columns, "w:space", page.columnGap);
  // Comes after the columns in the section's properties.
  if (section.verticalText) Attribute(sectPr.append_child("w:textDirection"), "w:val", "tbRl");
  if (page.columnWidths.empty()) return;
  Attribute(columns, "w:equalWidth", 0);
  for (const ColumnGeometry& each : page.columnWidths) {
    pugi::xml_node column = columns.append_child("w:col");
    Attribute(column, "w:w", each.width);
    if (each.gapAfter > 0) Attribute(column, "w:space", each.gapAfter);
  }
}

class BodyBuilder {
 public:
  BodyBuilder(const WordDocument& document, pugi::xml_node body, std::vector<DocxPart>& media)
      : document_(document), body_(body), media_(media) {}

  void Build() {
    const std::vector<WordSection>& sections = document_.sections;
    if (sections.empty()) {
      body_.append_child("w:p");
      SectionProperties(body_, WordSection{}, false);
      return;
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
      const bool last = i + 1 == sections.size();
      Section(sections[i], i > 0 && sections[i].continuesPage, last);
    }
  }

 private:
  // A section ends in a flowing paragraph which holds the section's
  // properties (the final section's go at the end of the body).  The
  // properties, the break type among them, describe the section that ends
  // there.
  void Section(const WordSection& section, bool continuous, bool last) {
    if (!section.grid.rows.empty()) Grid(section.grid);
    pugi::xml_node closing;
    for (const WordParagraph& paragraph : section.paragraphs) closing = Paragraph(body_, paragraph);
    // After a grid, the paragraph that closes the section takes next to no
    // room, so that a grid filling its page does not push it onto another.
    if (!closing) closing = section.grid.rows.empty() ? body_.append_child("w:p") : HairlineParagraph(body_);
    if (last) {
      SectionProperties(body_, section, continuous);
    } else {
      pugi::xml_node properties = closing.child("w:pPr");
      if (!properties) properties = closing.prepend_child("w:pPr");
      SectionProperties(properties, section, continuous);
    }
  }

  void Grid(const WordGrid& grid) {
    std::vector<int> columns;
    for (double width : grid.columns) columns.push_back(std::max(Twips(width), 20));
    pugi::xml_node table;
    for (const WordGridRow& row : grid.rows) {
      if (row.table) {
        // The grid stops above the ruled table and goes on below it; the
        // space under the table keeps the rows below where they stand.  A
        // hairline paragraph parts the grid from the table: tables that
        // follow each other directly are read as one.
        double below = row.height - row.table->Height();
        if (table) {
          HairlineParagraph(body_);
          below -= kColumnBreakLineTwips / 20.0;
        }
        RuledTable(body_, *row.table);
        SpacerParagraph(body_, std::max(below, 1.0));
        table = pugi::xml_node();
        continue;
      }
      if (!table) {
        table = body_.append_child("w:tbl");
        GridProperties(table, columns);
      }
      pugi::xml_node tr = table.append_child("w:tr");
      pugi::xml_node height = tr.append_child("w:trPr").append_child("w:trHeight");
      Attribute(height, "w:val", Twips(row.height));
      Attribute(height, "w:hRule", "atLeast");
      std::size_t column = 0;
      for (const WordCell& cell : row.cells) {
        pugi::xml_node tc = tr.append_child("w:tc");
        pugi::xml_node properties = tc.append_child("w:tcPr");
        int width = 0;
        for (int i = 0; i < cell.span && column < columns.size(); ++i) width += columns[column++];
        TwipsWidth(properties.append_child("w:tcW"), width);
        if (cell.span > 1) Attribute(properties.append_child("w:gridSpan"), "w:val", cell.span);
        if (cell.hasBackground) Shading(properties, cell.background);
        for (const WordParagraph& paragraph : cell.paragraphs) Paragraph(tc, paragraph);
        if (cell.paragraphs.empty()) HairlineParagraph(tc);
      }
    }
  }

  // The ruled table with its cells, rows at least as high as on the scan,
  // joined cells spanning grid columns (gridSpan) and rows (vMerge), and a
  // hairline paragraph after it, so that no table follows it directly.
  void RuledTable(pugi::xml_node parent, const WordTable& ruled) {
    pugi::xml_node table = parent.append_child("w:tbl");
    AppendRuledTableProperties(table, ruled);
    const int columns = static_cast<int>(ruled.columns.size());
    for (std::size_t r = 0; r < ruled.rows.size(); ++r) {
      const int row = static_cast<int>(r);
      pugi::xml_node tr = table.append_child("w:tr");
      pugi::xml_node height = tr.append_child("w:trPr").append_child("w:trHeight");
      Attribute(height, "w:val", Twips(ruled.rows[r]));
      Attribute(height, "w:hRule", "atLeast");
      for (int column = 0; column < columns;) {
        const WordTableCell* cell = ruled.Covering(row, column);
        const int span = cell ? std::min(cell->columnSpan, columns - column) : 1;
        pugi::xml_node tc = tr.append_child("w:tc");
        pugi::xml_node properties = tc.append_child("w:tcPr");
        double width = 0;
        for (int i = column; i < column + span; ++i) width += ruled.columns[i];
        TwipsWidth(properties.append_child("w:tcW"), Twips(width));
        if (span > 1) Attribute(properties.append_child("w:gridSpan"), "w:val", span);
        const bool starts = cell && cell->row == row;
        if (cell && cell->rowSpan > 1) {
          pugi::xml_node merge = properties.append_child("w:vMerge");
          if (starts) Attribute(merge, "w:val", "restart");
        }
        if (cell && cell->place != WordCellPlace::Top) {
          Attribute(properties.append_child("w:vAlign"), "w:val",
                    cell->place == WordCellPlace::Middle ? "center" : "bottom");
        }
        if (starts) {
          for (const WordParagraph& paragraph : cell->paragraphs) Paragraph(tc, paragraph);
        }
        if (!tc.child("w:p")) tc.append_child("w:p");
        column += span;
      }
    }
    HairlineParagraph(parent);
  }

  // An empty paragraph of the given height in points.
  static void SpacerParagraph(pugi::xml_node parent, double height) {
    pugi::xml_node p = HairlineParagraph(parent);
    p.child("w:pPr").child("w:spacing").attribute("w:line") = std::max(Twips(height), kColumnBreakLineTwips);
  }

  // An empty paragraph a point high.
  static pugi::xml_node HairlineParagraph(pugi::xml_node parent) {
    pugi::xml_node p = parent.append_child("w:p");
    pugi::xml_node properties = p.append_child("w:pPr");
    pugi::xml_node spacing = properties.append_child("w:spacing");
    Attribute(spacing, "w:line", kColumnBreakLineTwips);
    Attribute(spacing, "w:lineRule", "exact");
    pugi::xml_node mark = properties.append_child("w:rPr");
    Attribute(mark.append_child("w:sz"), "w:val", kColumnBreakHalfPoints);
    Attribute(mark.append_child("w:szCs"), "w:val", kColumnBreakHalfPoints);
    return p;
  }

  // A column break in a paragraph of its own, a point high, before the
  // paragraph that starts the next column.  A break inside that paragraph
  // would split it, and word processors differ on where its space before
  // then goes (LibreOffice sets it twice at the top of the next column).
  void ColumnBreak() {
    pugi::xml_node p = body_.append_child("w:p");
    pugi::xml_node spacing = p.append_child("w:pPr").append_child("w:spacing");
    Attribute(spacing, "w:line", kColumnBreakLineTwips);
    Attribute(spacing, "w:lineRule", "exact");
    pugi::xml_node r = p.append_child("w:r");
    pugi::xml_node properties = r.append_child("w:rPr");
    Attribute(properties.append_child("w:sz"), "w:val", kColumnBreakHalfPoints);
    Attribute(properties.append_child("w:szCs"), "w:val", kColumnBreakHalfPoints);
    Attribute(r.append_child("w:br"), "w:type", "column");
  }

  // The paragraph's node; none for a ruled table, which is set in the
  // paragraph's place.
  pugi::xml_node Paragraph(pugi::xml_node parent, const WordParagraph& paragraph) {
    if (paragraph.columnBreakBefore) ColumnBreak();
    if (paragraph.table) {
      RuledTable(parent, *paragraph.table);
      return pugi::xml_node();
    }
    pugi::xml_node p = parent.append_child("w:p");
    pugi::xml_node properties = p.append_child("w:pPr");
    if (paragraph.hasShading) Shading(properties, paragraph.shading);
    const int before = Twips(paragraph.spaceBefore);
    const int after = Twips(paragraph.spaceAfter);
    const int pitch = Twips(paragraph.lineHeight);
    if (before > 0 || after > 0 || pitch > 0) {
      pugi::xml_node spacing = properties.append_child("w:spacing");
      if (before > 0) Attribute(spacing, "w:before", before);
      if (after > 0) Attribute(spacing, "w:after", after);
      if (pitch > 0) {
        Attribute(spacing, "w:line", pitch);
        Attribute(spacing, "w:lineRule", "exact");
      }
    }
    const ParagraphIndents indents = IndentsOf(paragraph);
    if (indents.left != 0 || indents.right != 0 || indents.firstLine != 0) {
      pugi::xml_node ind = properties.append_child("w:ind");
      if (indents.left != 0) Attribute(ind, "w:left", indents.left);
      if (indents.right != 0) Attribute(ind, "w:right", indents.right);
      if (indents.firstLine > 0) Attribute(ind, "w:firstLine", indents.firstLine);
      if (indents.firstLine < 0) Attribute(ind, "w:hanging", -indents.firstLine);
    }
    if (const char* jc = Justification(paragraph.alignment)) {
      Attribute(properties.append_child("w:jc"), "w:val", jc);
    }
    if (!properties.first_child()) p.remove_child(properties);
    if (paragraph.picture) Picture(p, *paragraph.picture);
    for (const WordRun& run : paragraph.runs) Run(p, run);
    return p;
  }

  // The picture inline in a run of the paragraph; its file becomes a part
  // of the package.
  void Picture(pugi::xml_node p, const WordPicture& picture) {
    if (picture.data.empty()) return;
    const int number = static_cast<int>(media_.size()) + 1;
    const std::string id = "rIdPicture" + std::to_string(number);
    std::string part = "word/media/picture";
    part += std::to_string(number);
    part += picture.jpeg ? ".jpeg" : ".png";
    media_.push_back(DocxPart{part, picture.data});
    AppendInlinePicture(p.append_child("w:r"), picture, id, number);
  }

  void Run(pugi::xml_node p, const WordRun& run) {
    if (run.text.empty()) return;
    pugi::xml_node r = p.append_child("w:r");
    pugi::xml_node properties = r.append_child("w:rPr");
    if (!(run.color == kBlackInk)) {
      Attribute(properties.append_child("w:color"), "w:val", HexColour(run.color));
    }
    const int size = HalfPoints(run.fontSize, document_.defaultFontSize);
    Attribute(properties.append_child("w:sz"), "w:val", size);
    Attribute(properties.append_child("w:szCs"), "w:val", size);
    // Tabs (between the cells of a table row in plain text) as tab marks.
    std::size_t start = 0;
    for (std::size_t tab = run.text.find('\t');; tab = run.text.find('\t', start)) {
      const std::string text = EncodeUtf8(DocumentCharacters(run.text.substr(start, tab - start)));
      if (!text.empty()) {
        pugi::xml_node t = r.append_child("w:t");
        Attribute(t, "xml:space", "preserve");
        t.text().set(text.c_str());
      }
      if (tab == std::string::npos) break;
      r.append_child("w:tab");
      start = tab + 1;
    }
  }

  const WordDocument& document_;
  pugi::xml_node body_;
  std::vector<DocxPart>& media_;
};

}  // namespace

std::string DocxDocumentXml(const WordDocument& document, std::vector<DocxPart>& media) {
  pugi::xml_document xml;
  pugi::xml_node declaration = xml.append_child(pugi::node_declaration);
  Attribute(declaration, "version", "1.0");
  Attribute(declaration, "encoding", "UTF-8");
  Attribute(declaration, "standalone", "yes");
  pugi::xml_node root = xml.append_child("w:document");
  Attribute(root, "xmlns:w", kWordNamespace);
  Attribute(root, "xmlns:r", kRelationshipNamespace);
  Attribute(root, "xmlns:wp", kDrawingNamespace);
  BodyBuilder(document, root.append_child("w:body"), media).Build();
  std::ostringstream out;
  xml.save(out, "", pugi::format_raw);
  return out.str();
}

}  // namespace zelk
