// The RTF and DOCX writers on hand-built documents: the package and its XML
// checked with libzip and pugixml, the text read back through LibreOffice.

#include <zip.h>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "documents/WordDocument.h"
#include "documents/WordExport.h"
#include "documents/WordWriters.h"
#include "support/OfficeText.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

using test::TempDir;

constexpr Rgb kHeadingRed{200, 30, 30};
constexpr Rgb kNoteYellow{255, 240, 200};

WordRun TextRun(std::string text, double size = 0, Rgb color = kBlackInk) {
  return WordRun{std::move(text), size, color};
}

WordParagraph Paragraph(std::vector<WordRun> runs,
                        WordAlignment alignment = WordAlignment::Left) {
  WordParagraph paragraph;
  paragraph.runs = std::move(runs);
  paragraph.alignment = alignment;
  return paragraph;
}

// The paragraphs' text as a reader shows it, one line each, in order.
const std::vector<std::string> kFirstPageLines = {
    "第一章 总则",
    "Scanned pages become editable documents.",
    "中文段落保持原样，不加空格。",
    "扫描仪 scanner 设备",
};
const std::vector<std::string> kSecondPageLines = {
    "第二页 Second page text.",
    "Braces {a} back\\slash & <tag> \"quote\" end",
};

// Two sections: a two-column first page with a coloured heading, an
// indented paragraph, a shaded one and mixed scripts; a landscape second
// page holding the characters RTF and XML must escape and a control
// character that becomes a blank.
WordDocument SampleDocument() {
  WordDocument document;
  WordSection first;
  first.columns = 2;
  first.columnGap = 24;
  first.paragraphs.push_back(
      Paragraph({TextRun("第一章 总则", 16, kHeadingRed)}, WordAlignment::Center));
  WordParagraph english = Paragraph({TextRun("Scanned pages become editable documents.")},
                                    WordAlignment::Justify);
  english.firstLineIndent = 21;
  english.lineHeight = 15;
  first.paragraphs.push_back(english);
  WordParagraph shaded = Paragraph({TextRun("中文段落保持原样，不加空格。", 12)});
  shaded.hasShading = true;
  shaded.shading = kNoteYellow;
  shaded.columnBreakBefore = true;  // the second column starts here
  first.paragraphs.push_back(shaded);
  WordParagraph mixed = Paragraph({TextRun("扫描仪"), TextRun(" scanner "), TextRun("设备")});
  mixed.firstLineIndent = -21;
  mixed.spaceBefore = 6;
  first.paragraphs.push_back(mixed);
  document.sections.push_back(first);

  WordSection second;
  second.pageWidth = 841.9;
  second.pageHeight = 595.3;
  second.marginLeft = second.marginRight = 54;
  second.paragraphs.push_back(Paragraph({TextRun("第二页 Second page text.")}, WordAlignment::Right));
  second.paragraphs.push_back(
      Paragraph({TextRun("Braces {a} back\\slash & <tag> \"quote\"\x01" "end")}));
  document.sections.push_back(second);
  return document;
}

// The lines of a text, without empty ones and trailing blanks.
std::vector<std::string> NonEmptyLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

// A DOCX package opened with libzip, consistency-checked.
class DocxPackage {
 public:
  explicit DocxPackage(const std::string& path) {
    int error = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive_ == nullptr) {
      throw std::runtime_error("libzip cannot open " + path + ": error " + std::to_string(error));
    }
  }
  ~DocxPackage() { zip_discard(archive_); }
  DocxPackage(const DocxPackage&) = delete;
  DocxPackage& operator=(const DocxPackage&) = delete;

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive_, 0); ++i) {
      names.push_back(zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0));
    }
    return names;
  }

  std::string Part(const std::string& name) const {
    zip_stat_t stat;
    if (zip_stat(archive_, name.c_str(), 0, &stat) != 0) return {};
    zip_file_t* file = zip_fopen(archive_, name.c_str(), 0);
    if (file == nullptr) return {};
    std::string bytes(stat.size, '\0');
    const zip_int64_t read = zip_fread(file, bytes.data(), stat.size);
    zip_fclose(file);
    if (read != static_cast<zip_int64_t>(stat.size)) return {};
    return bytes;
  }

 private:
  zip_t* archive_ = nullptr;
};

// The part parsed; a failed parse fails the test.
void ParsePart(const DocxPackage& package, const std::string& name, pugi::xml_document& xml) {
  const std::string bytes = package.Part(name);
  ASSERT_FALSE(bytes.empty()) << name;
  const pugi::xml_parse_result parsed = xml.load_buffer(bytes.data(), bytes.size());
  ASSERT_TRUE(parsed) << name << ": " << parsed.description() << " at " << parsed.offset;
}

