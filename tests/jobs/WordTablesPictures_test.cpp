// Ruled tables and pictures through the real Word and dual-layer PDF jobs:
// A4 pages rendered here (a ruled table with joined cells, a photograph
// with a caption and text beside it, and both on one page), each mode as
// .docx and .rtf, read back as the user sees them: LibreOffice prints each
// document (pages, text over text, the pictures' sizes by pdfimages) and
// exports it as flat ODT (its tables: rows, columns, cell texts) and as
// text; the dual-layer PDF's text layer through pdftotext.

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../imaging/PdfTest_helpers.h"
#include "jobs/ConvertFiles22PdfJob.h"
#include "jobs/ConvertFiles2WordJob.h"
#include "jobs/RecognitionJob_helpers.h"
#include "support/CharacterErrors.h"
#include "support/OfficePrint.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

constexpr int kLeft = 236;
constexpr int kSize = 44;
constexpr double kMostErrors = 0.03;

// The table: a header row whose last cell spans two columns, and a cell
// spanning two rows.
constexpr int kColumns[] = {0, 200, 820, 1240, 1640, 2008};
constexpr int kRowHeight = 110;
struct CellSpec {
  int row, column, rowSpan, columnSpan;
  const char* text;
};
constexpr CellSpec kCells[] = {
    {0, 0, 1, 1, "序号"}, {0, 1, 1, 1, "项目名称"}, {0, 2, 1, 1, "日期"}, {0, 3, 1, 2, "金额及状态"},
    {1, 0, 1, 1, "1"}, {1, 1, 1, 1, "复印机维护"}, {1, 2, 1, 1, "2024-11-26"}, {1, 3, 1, 1, "20,612.69"}, {1, 4, 1, 1, "已付"},
    {2, 0, 1, 1, "2"}, {2, 1, 1, 1, "档案数字化"}, {2, 2, 1, 1, "2024-12-03"}, {2, 3, 1, 1, "8,450.00"}, {2, 4, 1, 1, "未付"},
    {3, 0, 1, 1, "3"}, {3, 1, 2, 1, "办公设备采购"}, {3, 2, 1, 1, "2025-01-15"}, {3, 3, 1, 1, "1,299.50"}, {3, 4, 1, 1, "已付"},
    {4, 0, 1, 1, "4"}, {4, 2, 1, 1, "2025-02-20"}, {4, 3, 1, 1, "560.00"}, {4, 4, 1, 1, "未付"}};

const char* const kAbove = "本年度档案工作按照计划稳步推进，各项任务均已完成。";
const char* const kBelow = "以上数据由办公室统计，如有疑问请与档案科联系。";
const char* const kSide[] = {"新建的档案库房位于园区东侧，", "建筑面积约两千平方米，", "配备恒温恒湿设备和消防系统，",
                             "可容纳纸质档案三十万卷。", "库房于今年六月正式投入使用，", "大大改善了档案保管条件。"};
const char* const kCaption = "图1 新建档案库房外景";

struct Page {
  ocrtest::LayoutPageSpec spec;
  TextBox photo;  // none when empty
  std::string known;
  // The same with a photograph's caption read before the text beside it:
  // a flowing document may keep the caption under its picture there.
  std::string captionFirst;
};

void Draw(Page& page, int left, int top, const std::string& line) {
  page.spec.blocks.push_back({left, top, kSize, 1.8, kBlackInk, {line}});
}

void Text(Page& page, int left, int top, const std::string& line) {
  Draw(page, left, top, line);
  page.known += line + "\n";
  page.captionFirst += line + "\n";
}

void AddTable(Page& page, int top) {
  const auto x = [](int column) { return kLeft + kColumns[column]; };
  const auto y = [&](int row) { return top + row * kRowHeight; };
  for (const CellSpec& cell : kCells) {
    Text(page, x(cell.column) + 20, y(cell.row) + (kRowHeight * cell.rowSpan - kSize) / 2, cell.text);
    ocrtest::AddFrame(page.spec, x(cell.column), y(cell.row), x(cell.column + cell.columnSpan),
                      y(cell.row + cell.rowSpan));
  }
}

// A photograph beside six lines of text, its caption under it.
void AddPhoto(Page& page, int top) {
  page.photo = {kLeft, top, kLeft + 900, top + 680};
  std::string side;
  for (int i = 0; i < 6; ++i) {
    Draw(page, kLeft + 960, top + 40 + i * 100, kSide[i]);
    side += std::string(kSide[i]) + "\n";
  }
  Draw(page, kLeft + 240, top + 720, kCaption);
  const std::string caption = std::string(kCaption) + "\n";
  page.known += side + caption;
  page.captionFirst += caption + side;
}

