#include "imaging/PdfTextLayer.h"
#include "imaging/PdfWriter.h"
#include "PdfTest_helpers.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <utility>

namespace zelk {
namespace {

using namespace pdftest;

// Words laid out from `left` on a line whose top is `top`, each `charWidth`
// pixels a character with `gap` pixels between words.  `rise` lifts each
// further word by that many pixels, as on a skewed scan.
TextLine MakeLine(const std::vector<std::pair<std::string, bool>>& words, int left, int top,
                  int charWidth, int gap, int rise = 0) {
  TextLine line;
  const int height = 60;
  int x = left;
  int wordTop = top;
  for (const auto& [text, spaceAfter] : words) {
    const int chars = static_cast<int>(DecodeUtf8(text, Utf8Decoding::Strict).size());
    TextWord word;
    word.text = text;
    word.spaceAfter = spaceAfter;
    word.box = {x, wordTop, x + chars * charWidth, wordTop + height};
    line.words.push_back(word);
    x = word.box.right + gap;
    wordTop -= rise;
  }
  line.box = {left, top - rise * static_cast<int>(words.size()), x - gap, top + height};
  line.baseline = top + 48;
  return line;
}

PageText SampleText() {
  PageText text;
  // Chinese words as recognition returns them: short runs, small gaps.
  text.lines.push_back(
      MakeLine({{"中华", false}, {"人民", false}, {"共和国", false}, {"办法", false}}, 200, 300,
               60, 14));
  text.lines.push_back(
      MakeLine({{"Hello", true}, {"world,", true}, {"again.", false}}, 200, 420, 32, 30));
  text.lines.push_back(
      MakeLine({{"使用", true}, {"PDF", true}, {"文件", false}, {"检索", false}}, 200, 540, 60, 24));
  // A skewed line: every word a few pixels higher than the one before.
  text.lines.push_back(MakeLine({{"第一条", false}, {"规定", false}, {"如下", true},
                                 {"Scanned", true}, {"page", false}},
                                200, 680, 55, 18, 6));
  return text;
}

const char* const kSampleLines[] = {"中华人民共和国办法", "Hello world, again.",
                                    "使用 PDF 文件检索", "第一条规定如下 Scanned page"};

std::vector<std::string> NonEmptyLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\f')) line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::string WriteTextPdf(const ScratchDir& dir, const std::string& name, TextLayerOrder order,
                         const PageText& text, int pages = 1) {
  const std::string pdf = dir / name;
  PdfPageOptions options;
  options.text = &text;
  options.textOrder = order;
  PdfDocumentWriter writer(pdf);
  for (int i = 0; i < pages; ++i) {
    writer.AddPage(WhitePage(1654, 1169, 200), {146, 8, 128}, options);
  }
  writer.Finish();
  return pdf;
}

TEST(PdfTextLayer, TextIsExtractedInOrderWithBlanksOnlyBetweenLatinWords) {
  ScratchDir dir;
  const PageText text = SampleText();
  for (TextLayerOrder order : {TextLayerOrder::TextOverImage, TextLayerOrder::TextUnderImage}) {
    const std::string pdf = WriteTextPdf(dir, "text.pdf", order, text);
    std::string report;
    EXPECT_TRUE(QpdfCheckClean(pdf, &report)) << report;
    const CommandResult extracted = RunCommand("pdftotext -enc UTF-8 " + Quote(pdf) + " -");
    EXPECT_EQ(extracted.exitCode, 0);
    EXPECT_TRUE(extracted.err.empty()) << extracted.err;
    const std::vector<std::string> expected(std::begin(kSampleLines), std::end(kSampleLines));
    EXPECT_EQ(NonEmptyLines(extracted.out), expected) << extracted.out;
    // The physical layout mode, which viewers' selection resembles, agrees.
    const CommandResult layout = RunCommand("pdftotext -layout -enc UTF-8 " + Quote(pdf) + " -");
    EXPECT_NE(layout.out.find("中华人民共和国办法"), std::string::npos) << layout.out;
    EXPECT_NE(layout.out.find("Hello world, again."), std::string::npos) << layout.out;
    // Ghostscript's extraction reads each character through the ToUnicode
    // map too (it garbled every Chinese character of a map of ranges).
    const CommandResult gs = RunCommand(
        "gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile=- " + Quote(pdf));
    if (gs.exitCode == 127) continue;  // Ghostscript not installed
    std::string gsText;
    for (char c : gs.out) {
      if (c != ' ' && c != '\n' && c != '\r') gsText += c;
    }
    for (const std::string& line : expected) {
      std::string packed;
      for (char c : line) {
        if (c != ' ') packed += c;
      }
      EXPECT_NE(gsText.find(packed), std::string::npos) << packed << " in " << gs.out;
    }
  }
}

TEST(PdfTextLayer, FontIsEmbeddedWithAUnicodeMap) {
  ScratchDir dir;
  const std::string pdf =
      WriteTextPdf(dir, "fonts.pdf", TextLayerOrder::TextOverImage, SampleText(), 3);
  const CommandResult fonts = RunCommand("pdffonts " + Quote(pdf));
  ASSERT_EQ(fonts.exitCode, 0);
  const std::vector<std::string> lines = NonEmptyLines(fonts.out);
  ASSERT_EQ(lines.size(), 3u) << fonts.out << "one font for the whole document";
  std::istringstream row(lines[2]);
  std::string name, cid, trueType, encoding, emb, sub, uni;
  row >> name >> cid >> trueType >> encoding >> emb >> sub >> uni;
  EXPECT_EQ(name, "ZelkTextLayer");
  EXPECT_EQ(cid + " " + trueType, "CID TrueType");
  EXPECT_EQ(encoding, "Identity-H");
  EXPECT_EQ(emb, "yes");
  EXPECT_EQ(uni, "yes");
}

TEST(PdfTextLayer, NothingOfTheTextIsPainted) {
  ScratchDir dir;
  auto render = [&](const std::string& pdf, const std::string& prefix) {
    // Rendering loads the embedded font: any complaint shows on stderr.
    const CommandResult result =
        RunCommand("pdftoppm -r 40 -gray " + Quote(pdf) + " " + Quote(dir / prefix));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.err.empty()) << result.err;
    return PixPtr(pixRead((dir / (prefix + "-1.pgm")).c_str()));
  };
  const PixPtr plain =
      render(WriteTextPdf(dir, "plain.pdf", TextLayerOrder::TextOverImage, PageText{}), "plain");
  ASSERT_TRUE(plain);
  for (TextLayerOrder order : {TextLayerOrder::TextOverImage, TextLayerOrder::TextUnderImage}) {
    const PixPtr withText = render(WriteTextPdf(dir, "text.pdf", order, SampleText()), "text");
    ASSERT_TRUE(withText);
    l_int32 same = 0;
    pixEqual(plain.get(), withText.get(), &same);
    EXPECT_TRUE(same) << "the page looks the same with its text layer";
  }
}