// The text of a w:p, its runs joined.
std::string ParagraphText(pugi::xml_node paragraph) {
  std::string text;
  for (pugi::xml_node run : paragraph.children("w:r")) {
    for (pugi::xml_node t : run.children("w:t")) text += t.child_value();
  }
  return text;
}

// The order the WordprocessingML schema gives the children of paragraph,
// run and section properties (those a writer may use).
const std::map<std::string, std::vector<std::string>> kSchemaOrder = {
    {"w:pPr",
     {"w:pStyle", "w:keepNext", "w:keepLines", "w:pageBreakBefore", "w:framePr",
      "w:widowControl", "w:numPr", "w:suppressLineNumbers", "w:pBdr", "w:shd", "w:tabs",
      "w:suppressAutoHyphens", "w:kinsoku", "w:wordWrap", "w:overflowPunct", "w:topLinePunct",
      "w:autoSpaceDE", "w:autoSpaceDN", "w:bidi", "w:adjustRightInd", "w:snapToGrid",
      "w:spacing", "w:ind", "w:contextualSpacing", "w:mirrorIndents", "w:suppressOverlap",
      "w:jc", "w:textDirection", "w:textAlignment", "w:textboxTightWrap", "w:outlineLvl",
      "w:divId", "w:cnfStyle", "w:rPr", "w:sectPr", "w:pPrChange"}},
    {"w:rPr",
     {"w:rStyle", "w:rFonts", "w:b", "w:bCs", "w:i", "w:iCs", "w:caps", "w:smallCaps",
      "w:strike", "w:dstrike", "w:outline", "w:shadow", "w:emboss", "w:imprint", "w:noProof",
      "w:snapToGrid", "w:vanish", "w:webHidden", "w:color", "w:spacing", "w:w", "w:kern",
      "w:position", "w:sz", "w:szCs", "w:highlight", "w:u", "w:effect", "w:bdr", "w:shd",
      "w:fitText", "w:vertAlign", "w:rtl", "w:cs", "w:em", "w:lang", "w:eastAsianLayout"}},
    {"w:sectPr",
     {"w:headerReference", "w:footerReference", "w:footnotePr", "w:endnotePr", "w:type",
      "w:pgSz", "w:pgMar", "w:paperSrc", "w:pgBorders", "w:lnNumType", "w:pgNumType",
      "w:cols", "w:formProt", "w:vAlign", "w:noEndnote", "w:titlePg", "w:textDirection",
      "w:bidi", "w:rtlGutter", "w:docGrid", "w:printerSettings"}},
    {"w:p", {"w:pPr", "w:r"}},
    {"w:r", {"w:rPr", "w:br", "w:t"}},  // properties first; a break or text after them
};

// Every properties element below `node` has known children in schema order.
void ExpectSchemaOrder(pugi::xml_node node) {
  for (pugi::xml_node element : node.children()) {
    if (element.type() != pugi::node_element) continue;
    const auto order = kSchemaOrder.find(element.name());
    if (order != kSchemaOrder.end()) {
      std::size_t last = 0;
      for (pugi::xml_node child : element.children()) {
        const auto& names = order->second;
        const auto at = std::find(names.begin(), names.end(), child.name());
        ASSERT_NE(at, names.end()) << child.name() << " in " << element.name();
        const auto index = static_cast<std::size_t>(at - names.begin());
        EXPECT_GE(index, last) << child.name() << " out of order in " << element.name();
        last = index;
      }
    }
    ExpectSchemaOrder(element);
  }
}

std::vector<std::string> ExpectedLines() {
  std::vector<std::string> lines = kFirstPageLines;
  lines.insert(lines.end(), kSecondPageLines.begin(), kSecondPageLines.end());
  return lines;
}

// --- DOCX package ----------------------------------------------------------

TEST(DocxWriter, PackageHoldsEveryPartAndEachParses) {
  TempDir dir;
  const std::string path = dir.File("sample.docx");
  WriteDocxDocument(SampleDocument(), path);

  DocxPackage package(path);
  const std::vector<std::string> names = package.Names();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "[Content_Types].xml");
  for (const char* part : {"_rels/.rels", "word/document.xml", "word/styles.xml",
                           "word/settings.xml", "word/_rels/document.xml.rels",
                           "docProps/core.xml", "docProps/app.xml"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), part), names.end()) << part;
  }
  for (const std::string& name : names) {
    pugi::xml_document xml;
    ParsePart(package, name, xml);
  }

  pugi::xml_document types;
  ParsePart(package, "[Content_Types].xml", types);
  EXPECT_TRUE(types.child("Types").find_child_by_attribute("Override", "PartName",
                                                           "/word/document.xml"));
  pugi::xml_document styles;
  ParsePart(package, "word/styles.xml", styles);
  const pugi::xml_node defaults =
      styles.child("w:styles").child("w:docDefaults").child("w:rPrDefault").child("w:rPr");
  EXPECT_STREQ(defaults.child("w:rFonts").attribute("w:eastAsia").value(), "SimSun");
  EXPECT_STREQ(defaults.child("w:rFonts").attribute("w:ascii").value(), "Times New Roman");
  EXPECT_STREQ(defaults.child("w:lang").attribute("w:eastAsia").value(), "zh-CN");
  EXPECT_EQ(defaults.child("w:sz").attribute("w:val").as_int(), 21);
}