// Sky, hills and a house in continuous tone with grain.
void PaintPhoto(Pix* pix, const TextBox& box) {
  unsigned seed = 7;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const double u = x - box.left, v = y - box.top;
      const double hill = 380 + 60 * std::sin(u / 90.0);
      double r = 110 + 60 * v / 680, g = 140 + 40 * std::sin(u / 70.0), b = 190 - 50 * v / 680;
      if (v > hill) r = 70 + 30 * std::sin(u / 23.0), g = 120 + 25 * std::cos(v / 17.0), b = 60;
      if (u > 520 && u < 760 && v > 300 && v < 560) r = 150 + 20 * std::sin(v / 9.0), g = 90, b = 70;
      seed = seed * 1103515245u + 12345u;
      const double grain = static_cast<double>((seed >> 16) % 41) - 20;
      const auto c = [&](double value) { return static_cast<int>(std::clamp(value + grain, 0.0, 255.0)); };
      pixSetRGBPixel(pix, x, y, c(r), c(g), c(b));
    }
  }
}

PixPtr Render(const Page& page) {
  PixPtr pix = ocrtest::RenderLayoutPage(page.spec);
  if (page.photo.right > 0) PaintPhoto(pix.get(), page.photo);
  return pix;
}

std::vector<Page> Pages() {
  Page table, photo, both;
  Text(table, kLeft, 300, kAbove);
  AddTable(table, 450);
  Text(table, kLeft, 1100, kBelow);
  Text(photo, kLeft, 300, kAbove);
  AddPhoto(photo, 450);
  Text(photo, kLeft, 1350, kBelow);
  AddPhoto(both, 300);
  AddTable(both, 1250);
  Text(both, kLeft, 1900, kBelow);
  return {table, photo, both};
}

// A table of the document as LibreOffice reads it (flat ODT).
struct ReadTable {
  int rows = 0;
  int columns = 0;
  std::string text;  // the cells' texts, row by row
  int filled = 0;    // cells with text
  int middle = 0;    // of those, cells whose text stands in the middle of the cell's height
};

std::vector<ReadTable> OfficeTables(const std::string& document) {
  pugi::xml_document xml;
  xml.load_string(test::OfficeFlatOdt(document).c_str());
  std::set<std::string> middleStyles;
  for (const pugi::xpath_node& style : xml.select_nodes("//style:style[@style:family='table-cell']")) {
    const pugi::xml_node properties = style.node().child("style:table-cell-properties");
    if (std::string(properties.attribute("style:vertical-align").as_string()) == "middle") {
      middleStyles.insert(style.node().attribute("style:name").as_string());
    }
  }
  std::vector<ReadTable> tables;
  for (const pugi::xpath_node& table : xml.select_nodes("//table:table")) {
    ReadTable read;
    for (const pugi::xpath_node& column : table.node().select_nodes("table:table-column")) {
      read.columns += std::max(1, column.node().attribute("table:number-columns-repeated").as_int());
    }
    for (const pugi::xpath_node& row : table.node().select_nodes(".//table:table-row")) {
      ++read.rows;
      for (const pugi::xpath_node& cell : row.node().select_nodes("table:table-cell")) {
        std::string text;
        // A paragraph's text lies in its spans.
        for (const pugi::xpath_node& p : cell.node().select_nodes(".//text:p")) {
          for (const pugi::xpath_node& piece : p.node().select_nodes(".//text()")) text += piece.node().value();
          text += "\n";
        }
        if (text.find_first_not_of('\n') != std::string::npos) {
          ++read.filled;
          read.middle += middleStyles.count(cell.node().attribute("table:style-name").as_string()) > 0 ? 1 : 0;
        }
        read.text += text;
      }
    }
    tables.push_back(read);
  }
  return tables;
}

std::string KnownCells() {
  std::string text;
  for (const CellSpec& cell : kCells) text += std::string(cell.text) + "\n";
  return text;
}

// The images pdfimages lists, each as its width and height in points.
std::vector<std::pair<double, double>> PrintedImages(const std::string& pdf) {
  std::vector<std::pair<double, double>> images;
  for (const pdftest::ListedImage& image : pdftest::ListImages(pdf)) {
    images.emplace_back(72.0 * image.width / image.xPpi, 72.0 * image.height / image.yPpi);
  }
  return images;
}