TEST(PdfTextLayer, CharactersBeyondTheBasicPlaneSurvive) {
  ScratchDir dir;
  PageText text;
  text.lines.push_back(MakeLine({{"𠮷野家", false}, {"𩸽", false}, {"😀", false}}, 100, 100, 60, 5));
  text.lines.push_back(MakeLine({{"bad\xff", false}}, 100, 300, 40, 5));
  const std::string pdf = WriteTextPdf(dir, "astral.pdf", TextLayerOrder::TextOverImage, text);
  const CommandResult extracted = RunCommand("pdftotext -enc UTF-8 " + Quote(pdf) + " -");
  const std::vector<std::string> expected = {"𠮷野家𩸽😀", "bad\xEF\xBF\xBD"};
  EXPECT_EQ(NonEmptyLines(extracted.out), expected) << extracted.out;
}

TEST(PdfTextLayer, TextFollowsTheImageOntoFittedPaper) {
  // On a standard sheet the image is scaled and centred; the words must
  // sit where the image shows them (pdftotext -bbox gives their places).
  ScratchDir dir;
  PageText text;
  text.lines.push_back(MakeLine({{"Corner", false}}, 0, 0, 40, 0));
  const std::string pdf = dir / "fitted.pdf";
  PdfPageOptions options;
  options.text = &text;
  options.exactImageSize = false;
  // 2450 x 3480 pixels at 300 dpi is within 3 % of A4: fitted, centred.
  SavePdfPage(WhitePage(2450, 3480, 300), pdf, {150, 8, 130}, false, options);
  const CommandResult boxes = RunCommand("pdftotext -bbox " + Quote(pdf) + " -");
  const size_t at = boxes.out.find("<word xMin=\"");
  ASSERT_NE(at, std::string::npos) << boxes.out;
  const double xMin = std::stod(boxes.out.substr(at + 12));
  const double scale = std::min(595.2756 / (2450 / 300.0 * 72), 841.8898 / (3480 / 300.0 * 72));
  const double imageLeft = (595.2756 - 2450 / 300.0 * 72 * scale) / 2;
  EXPECT_NEAR(xMin, imageLeft, 0.5);
}