TEST(DocxWriter, BodyCarriesSectionsParagraphsAndRunsInSchemaOrder) {
  TempDir dir;
  const std::string path = dir.File("sample.docx");
  WriteDocxDocument(SampleDocument(), path);
  DocxPackage package(path);
  pugi::xml_document xml;
  ParsePart(package, "word/document.xml", xml);
  const pugi::xml_node body = xml.child("w:document").child("w:body");
  ExpectSchemaOrder(body);

  // Paragraph text in writing order: escapes survive, the control
  // character became a blank, Chinese has no blanks added.
  std::vector<std::string> texts;
  for (pugi::xml_node p : body.children("w:p")) {
    if (!ParagraphText(p).empty()) texts.push_back(ParagraphText(p));
  }
  EXPECT_EQ(texts, ExpectedLines());
  for (const pugi::xpath_node& t : body.select_nodes("//w:t")) {
    EXPECT_STREQ(t.node().attribute("xml:space").value(), "preserve");
  }

  // First section: its properties close its last paragraph; the second's
  // are the body's last child.
  const pugi::xpath_node_set inner = body.select_nodes("w:p/w:pPr/w:sectPr");
  ASSERT_EQ(inner.size(), 1u);
  const pugi::xml_node first = inner.first().node();
  EXPECT_EQ(ParagraphText(first.parent().parent()), kFirstPageLines.back());
  EXPECT_EQ(first.child("w:pgSz").attribute("w:w").as_int(), 11906);
  EXPECT_EQ(first.child("w:pgSz").attribute("w:h").as_int(), 16838);
  EXPECT_EQ(first.child("w:pgMar").attribute("w:left").as_int(), 1440);
  EXPECT_EQ(first.child("w:cols").attribute("w:num").as_int(), 2);
  EXPECT_EQ(first.child("w:cols").attribute("w:space").as_int(), 480);
  const pugi::xml_node last = body.last_child();
  EXPECT_STREQ(last.name(), "w:sectPr");
  EXPECT_EQ(last.child("w:pgSz").attribute("w:w").as_int(), 16838);
  EXPECT_STREQ(last.child("w:pgSz").attribute("w:orient").value(), "landscape");
  EXPECT_EQ(last.child("w:pgMar").attribute("w:right").as_int(), 1080);
  EXPECT_EQ(last.child("w:cols").attribute("w:num").as_int(), 1);

  // Paragraph and run formatting of the first page.
  std::vector<pugi::xml_node> paragraphs;
  for (pugi::xml_node p : body.children("w:p")) {
    if (!ParagraphText(p).empty()) paragraphs.push_back(p);
  }
  ASSERT_GE(paragraphs.size(), 4u);
  const pugi::xml_node heading = paragraphs[0];
  EXPECT_STREQ(heading.child("w:pPr").child("w:jc").attribute("w:val").value(), "center");
  const pugi::xml_node headingRun = heading.child("w:r").child("w:rPr");
  EXPECT_STREQ(headingRun.child("w:color").attribute("w:val").value(), "C81E1E");
  EXPECT_EQ(headingRun.child("w:sz").attribute("w:val").as_int(), 32);
  EXPECT_EQ(headingRun.child("w:szCs").attribute("w:val").as_int(), 32);
  const pugi::xml_node english = paragraphs[1].child("w:pPr");
  EXPECT_STREQ(english.child("w:jc").attribute("w:val").value(), "both");
  EXPECT_EQ(english.child("w:ind").attribute("w:firstLine").as_int(), 420);
  EXPECT_EQ(english.child("w:spacing").attribute("w:line").as_int(), 300);
  EXPECT_STREQ(english.child("w:spacing").attribute("w:lineRule").value(), "exact");
  EXPECT_EQ(paragraphs[1].child("w:r").child("w:rPr").child("w:sz").attribute("w:val").as_int(),
            21);
  EXPECT_STREQ(paragraphs[2].child("w:pPr").child("w:shd").attribute("w:fill").value(), "FFF0C8");
  // The column break before it stands in a paragraph of its own, a point
  // high, so that the paragraph keeps its space before in the new column.
  const pugi::xml_node columnBreak = paragraphs[2].previous_sibling("w:p");
  EXPECT_STREQ(columnBreak.child("w:r").child("w:br").attribute("w:type").value(), "column");
  EXPECT_TRUE(ParagraphText(columnBreak).empty());
  EXPECT_EQ(columnBreak.child("w:pPr").child("w:spacing").attribute("w:line").as_int(), 20);
  EXPECT_FALSE(paragraphs[2].child("w:r").child("w:br"));
  const pugi::xml_node mixed = paragraphs[3].child("w:pPr");
  EXPECT_EQ(mixed.child("w:ind").attribute("w:left").as_int(), 420);
  EXPECT_EQ(mixed.child("w:ind").attribute("w:hanging").as_int(), 420);
  EXPECT_EQ(mixed.child("w:spacing").attribute("w:before").as_int(), 120);
}

