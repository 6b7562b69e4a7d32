// Ink and paper colours sampled from rendered pages into hand-made layouts.
#include <gtest/gtest.h>

#include "documents/LayoutColours.h"
#include "documents/WordExport.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kNavy{0, 0, 128};

// A block holding one line with one word per drawn line of `text`, boxes
// around where the renderer set them (Chinese characters one em wide).
LayoutBlock BlockAround(const ocrtest::TextBlockSpec& text, int charactersPerLine) {
  LayoutBlock block;
  LayoutParagraph paragraph;
  const int advance = static_cast<int>(text.pixelSize * text.lineSpacing);
  for (std::size_t i = 0; i < text.lines.size(); ++i) {
    const int top = text.top + static_cast<int>(i) * advance;
    LayoutWord word;
    word.text = text.lines[i];
    word.box = TextBox{text.left, top, text.left + charactersPerLine * text.pixelSize,
                       top + text.pixelSize * 5 / 4};
    word.color = Rgb{1, 2, 3};  // must be overwritten
    LayoutLine line;
    line.box = word.box;
    line.words.push_back(word);
    paragraph.lines.push_back(line);
  }
  paragraph.box = paragraph.lines.front().box;
  paragraph.box.bottom = paragraph.lines.back().box.bottom;
  block.box = TextBox{paragraph.box.left - 20, paragraph.box.top - 20, paragraph.box.right + 20,
                      paragraph.box.bottom + 20};
  block.paragraphs.push_back(paragraph);
  block.background = Rgb{4, 5, 6};  // must be overwritten
  return block;
}

Page PageOf(PixPtr pix) {
  Page page;
  page.xDpi = page.yDpi = 300;
  page.pix = std::move(pix);
  return page;
}

std::vector<Rgb> WordColours(const LayoutBlock& block) {
  std::vector<Rgb> colours;
  for (const auto& paragraph : block.paragraphs)
    for (const auto& line : paragraph.lines)
      for (const auto& word : line.words) colours.push_back(word.color);
  return colours;
}

const ocrtest::TextBlockSpec kBody{100, 400, 44, 1.8, kBlackInk, {"正文第一行文字", "正文第二行文字"}};
const ocrtest::TextBlockSpec kHeading{100, 100, 80, 1.5, kRed, {"彩色标题"}};

ocrtest::LayoutPageSpec HeadingAndBodyPage() {
  ocrtest::LayoutPageSpec spec;
  spec.width = 1000;
  spec.height = 700;
  spec.blocks = {kHeading, kBody};
  return spec;
}

PageLayout HeadingAndBodyLayout() {
  PageLayout layout;
  layout.width = 1000;
  layout.height = 700;
  layout.dpi = 300;
  layout.blocks = {BlockAround(kHeading, 4), BlockAround(kBody, 7)};
  return layout;
}

TEST(LayoutColours, ColourPageGivesExactBlackOnWhiteAndTheHeadingsRed) {
  Page page = PageOf(ocrtest::RenderLayoutPage(HeadingAndBodyPage()));
  PageLayout layout = HeadingAndBodyLayout();
  SampleLayoutColours(page, layout);
  EXPECT_EQ(layout.blocks[0].background, kWhitePaper);
  EXPECT_EQ(layout.blocks[1].background, kWhitePaper);
  EXPECT_EQ(WordColours(layout.blocks[0]), std::vector<Rgb>{kRed});
  EXPECT_EQ(WordColours(layout.blocks[1]), (std::vector<Rgb>{kBlackInk, kBlackInk}));
}

TEST(LayoutColours, EveryPixelFormatOfABlackAndWhiteScanGivesBlackOnWhite) {
  ocrtest::TextPageSpec spec;
  spec.width = 1000;
  spec.height = 700;
  spec.margin = 100;
  spec.lines = kBody.lines;
  PixPtr grey = ocrtest::RenderTextPage(spec);
  std::vector<std::pair<const char*, PixPtr>> formats;
  formats.emplace_back("1-bit", ocrtest::Binarize(grey));
  formats.emplace_back("4-bit grey", PixPtr(pixConvert8To4(grey.get())));
  formats.emplace_back("16-bit grey", PixPtr(pixConvert8To16(grey.get(), 8)));
  formats.emplace_back("palette", PixPtr(pixConvertGrayToColormap8(grey.get(), 2)));
  formats.emplace_back("RGB", PixPtr(pixConvertTo32(grey.get())));
  formats.emplace_back("8-bit grey", std::move(grey));
  ocrtest::TextBlockSpec drawn = kBody;
  drawn.top = spec.margin;
  for (auto& [name, pix] : formats) {
    ASSERT_NE(pix, nullptr) << name;
    Page page = PageOf(std::move(pix));
    PageLayout layout;
    layout.blocks = {BlockAround(drawn, 7)};
    SampleLayoutColours(page, layout);
    EXPECT_EQ(layout.blocks[0].background, kWhitePaper) << name;
    EXPECT_EQ(WordColours(layout.blocks[0]), (std::vector<Rgb>{kBlackInk, kBlackInk})) << name;
  }
}