// The first box of `kind` ("word" or "line") pdftotext -bbox-layout gives:
// its left and top, in points from the shown page's top left corner.
std::pair<double, double> FirstBox(const std::string& pdf, const std::string& kind) {
  const CommandResult boxes = RunCommand("pdftotext -bbox-layout " + Quote(pdf) + " -");
  const size_t at = boxes.out.find("<" + kind + " xMin=\"");
  EXPECT_NE(at, std::string::npos) << boxes.out;
  if (at == std::string::npos) return {0, 0};
  double xMin = 0, yMin = 0;
  std::sscanf(boxes.out.c_str() + at + kind.size() + 1, " xMin=\"%lf\" yMin=\"%lf\"", &xMin, &yMin);
  return {xMin, yMin};
}

TEST(PdfTextLayer, TextReadOnTheTurnedImageIsShownUprightOverItsWords) {
  // The stored image lies on its side or upside down; recognition read it
  // turned upright, so the text's coordinates are the upright page's.  The
  // page is shown turned the same way, and its text reads in order where
  // the upright page shows it.
  ScratchDir dir;
  for (int turns = 1; turns <= 3; ++turns) {
    PageText text = SampleText();
    text.frame.quarterTurns = turns;
    const int width = turns % 2 == 1 ? 1169 : 1654;  // the stored image: upright 1654 x 1169
    const int height = turns % 2 == 1 ? 1654 : 1169;
    const std::string pdf = dir / ("turned" + std::to_string(turns) + ".pdf");
    PdfPageOptions options;
    options.text = &text;
    SavePdfPage(WhitePage(width, height, 200), pdf, {146, 8, 128}, false, options);
    std::string report;
    EXPECT_TRUE(QpdfCheckClean(pdf, &report)) << report;
    const CommandResult info = RunCommand("pdfinfo " + Quote(pdf));
    EXPECT_NE(info.out.find("Page rot:        " + std::to_string(90 * turns)), std::string::npos) << info.out;
    const CommandResult extracted = RunCommand("pdftotext -enc UTF-8 " + Quote(pdf) + " -");
    const std::vector<std::string> expected(std::begin(kSampleLines), std::end(kSampleLines));
    EXPECT_EQ(NonEmptyLines(extracted.out), expected) << "turned " << turns;
    // The first word starts 200 pixels from the left and its line's box
    // spans 300 to 360 pixels from the top of the upright page, at 200 dpi.
    const auto [x, y] = FirstBox(pdf, "word");
    EXPECT_NEAR(x, 200 * 0.36, 1) << "turned " << turns;
    EXPECT_GE(y, 300 * 0.36 - 1) << "turned " << turns;
    EXPECT_LE(y, 360 * 0.36) << "turned " << turns;
  }
}