// --- RTF -------------------------------------------------------------------

// The number of the colour in the RTF colour table (entry 0 is automatic).
int RtfColourIndex(const std::string& rtf, Rgb colour) {
  const std::size_t table = rtf.find("{\\colortbl;");
  if (table == std::string::npos) return -1;
  const std::string entries = rtf.substr(table + 11, rtf.find('}', table) - table - 11);
  const std::string wanted = "\\red" + std::to_string(colour.red) + "\\green" +
                             std::to_string(colour.green) + "\\blue" +
                             std::to_string(colour.blue);
  int index = 1;
  std::size_t start = 0;
  for (std::size_t end = entries.find(';'); end != std::string::npos;
       start = end + 1, end = entries.find(';', start), ++index) {
    if (entries.substr(start, end - start) == wanted) return index;
  }
  return -1;
}

// Groups balance outside escapes, and the document is one group.
bool RtfGroupsBalance(const std::string& rtf) {
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
    } else if (rtf[i] == '{') {
      ++depth;
    } else if (rtf[i] == '}') {
      if (--depth == 0 && rtf.find_first_not_of("\r\n", i + 1) != std::string::npos) return false;
      if (depth < 0) return false;
    }
  }
  return depth == 0;
}

TEST(RtfWriter, DocumentIsAsciiWithFontsColoursAndSections) {
  TempDir dir;
  WriteRtfDocument(SampleDocument(), dir.File("sample.rtf"));
  const std::string rtf = test::ReadBytes(dir.File("sample.rtf"));

  ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_TRUE(RtfGroupsBalance(rtf));
  EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(),
                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
  // Fonts: a Latin serif and SimSun under its own character set, with its
  // Chinese name in GBK as the alternative.
  EXPECT_NE(rtf.find("\\fcharset0\\fprq2 Times New Roman;"), std::string::npos);
  EXPECT_NE(rtf.find("\\fcharset134\\fprq2 SimSun{\\*\\falt \\'cb\\'ce\\'cc\\'e5};"), std::string::npos);

  // Two sections, one break between them, each with its own page.
  EXPECT_EQ(Count(rtf, "\\sect\n"), 1u);
  EXPECT_EQ(Count(rtf, "\\sectd"), 2u);
  EXPECT_NE(rtf.find("\\pgwsxn11906\\pghsxn16838\\marglsxn1440"), std::string::npos);
  EXPECT_NE(rtf.find("\\cols2\\colsx480"), std::string::npos);
  EXPECT_NE(rtf.find("\\pgwsxn16838\\pghsxn11906\\marglsxn1080\\margrsxn1080"),
            std::string::npos);
  EXPECT_NE(rtf.find("\\lndscpsxn"), std::string::npos);

  // The heading in its colour and size, in the East Asian font, centred.
  const int red = RtfColourIndex(rtf, kHeadingRed);
  ASSERT_GT(red, 0);
  EXPECT_NE(rtf.find("\\qc\\fs21 {\\fs32\\cf" + std::to_string(red) +
                     " {\\hich\\af1\\dbch\\af1\\loch\\f1 \\u31532?\\u19968?\\u31456? "),
            std::string::npos);
  const int yellow = RtfColourIndex(rtf, kNoteYellow);
  ASSERT_GT(yellow, 0);
  EXPECT_NE(rtf.find("\\cbpat" + std::to_string(yellow)), std::string::npos);
  // Paragraph layout: justified with first-line indent and exact pitch; a
  // hanging indent with space before.
  EXPECT_NE(rtf.find("\\qj\\fi420\\sl-300\\slmult0"), std::string::npos);
  EXPECT_NE(rtf.find("\\ql\\li420\\fi-420\\sb120"), std::string::npos);
  // Latin text in the Latin font; the specials escaped; the control
  // character a blank.
  EXPECT_NE(rtf.find("{\\hich\\af0\\dbch\\af1\\loch\\f0 Scanned pages"), std::string::npos);
  EXPECT_NE(rtf.find("Braces \\{a\\} back\\\\slash & <tag> \"quote\" end"), std::string::npos);
}