// Where the printed pages show colour (the photographs; the text is
// black), in points from each page's top left corner; an empty box for a
// page without colour.
std::vector<TextBox> PrintedColourBoxes(const std::string& pdf, const std::string& scratch) {
  constexpr int kDpi = 36;  // two points a pixel
  std::filesystem::create_directories(scratch);
  const std::string prefix = scratch + "/colour";
  const pdftest::CommandResult render =
      pdftest::RunCommand("pdftoppm -r " + std::to_string(kDpi) + " -png " + pdftest::Quote(pdf) + " " + pdftest::Quote(prefix));
  EXPECT_EQ(render.exitCode, 0) << render.err;
  std::vector<TextBox> boxes;
  for (int page = 1;; ++page) {
    PixPtr pix(pixRead((prefix + "-" + std::to_string(page) + ".png").c_str()));
    if (!pix) break;
    PixPtr rgb(pixConvertTo32(pix.get()));
    TextBox box{1 << 20, 1 << 20, 0, 0};
    for (int y = 0; y < pixGetHeight(rgb.get()); ++y) {
      for (int x = 0; x < pixGetWidth(rgb.get()); ++x) {
        l_int32 r = 0, g = 0, b = 0;
        pixGetRGBPixel(rgb.get(), x, y, &r, &g, &b);
        if (std::max({r, g, b}) - std::min({r, g, b}) < 40) continue;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
      }
    }
    const double scale = 72.0 / kDpi;
    boxes.push_back(box.right == 0 ? TextBox{}
                                   : TextBox{static_cast<int>(box.left * scale), static_cast<int>(box.top * scale),
                                             static_cast<int>(box.right * scale), static_cast<int>(box.bottom * scale)});
  }
  return boxes;
}

class WordTablesPicturesTest : public test::RecognitionJobTest {};

struct ModeCase {
  int recognizeMode;
  const char* name;
  bool tables;    // a table in the document, or tab-separated rows
  bool pictures;
};
constexpr ModeCase kModes[] = {{0, "exact", true, true}, {1, "editable", true, true},
                               {2, "formatted", true, true}, {3, "plain", false, false}};