TEST(LayoutColours, ScannerGreysSnapToBlackAndWhiteButColoursAndShadingStay) {
  // Dark grey ink on off-white paper, as a colour scan of a black and white
  // page gives it.
  ocrtest::LayoutPageSpec spec = HeadingAndBodyPage();
  spec.paper = Rgb{242, 240, 236};
  spec.blocks[0].color = Rgb{0x12, 0x12, 0x12};
  spec.blocks[1].color = Rgb{40, 36, 48};
  Page page = PageOf(ocrtest::RenderLayoutPage(spec));
  PageLayout layout = HeadingAndBodyLayout();
  SampleLayoutColours(page, layout);
  EXPECT_EQ(layout.blocks[0].background, kWhitePaper);
  EXPECT_EQ(WordColours(layout.blocks[0]), std::vector<Rgb>{kBlackInk});
  EXPECT_EQ(WordColours(layout.blocks[1]), (std::vector<Rgb>{kBlackInk, kBlackInk}));

  EXPECT_EQ(SnapScanColour(Rgb{0xD9, 0xD9, 0xD9}), (Rgb{0xD9, 0xD9, 0xD9}));
  EXPECT_EQ(SnapScanColour(Rgb{0, 0, 60}), (Rgb{0, 0, 60}));
  EXPECT_EQ(SnapScanColour(Rgb{250, 250, 200}), (Rgb{250, 250, 200}));
  EXPECT_EQ(SnapScanColour(Rgb{60, 64, 58}), kBlackInk);
}

TEST(LayoutColours, WhiteTextOnADarkBlueBoxKeepsBothColours) {
  ocrtest::LayoutPageSpec spec = HeadingAndBodyPage();
  spec.fills.push_back({60, 360, 900, 600, kNavy});
  spec.blocks[1].color = kWhitePaper;
  Page page = PageOf(ocrtest::RenderLayoutPage(spec));
  PageLayout layout = HeadingAndBodyLayout();
  SampleLayoutColours(page, layout);
  EXPECT_EQ(layout.blocks[1].background, kNavy);
  EXPECT_EQ(WordColours(layout.blocks[1]), (std::vector<Rgb>{kWhitePaper, kWhitePaper}));
  EXPECT_EQ(layout.blocks[0].background, kWhitePaper);
  EXPECT_EQ(WordColours(layout.blocks[0]), std::vector<Rgb>{kRed});
}

TEST(LayoutColours, BoxesReachingPastThePageAreClampedAndPicturesLeftAlone) {
  Page page = PageOf(ocrtest::RenderLayoutPage(HeadingAndBodyPage()));
  PageLayout layout = HeadingAndBodyLayout();
  layout.blocks[1].box = TextBox{-500, 300, 5000, 9000};
  layout.blocks[1].paragraphs[0].lines[1].words[0].box = TextBox{2000, 2000, 2100, 2100};
  LayoutBlock picture;
  picture.kind = BlockKind::Image;
  picture.box = TextBox{100, 100, 400, 200};  // over the red heading
  layout.blocks.push_back(picture);
  SampleLayoutColours(page, layout);
  EXPECT_EQ(layout.blocks[1].background, kWhitePaper);
  // A word wholly off the page has no ink to sample: the contrast colour.
  EXPECT_EQ(WordColours(layout.blocks[1]), (std::vector<Rgb>{kBlackInk, kBlackInk}));
  EXPECT_EQ(layout.blocks[2].background, kWhitePaper);
}

TEST(LayoutColours, BlankWordBoxGivesTheColourThatContrastsWithThePaper) {
  EXPECT_EQ(InkColour({}, kWhitePaper), kBlackInk);
  EXPECT_EQ(InkColour(std::vector<Rgb>(50, kNavy), kNavy), kWhitePaper);
  EXPECT_EQ(DominantColour({}), kWhitePaper);
}

}  // namespace
}  // namespace zelk