TEST(RtfWriter, CharactersBeyondTheBasicPlaneGoAsSurrogatePairs) {
  WordDocument document;
  document.sections.emplace_back();
  document.sections[0].paragraphs.push_back(Paragraph({TextRun("\xF0\xA0\x80\x80 x")}));  // U+20000
  TempDir dir;
  WriteRtfDocument(document, dir.File("plane.rtf"));
  EXPECT_NE(test::ReadBytes(dir.File("plane.rtf")).find("\\u-10176?\\u-9216? }"),
            std::string::npos);
}

// --- Degenerate models and failures ---------------------------------------

TEST(WordWriters, DegenerateModelsStayWithinWhatReadersAccept) {
  WordDocument document;
  document.defaultFontSize = -3;
  WordSection odd;
  odd.pageWidth = 0;
  odd.pageHeight = 1e9;
  odd.marginLeft = -20;
  odd.marginRight = 5000;
  odd.columns = 100;
  odd.columnGap = 1e6;
  odd.paragraphs.push_back(Paragraph({TextRun("x", std::nan(""))}));
  // Malformed UTF-8, an encoded surrogate and a vertical tab.
  odd.paragraphs.push_back(Paragraph({TextRun("bad\xFF\xED\xA0\x80\x0B" "end")}));
  odd.paragraphs.push_back(Paragraph({TextRun("y", 5000)}));
  document.sections.push_back(odd);
  document.sections.emplace_back();  // a blank page

  TempDir dir;
  WriteDocxDocument(document, dir.File("odd.docx"));
  pugi::xml_document xml;
  ParsePart(DocxPackage(dir.File("odd.docx")), "word/document.xml", xml);
  ExpectSchemaOrder(xml);
  const pugi::xpath_node_set sections = xml.select_nodes("//w:sectPr");
  ASSERT_EQ(sections.size(), 2u);  // the blank page keeps its section
  const pugi::xml_node page = sections.first().node();
  EXPECT_EQ(page.child("w:pgSz").attribute("w:w").as_int(), 144);
  EXPECT_EQ(page.child("w:pgSz").attribute("w:h").as_int(), 31680);
  EXPECT_EQ(page.child("w:pgMar").attribute("w:left").as_int(), 0);
  EXPECT_LE(page.child("w:pgMar").attribute("w:right").as_int(), 144);
  EXPECT_EQ(page.child("w:cols").attribute("w:num").as_int(), 45);
  EXPECT_LE(page.child("w:cols").attribute("w:space").as_int(), 144);
  for (const pugi::xpath_node& size : xml.select_nodes("//w:sz")) {
    EXPECT_GE(size.node().attribute("w:val").as_int(), 2);
    EXPECT_LE(size.node().attribute("w:val").as_int(), 3276);
  }
  EXPECT_EQ(ParagraphText(xml.select_node("//w:p[w:r/w:t[starts-with(., 'bad')]]").node()),
            "bad\uFFFD\uFFFD end");

  WriteRtfDocument(document, dir.File("odd.rtf"));
  const std::string rtf = test::ReadBytes(dir.File("odd.rtf"));
  EXPECT_TRUE(RtfGroupsBalance(rtf));
  EXPECT_NE(rtf.find("\\pgwsxn144\\pghsxn31680"), std::string::npos);
  EXPECT_NE(rtf.find("\\cols45"), std::string::npos);
  EXPECT_EQ(rtf.find("nan"), std::string::npos);
  EXPECT_EQ(rtf.find("\\fs-"), std::string::npos);
  EXPECT_NE(rtf.find("bad\\u-3?\\u-3? end"), std::string::npos);

  // A document without sections is still a valid one-page document.
  WriteDocxDocument(WordDocument{}, dir.File("empty.docx"));
  pugi::xml_document empty;
  ParsePart(DocxPackage(dir.File("empty.docx")), "word/document.xml", empty);
  EXPECT_TRUE(empty.child("w:document").child("w:body").child("w:sectPr"));
  WriteRtfDocument(WordDocument{}, dir.File("empty.rtf"));
  EXPECT_TRUE(RtfGroupsBalance(test::ReadBytes(dir.File("empty.rtf"))));
}

TEST(WordWriters, UnwritablePathRaisesNamingItAndLeavesNothing) {
  TempDir dir;
  const WordDocument document = SampleDocument();
  for (const std::string name : {"missing/sample.docx", "missing/sample.rtf"}) {
    const std::string path = dir.File(name);
    const auto write = name.ends_with(".docx") ? WriteDocxDocument : WriteRtfDocument;
    try {
      write(document, path);
      ADD_FAILURE() << "no error for " << path;
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  // A directory in the document's place stays as it is, and no temporary
  // file is left beside it.
  std::filesystem::create_directory(dir.File("taken.docx"));
  std::filesystem::create_directory(dir.File("taken.rtf"));
  EXPECT_THROW(WriteDocxDocument(document, dir.File("taken.docx")), std::runtime_error);
  EXPECT_THROW(WriteRtfDocument(document, dir.File("taken.rtf")), std::runtime_error);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.docx")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken.rtf")));
  EXPECT_EQ(test::EntryCount(dir.Path()), 2);
}