TEST(PdfTextLayer, TextReadOnTheStraightenedImageLiesLevelWhereItsLineIsOnTheImage) {
  // A short line left of the middle of a page that was straightened by
  // turning it 3 degrees clockwise: on the image as stored (turned 3 degrees
  // the other way) that line lies lower, by about sin 3 degrees times its
  // distance from the middle, and is still extracted as one level line.
  ScratchDir dir;
  auto write = [&](double skew, const std::string& name) {
    PageText text;
    text.lines.push_back(MakeLine({{"第一条", false}, {"规定", false}}, 100, 1000, 60, 0));
    text.frame.skewDegrees = skew;
    const std::string pdf = dir / name;
    PdfPageOptions options;
    options.text = &text;
    SavePdfPage(WhitePage(2000, 2000, 200), pdf, {146, 8, 128}, false, options);
    return pdf;
  };
  const std::string straight = write(0, "straight.pdf");
  const std::string skewed = write(3, "skewed.pdf");
  const double middleToCentre = 1000 - (100 + 5 * 60 / 2.0);  // pixels
  const double lower = middleToCentre * std::sin(3 * M_PI / 180) * 0.36;  // points
  EXPECT_NEAR(FirstBox(skewed, "line").second - FirstBox(straight, "line").second, lower, 1.5);
  const CommandResult extracted = RunCommand("pdftotext -enc UTF-8 " + Quote(skewed) + " -");
  EXPECT_EQ(NonEmptyLines(extracted.out), std::vector<std::string>{"第一条规定"});
}

TEST(PdfTextLayer, AWordWhoseBoxFallsShortStaysWholeOnItsLine) {
  // The recogniser can box only the end of a word, far from the word before
  // it: the line must still extract as one line with every character.
  ScratchDir dir;
  PageText text;
  TextLine line = MakeLine({{"按照", false}, {"经济", true}}, 200, 300, 60, 0);
  TextWord piece;
  piece.text = "2024，。";
  piece.box = {line.box.right + 150, 345, line.box.right + 162, 357};
  line.words.push_back(piece);
  line.box.right = piece.box.right;
  text.lines.push_back(line);
  text.lines.push_back(MakeLine({{"下一行", false}}, 200, 420, 60, 0));
  text.lines.push_back(MakeLine({{"第三行", false}}, 200, 540, 60, 0));
  const std::string pdf = WriteTextPdf(dir, "piece.pdf", TextLayerOrder::TextOverImage, text);
  const CommandResult extracted = RunCommand("pdftotext -enc UTF-8 " + Quote(pdf) + " -");
  EXPECT_EQ(NonEmptyLines(extracted.out),
            (std::vector<std::string>{"按照经济 2024，。", "下一行", "第三行"}));
}

TEST(PdfTextLayer, EncodingOfCodePoints) {
  TextLayerEncoding encoding;
  EXPECT_EQ(encoding.CodeFor(U'A'), 0x41);
  EXPECT_EQ(encoding.CodeFor(U'中'), 0x4E2D);
  EXPECT_EQ(encoding.CodeFor(0x20BB7), 0xD800);
  EXPECT_EQ(encoding.CodeFor(0x1F600), 0xD801);
  EXPECT_EQ(encoding.CodeFor(0x20BB7), 0xD800) << "the same code again";
  EXPECT_EQ(encoding.CodeFor(0xD800), 0xFFFD) << "a lone surrogate is no character";
  for (char32_t c = 0x30000; c < 0x30000 + 3000; ++c) encoding.CodeFor(c);
  EXPECT_EQ(encoding.CodeFor(0x31000), 0xFFFD) << "beyond 2048 astral characters";
  const std::string cmap = encoding.ToUnicodeCMap();
  EXPECT_NE(cmap.find("<D800> <D842DFB7>"), std::string::npos);
  EXPECT_NE(cmap.find("<4E2D> <4E2D>"), std::string::npos);
  EXPECT_EQ(cmap.find("<4E2E>"), std::string::npos) << "only the codes used";
  EXPECT_EQ(cmap.find("bfrange"), std::string::npos) << "ranges are misread by some readers";
}

}  // namespace
}  // namespace zelk