TEST_F(WordTablesPicturesTest, EveryModeKeepsTheTableAsATableAndThePhotoAsAPicture) {
  if (!test::HasSoffice() || !test::HasPdftotext()) GTEST_SKIP() << "LibreOffice or poppler-utils missing";
  const std::vector<Page> pages = Pages();
  std::vector<PixPtr> images;
  std::string known, captionFirst;
  for (const Page& page : pages) {
    images.push_back(Render(page));
    known += page.known;
    captionFirst += page.captionFirst;
  }
  test::WritePageTiff(In("scan.tif"), images);
  settings_.OCR.KeepTextAndBackgroundColor = 0;
  std::vector<std::string> documents;
  for (const ModeCase& mode : kModes) {
    for (int outputType : {1, 2}) {
      settings_.OCR.RecognizeMode = static_cast<int16_t>(mode.recognizeMode);
      settings_.OCR.OutputType = static_cast<int16_t>(outputType);
      ConvertFiles2WordJob job(engine_);
      ASSERT_EQ(RunJob(job).Successes, 1u) << mode.name;
      const std::string extension = outputType == 1 ? ".docx" : ".rtf";
      // Stems differ, so that each document prints into a file of its own.
      documents.push_back(dir_.File(std::string(mode.name) + "-" + extension.substr(1) + extension));
      std::filesystem::rename(Out("scan" + extension), documents.back());
    }
  }
  const std::vector<std::string> pdfs = test::OfficeConvertedFiles(documents, "pdf", ".pdf", dir_.File("printed"));
  const std::vector<std::string> texts = test::OfficeConvertedFiles(documents, "txt:Text", ".txt", dir_.File("text"));
  test::KeepPrints(pdfs, "objects-");
  for (std::size_t i = 0; i < documents.size(); ++i) {
    const ModeCase& mode = kModes[i / 2];
    const std::string name = std::filesystem::path(documents[i]).filename().string();
    SCOPED_TRACE(name);
    const std::vector<test::PrintedPage> printed = test::PrintedPdfPages(pdfs[i]);
    std::size_t overlapping = 0;
    for (const test::PrintedPage& page : printed) overlapping += test::OverlappingWords(page).size();
    std::string text = test::WithoutByteOrderMark(test::ReadBytes(texts[i]));
    const bool tabs = text.find('\t') != std::string::npos;
    std::replace(text.begin(), text.end(), '\t', '\n');
    const double textErrors =
        std::min(test::CharacterErrors(text, known).Rate(), test::CharacterErrors(text, captionFirst).Rate());
    // The ruled table, where the mode keeps tables: 5 x 5, cells as known.
    int tableRows = 0, tableColumns = 0, wellRead = 0, middle = 0, filled = 0;
    double cellErrors = 1;
    for (const ReadTable& table : OfficeTables(documents[i])) {
      const double errors = test::CharacterErrors(table.text, KnownCells()).Rate();
      if (errors <= kMostErrors && table.rows == 5 && table.columns == 5) {
        ++wellRead;
        // The scan sets each cell's text in the middle of its height.
        EXPECT_EQ(table.middle, table.filled);
        middle += table.middle;
        filled += table.filled;
      }
      if (errors < cellErrors) std::tie(cellErrors, tableRows, tableColumns) = std::tie(errors, table.rows, table.columns);
    }
    const std::vector<std::pair<double, double>> pictures = PrintedImages(pdfs[i]);
    // Each picture: at its place on the page in the exact copy, under the
    // text above it and over the text below it in the flowing modes, and
    // no printed word over it.
    const std::vector<TextBox> colour = PrintedColourBoxes(pdfs[i], dir_.File("colour" + std::to_string(i)));
    std::string placement;
    for (std::size_t page = 0; page < pages.size() && page < colour.size() && page < printed.size(); ++page) {
      const TextBox& at = colour[page];
      if (pages[page].photo.right == 0 || !mode.pictures) {
        EXPECT_EQ(at.right, 0) << "colour on page " << page + 1;
        continue;
      }
      const double toPoints = 72.0 / 300;
      placement += " page " + std::to_string(page + 1) + " at " + std::to_string(at.left) + "," + std::to_string(at.top) +
                   " pt (scan " + std::to_string(static_cast<int>(pages[page].photo.left * toPoints)) + "," +
                   std::to_string(static_cast<int>(pages[page].photo.top * toPoints)) + ")";
      if (mode.recognizeMode == 0) {
        EXPECT_NEAR(at.left, pages[page].photo.left * toPoints, 12) << "page " << page + 1;
        EXPECT_NEAR(at.top, pages[page].photo.top * toPoints, 12) << "page " << page + 1;
      }
      // Boxes of words reach from the type's ascent to its descent, and
      // the colour is measured to two points.
      constexpr double kSlack = 2;
      for (const test::PrintedWord& word : printed[page].words) {
        const bool over = word.left < at.right - kSlack && word.right > at.left + kSlack &&
                          word.top < at.bottom - kSlack && word.bottom > at.top + kSlack;
        EXPECT_FALSE(over) << word.text << " printed over the picture on page " << page + 1;
        if (std::string(kAbove).find(word.text) == 0) {
          EXPECT_LE(word.bottom, at.top + kSlack) << word.text;
        }
        if (std::string(kBelow).find(word.text) == 0) {
          EXPECT_GE(word.top, at.bottom - kSlack) << word.text;
        }
      }
    }
    std::printf("%-15s pages %zu, words over words %zu, text errors %.2f %%, tables read well %d, best %d x %d "
                "with cell errors %.2f %%, %d of %d cells' text in the middle, pictures %zu",
                name.c_str(), printed.size(), overlapping, 100 * textErrors, wellRead, tableRows, tableColumns,
                100 * cellErrors, middle, filled, pictures.size());
    for (const auto& [w, h] : pictures) std::printf(" %.0fx%.0f pt", w, h);
    std::printf("%s\n", placement.c_str());
    EXPECT_EQ(printed.size(), pages.size());
    EXPECT_EQ(overlapping, 0u);
    EXPECT_LE(textErrors, kMostErrors) << text;
    if (mode.tables) {
      // Two tables (pages 1 and 3), each read as 5 rows of 5 columns.
      EXPECT_EQ(wellRead, 2);
    } else {
      EXPECT_TRUE(tabs);
    }
    // A photograph on pages 2 and 3, each 900 x 680 pixels: 216 x 163 points.
    EXPECT_EQ(pictures.size(), mode.pictures ? 2u : 0u);
    for (const auto& [w, h] : pictures) {
      EXPECT_NEAR(w, 216, 216 * 0.15);
      EXPECT_NEAR(h, 163, 163 * 0.15);
    }
  }
}

TEST_F(WordTablesPicturesTest, DualLayerTextLayerReadsThePictureAndTablePagesAsPrinted) {
  if (!test::HasPdftotext()) GTEST_SKIP() << "poppler-utils missing";
  const std::vector<Page> pages = Pages();
  std::vector<PixPtr> images;
  for (const Page& page : pages) images.push_back(Render(page));
  test::WritePageTiff(In("scan.tif"), images);
  test::UsePlainDualLayerPdf(settings_);
  ConvertFiles22PdfJob job(engine_);
  ASSERT_EQ(RunJob(job).Successes, 1u);
  for (std::size_t page = 0; page < pages.size(); ++page) {
    const std::string text = test::PdfText(Out("scan.pdf"), static_cast<int>(page) + 1);
    const double errors = test::CharacterErrors(text, pages[page].known).Rate();
    std::printf("dual-layer page %zu: character errors %.2f %%\n", page + 1, 100 * errors);
    EXPECT_LE(errors, kMostErrors) << text;
  }
}

}  // namespace
}  // namespace zelk