// --- Column bands of a page -------------------------------------------------

const std::string kBannerLine = "通栏标题 Banner heading";
const std::string kLeftLine = "左栏 Left column text.";
const std::string kRightLine = "右栏 Right column text.";
const std::string kNoteLine = "通栏注释 Full-width note.";
const std::string kNextPageLine = "第二页 Next page.";

// A page of three sections, one column, two columns, one column, the later
// two continuing the page; then a page of its own.  The first section is
// marked as continuing too, which a writer must not take for a break.
WordDocument BandedDocument() {
  WordDocument document;
  WordSection banner;
  banner.continuesPage = true;
  banner.paragraphs.push_back(Paragraph({TextRun(kBannerLine, 16)}, WordAlignment::Center));
  WordSection columns;
  columns.continuesPage = true;
  columns.columns = 2;
  columns.columnGap = 24;
  columns.paragraphs.push_back(Paragraph({TextRun(kLeftLine)}));
  WordParagraph right = Paragraph({TextRun(kRightLine)});
  right.columnBreakBefore = true;
  columns.paragraphs.push_back(right);
  WordSection note;
  note.continuesPage = true;
  note.paragraphs.push_back(Paragraph({TextRun(kNoteLine)}));
  WordSection next;
  next.paragraphs.push_back(Paragraph({TextRun(kNextPageLine)}));
  document.sections = {banner, columns, note, next};
  return document;
}

TEST(DocxWriter, ContinuingSectionsCarryAContinuousBreakInTheirOwnProperties) {
  TempDir dir;
  WriteDocxDocument(BandedDocument(), dir.File("banded.docx"));
  pugi::xml_document xml;
  ParsePart(DocxPackage(dir.File("banded.docx")), "word/document.xml", xml);
  ExpectSchemaOrder(xml);
  // Properties close the section they describe: the banner's paragraph,
  // the right column's, the note's, and the body for the last page.
  const pugi::xpath_node_set sections = xml.select_nodes("//w:sectPr");
  ASSERT_EQ(sections.size(), 4u);
  const std::vector<std::string> types{"nextPage", "continuous", "continuous", "nextPage"};
  const std::vector<int> columns{1, 2, 1, 1};
  const std::vector<std::string> closing{kBannerLine, kRightLine, kNoteLine, ""};
  for (std::size_t i = 0; i < 4; ++i) {
    const pugi::xml_node section = sections[i].node();
    SCOPED_TRACE(i);
    EXPECT_STREQ(section.first_child().name(), "w:type");
    EXPECT_EQ(section.child("w:type").attribute("w:val").value(), types[i]);
    EXPECT_EQ(section.child("w:cols").attribute("w:num").as_int(), columns[i]);
    const pugi::xml_node paragraph = section.parent().parent();
    EXPECT_EQ(i == 3 ? std::string() : ParagraphText(paragraph), closing[i]);
  }
  EXPECT_STREQ(sections[3].node().parent().name(), "w:body");
}

TEST(RtfWriter, ContinuingSectionsHaveNoBreakAndPagesAPageBreak) {
  TempDir dir;
  WriteRtfDocument(BandedDocument(), dir.File("banded.rtf"));
  const std::string rtf = test::ReadBytes(dir.File("banded.rtf"));
  EXPECT_TRUE(RtfGroupsBalance(rtf));
  std::vector<std::string> breaks;
  for (std::size_t at = rtf.find("\\sectd"); at != std::string::npos; at = rtf.find("\\sectd", at + 1)) {
    breaks.push_back(rtf.substr(at + 6, 8));
  }
  EXPECT_EQ(breaks, (std::vector<std::string>{"\\sbkpage", "\\sbknone", "\\sbknone", "\\sbkpage"}));
  EXPECT_EQ(Count(rtf, "\\cols2\\colsx480"), 1u);
  EXPECT_EQ(Count(rtf, "\\sect\n"), 3u);
  // The two-column section holds both columns, the break between them.
  const std::size_t twoColumns = rtf.find("\\cols2");
  const std::size_t columnBreak = rtf.find("\\column\\par");
  EXPECT_LT(twoColumns, columnBreak);
  EXPECT_LT(columnBreak, rtf.find("\\sbknone", twoColumns));
}

// --- Columns as measured ---------------------------------------------------

// A two-column section on A4 with one-inch margins (9026 twips of text
// width) whose columns are 200 and 250 pt wide with 24 pt between them:
// 474 pt that the writers fit to the text width.  The left column's last
// paragraph has space below it.
WordDocument MeasuredColumnsDocument(std::vector<WordColumn> widths) {
  WordDocument document;
  WordSection section;
  section.columns = 2;
  section.columnGap = 24;
  section.columnWidths = std::move(widths);
  WordParagraph left = Paragraph({TextRun(kLeftLine)});
  left.spaceAfter = 12;
  WordParagraph right = Paragraph({TextRun(kRightLine)});
  right.columnBreakBefore = true;
  section.paragraphs = {left, right};
  document.sections.push_back(section);
  return document;
}

TEST(WordWriters, ColumnsOfTheirOwnWidthsFillTheTextWidthInBothFormats) {
  TempDir dir;
  const std::vector<WordColumn> measured{{200, 24}, {250, 0}};
  WriteDocxDocument(MeasuredColumnsDocument(measured), dir.File("columns.docx"));
  WriteRtfDocument(MeasuredColumnsDocument(measured), dir.File("columns.rtf"));

  pugi::xml_document xml;
  ParsePart(DocxPackage(dir.File("columns.docx")), "word/document.xml", xml);
  const pugi::xml_node columns = xml.select_node("//w:sectPr/w:cols").node();
  EXPECT_EQ(columns.attribute("w:num").as_int(), 2);
  EXPECT_STREQ(columns.attribute("w:equalWidth").value(), "0");
  std::vector<std::pair<int, int>> widths;
  for (pugi::xml_node column : columns.children("w:col")) {
    widths.emplace_back(column.attribute("w:w").as_int(), column.attribute("w:space").as_int());
  }
  // 200, 224 and 474 pt along the text width, each edge rounded.
  const double scale = 9026.0 / 474;
  const int leftEnd = static_cast<int>(std::lround(200 * scale));
  const int rightStart = static_cast<int>(std::lround(224 * scale));
  EXPECT_EQ(widths, (std::vector<std::pair<int, int>>{{leftEnd, rightStart - leftEnd}, {9026 - rightStart, 0}}));
  EXPECT_EQ(xml.select_node("//w:p[w:r/w:t[starts-with(., '左栏')]]/w:pPr/w:spacing").node().attribute("w:after").as_int(),
            240);

  const std::string rtf = test::ReadBytes(dir.File("columns.rtf"));
  EXPECT_NE(rtf.find("\\cols2\\colsx480\\colno1\\colw" + std::to_string(leftEnd) + "\\colsr" +
                     std::to_string(rightStart - leftEnd) + "\\colno2\\colw" + std::to_string(9026 - rightStart)),
            std::string::npos)
      << rtf;
  EXPECT_NE(rtf.find("\\sa240"), std::string::npos);

  // Widths that do not describe the columns give columns of equal width.
  for (const std::vector<WordColumn>& unusable :
       {std::vector<WordColumn>{{200, 24}}, std::vector<WordColumn>{{200, 24}, {0, 0}},
        std::vector<WordColumn>{{200, -5}, {250, 0}}, std::vector<WordColumn>{{std::nan(""), 24}, {250, 0}}}) {
    WriteDocxDocument(MeasuredColumnsDocument(unusable), dir.File("equal.docx"));
    WriteRtfDocument(MeasuredColumnsDocument(unusable), dir.File("equal.rtf"));
    pugi::xml_document equal;
    ParsePart(DocxPackage(dir.File("equal.docx")), "word/document.xml", equal);
    EXPECT_FALSE(equal.select_node("//w:col")) << unusable.size();
    EXPECT_EQ(equal.select_node("//w:cols").node().attribute("w:space").as_int(), 480);
    EXPECT_EQ(test::ReadBytes(dir.File("equal.rtf")).find("\\colw"), std::string::npos);
  }
}

// --- Read back by LibreOffice ---------------------------------------------

#define SKIP_WITHOUT_SOFFICE()                                                    \
  if (!test::HasSoffice()) GTEST_SKIP() << "soffice (LibreOffice) is not installed"

// The text comes back page by page in reading order.
TEST(WordWritersOffice, TextReadsBackInReadingOrderFromEachFormat) {
  SKIP_WITHOUT_SOFFICE();
  TempDir dir;
  const WordDocument document = SampleDocument();
  WriteDocxDocument(document, dir.File("sample.docx"));
  WriteRtfDocument(document, dir.File("sample.rtf"));
  WriteRtfDocument(document, dir.File("sample.doc"));  // RTF under the older name
  for (const char* name : {"sample.docx", "sample.rtf", "sample.doc"}) {
    EXPECT_EQ(NonEmptyLines(test::OfficeDocumentText(dir.File(name))), ExpectedLines())
        << name;
  }
}

// The laid-out document: one page per section, the columns, the colours,
// the fonts.
void ExpectLaidOut(const std::string& odt, const std::string& label) {
  SCOPED_TRACE(label);
  EXPECT_NE(odt.find("meta:page-count=\"2\""), std::string::npos);
  EXPECT_NE(odt.find("fo:column-count=\"2\""), std::string::npos);
  EXPECT_NE(odt.find("fo:break-before=\"column\""), std::string::npos);
  EXPECT_NE(odt.find("fo:color=\"#c81e1e\""), std::string::npos);
  EXPECT_NE(odt.find("fo:background-color=\"#fff0c8\""), std::string::npos);
  EXPECT_NE(odt.find("svg:font-family=\"SimSun\""), std::string::npos);
  EXPECT_NE(odt.find("Times New Roman"), std::string::npos);
}

TEST(WordWritersOffice, PagesAndColoursAsLibreOfficeLaysThemOut) {
  SKIP_WITHOUT_SOFFICE();
  TempDir dir;
  WriteDocxDocument(SampleDocument(), dir.File("sample.docx"));
  WriteRtfDocument(SampleDocument(), dir.File("sample.rtf"));
  ExpectLaidOut(test::OfficeFlatOdt(dir.File("sample.docx")), "sample.docx");
  ExpectLaidOut(test::OfficeFlatOdt(dir.File("sample.rtf")), "sample.rtf");
}

// A page of bands lays out as one page: the columns in the middle only,
// the full-width text above and below them, the next page on its own.
TEST(WordWritersOffice, ColumnBandsOfAPageStayOnOnePage) {
  SKIP_WITHOUT_SOFFICE();
  TempDir dir;
  WriteDocxDocument(BandedDocument(), dir.File("banded.docx"));
  WriteRtfDocument(BandedDocument(), dir.File("banded.rtf"));
  for (const char* name : {"banded.docx", "banded.rtf"}) {
    SCOPED_TRACE(name);
    const std::string odt = test::OfficeFlatOdt(dir.File(name));
    EXPECT_NE(odt.find("meta:page-count=\"2\""), std::string::npos);
    EXPECT_NE(odt.find("fo:break-before=\"column\""), std::string::npos);
    // The two columns hold the left and right text and nothing else.
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_buffer(odt.data(), odt.size()));
    const std::string style =
        xml.select_node("//style:style[@style:family='section'][.//@fo:column-count='2']/@style:name")
            .attribute()
            .value();
    ASSERT_FALSE(style.empty());
    const pugi::xpath_query sectionText(("string(//text:section[@text:style-name='" + style + "'])").c_str());
    const std::string columns = sectionText.evaluate_string(xml);
    EXPECT_NE(columns.find("Left column"), std::string::npos) << columns;
    EXPECT_NE(columns.find("Right column"), std::string::npos) << columns;
    EXPECT_EQ(columns.find("Banner"), std::string::npos) << columns;
    EXPECT_EQ(columns.find("Full-width"), std::string::npos) << columns;
    EXPECT_NE(odt.find("Full-width note"), std::string::npos);
  }
}

// --- Export by file name -------------------------------------------------

TEST(WordExport, FormatFollowsTheNameAndTheDocumentHoldsThePage) {
  EXPECT_EQ(WordFileFormatFor("out/scan.docx"), WordFileFormat::Docx);
  EXPECT_EQ(WordFileFormatFor("SCAN.DocX"), WordFileFormat::Docx);
  for (const char* path : {"scan.doc", "scan.rtf", "scan.", "scan", "scan.docx.rtf",
                           "box.docx/scan"}) {
    EXPECT_EQ(WordFileFormatFor(path), WordFileFormat::Rtf) << path;
  }

  PageLayout page;
  page.width = 2480;
  page.height = 3508;
  page.dpi = 300;
  LayoutLine line;
  line.words = {LayoutWord{"Export", {300, 300, 600, 360}, 90, true},
                LayoutWord{"测试", {640, 300, 760, 360}, 90, false}};
  line.box = {300, 300, 760, 360};
  line.baseline = 350;
  line.fontSize = 12;
  LayoutParagraph paragraph;
  paragraph.lines = {line};
  paragraph.box = line.box;
  LayoutBlock block;
  block.box = line.box;
  block.paragraphs = {paragraph};
  page.blocks = {block};

  TempDir dir;
  ExportWordDocument({page}, WordExportOptions{}, dir.File("page.DOCX"));
  pugi::xml_document xml;
  ParsePart(DocxPackage(dir.File("page.DOCX")), "word/document.xml", xml);
  std::string text;
  for (const pugi::xpath_node& t : xml.select_nodes("//w:t")) text += t.node().child_value();
  EXPECT_NE(text.find("Export"), std::string::npos) << text;
  EXPECT_NE(text.find("测试"), std::string::npos) << text;

  ExportWordDocument({page}, WordExportOptions{}, dir.File("page.doc"));
  const std::string rtf = test::ReadBytes(dir.File("page.doc"));
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("Export"), std::string::npos);
}

}  // namespace
}  // namespace zelk
