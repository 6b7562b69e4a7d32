#include "imaging/CcittEncoder.h"
#include "imaging/JpegEncoder.h"
#include "imaging/PdfImageEncoder.h"
#include "imaging/PdfWriter.h"
#include "PdfTest_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <fstream>
#include <locale>
#include <stdexcept>

namespace zelk {
namespace {

using namespace pdftest;

struct Step {
  std::string what;
  Page page;
  int code;
  int bits;
  std::string color;  // as pdfimages reports it
  int bpc;
  std::string enc;
};

std::vector<Step> EveryCode() {
  std::vector<Step> steps;
  steps.push_back({"146 bitonal", BitonalPage(400, 300, 200), 146, 1, "gray", 1, "image"});
  steps.push_back({"146 grey", GreyPage(400, 300, 200), 146, 8, "gray", 8, "image"});
  steps.push_back({"146 colour", ColourPage(400, 300, 200), 146, 24, "rgb", 8, "image"});
  steps.push_back({"147", BitonalPage(400, 300, 200), 147, 1, "gray", 1, "ccitt"});
  steps.push_back({"148", BitonalPage(400, 300, 200), 148, 1, "gray", 1, "ccitt"});
  steps.push_back({"149", BitonalPage(400, 300, 200), 149, 1, "gray", 1, "ccitt"});
  steps.push_back({"150", ColourPage(400, 300, 200), 150, 24, "rgb", 8, "jpeg"});
  steps.push_back({"151", ColourPage(400, 300, 200), 151, 24, "rgb", 8, "jpeg"});
  steps.push_back({"152", ColourPage(400, 300, 200), 152, 24, "rgb", 8, "jpeg"});
  steps.push_back({"150 grey", GreyPage(400, 300, 200), 150, 8, "gray", 8, "jpeg"});
  steps.push_back({"151 palette with colours at 8 bits", PalettePage(400, 300, 200, true), 151,
                   8, "rgb", 8, "jpeg"});
  steps.push_back({"146 grey palette", PalettePage(400, 300, 200, false), 146, 8, "gray", 8,
                   "image"});
  steps.push_back({"146 colour palette", PalettePage(400, 300, 200, true), 146, 8, "rgb", 8,
                   "image"});
  return steps;
}

// Luma sampling factors (horizontal, vertical) of a baseline JPEG file.
std::pair<int, int> LumaSampling(const std::vector<uint8_t>& jpeg) {
  for (size_t i = 2; i + 12 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      const uint8_t factors = jpeg[i + 11];  // first component's sampling byte
      return {factors >> 4, factors & 0x0F};
    }
  }
  return {0, 0};
}

TEST(PdfWriter, EveryFormatCodeAppendedPageByPage) {
  ScratchDir dir;
  const std::string pdf = dir / "all.pdf";
  const std::vector<Step> steps = EveryCode();
  for (const Step& s : steps) SavePdfPage(s.page, pdf, {s.code, s.bits, 130}, true);

  std::string report;
  EXPECT_TRUE(QpdfCheckClean(pdf, &report)) << report;
  EXPECT_EQ(PageSizes(pdf).size(), steps.size());
  const std::vector<ListedImage> images = ListImages(pdf);
  ASSERT_EQ(images.size(), steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(images[i].page, static_cast<int>(i + 1)) << steps[i].what;
    EXPECT_EQ(images[i].enc, steps[i].enc) << steps[i].what;
    EXPECT_EQ(images[i].color, steps[i].color) << steps[i].what;
    EXPECT_EQ(images[i].bpc, steps[i].bpc) << steps[i].what;
    EXPECT_EQ(images[i].width, 400) << steps[i].what;
    EXPECT_EQ(images[i].height, 300) << steps[i].what;
  }

  // The DCT codes carry their chroma subsampling (pages 7, 8, 9).
  ASSERT_EQ(RunCommand("pdfimages -j -f 7 -l 9 " + Quote(pdf) + " " + Quote(dir / "dct")).exitCode,
            0);
  EXPECT_EQ(LumaSampling(ReadBytes(dir / "dct-000.jpg")), std::make_pair(1, 1));
  EXPECT_EQ(LumaSampling(ReadBytes(dir / "dct-001.jpg")), std::make_pair(2, 1));
  EXPECT_EQ(LumaSampling(ReadBytes(dir / "dct-002.jpg")), std::make_pair(4, 1));
}

// The page's pixels as the image a reader extracts should show them.
PixPtr Expected(const Page& page) {
  PIX* pix = page.pix.get();
  if (pixGetColormap(pix)) return PixPtr(pixRemoveColormap(pix, REMOVE_CMAP_BASED_ON_SRC));
  return PixPtr(pixClone(pix));
}

TEST(PdfWriter, LosslessCodesKeepEveryPixel) {
  ScratchDir dir;
  std::vector<Step> lossless;
  for (Step& s : EveryCode()) {
    if (s.enc != "jpeg") {
      lossless.push_back(std::move(s));
    }
  }
  // Odd widths exercise the padding at the end of each row.
  lossless.push_back({"149 odd width", BitonalPage(333, 101, 300), 149, 1, "", 0, ""});
  lossless.push_back({"147 odd width", BitonalPage(333, 101, 300), 147, 1, "", 0, ""});
  lossless.push_back({"146 odd width", BitonalPage(333, 101, 300), 146, 1, "", 0, ""});
  for (size_t i = 0; i < lossless.size(); ++i) {
    const Step& s = lossless[i];
    const std::string pdf = dir / ("page" + std::to_string(i) + ".pdf");
    SavePdfPage(s.page, pdf, {s.code, s.bits, 128}, false);
    const std::string prefix = dir / ("img" + std::to_string(i));
    ASSERT_EQ(RunCommand("pdfimages -png " + Quote(pdf) + " " + Quote(prefix)).exitCode, 0);
    PixPtr extracted(pixRead((prefix + "-000.png").c_str()));
    ASSERT_TRUE(extracted) << s.what;
    PixPtr expected = Expected(s.page);
    l_int32 same = 0;
    pixEqual(extracted.get(), expected.get(), &same);
    EXPECT_TRUE(same) << s.what << ": extracted depth " << pixGetDepth(extracted.get());
  }
}

TEST(PdfWriter, PageSizeFollowsResolutionPairAndSwitch) {
  struct Case {
    std::string what;
    int width, height, pageDpi;
    PdfPageOptions options;
    double pageWidth, pageHeight;  // points
    double ppi;                    // effective image resolution
  };
  auto opts = [](int x, int y, bool exact) {
    PdfPageOptions o;
    o.xDpi = x;
    o.yDpi = y;
    o.exactImageSize = exact;
    return o;
  };
  const std::vector<Case> cases = {
      {"exact size at the pair", 2480, 3508, 200, opts(300, 300, true), 595.2, 841.92, 300},
      {"page's own resolution", 1000, 500, 100, opts(0, 0, true), 720, 360, 100},
      {"no resolution anywhere: 300", 600, 300, 0, opts(0, 0, true), 144, 72, 300},
      {"different x and y", 600, 600, 0, opts(300, 150, true), 144, 288, 0},
      {"near A4: A4", 2480, 3508, 300, opts(300, 300, false), 595.28, 841.89, 0},
      {"near A4 landscape", 3508, 2480, 300, opts(300, 300, false), 841.89, 595.28, 0},
      {"2.9 % above A4", 2552, 3609, 300, opts(300, 300, false), 595.28, 841.89, 0},
      {"Letter", 2550, 3300, 300, opts(300, 300, false), 612, 792, 300},
      {"Legal", 1275, 2100, 150, opts(150, 150, false), 612, 1008, 0},
      {"A3", 3508, 4961, 300, opts(300, 300, false), 841.89, 1190.55, 0},
      {"A5", 1748, 2480, 300, opts(300, 300, false), 419.53, 595.28, 0},
      {"B4", 2953, 4169, 300, opts(300, 300, false), 708.66, 1000.63, 0},
      {"B5", 2079, 2953, 300, opts(300, 300, false), 498.9, 708.66, 0},
      {"far from every paper: own size", 1000, 1000, 100, opts(100, 100, false), 720, 720, 100},
      {"4 % off A4: own size", 2480, 3650, 300, opts(300, 300, false), 595.2, 876, 300},
  };
  ScratchDir dir;
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    const std::string pdf = dir / ("size" + std::to_string(i) + ".pdf");
    SavePdfPage(BitonalPage(c.width, c.height, c.pageDpi), pdf, {149, 1, 128}, false, c.options);
    const std::vector<PdfPageSize> sizes = PageSizes(pdf);
    ASSERT_EQ(sizes.size(), 1u) << c.what;
    EXPECT_NEAR(sizes[0].width, c.pageWidth, 0.011) << c.what;
    EXPECT_NEAR(sizes[0].height, c.pageHeight, 0.011) << c.what;
    const std::vector<ListedImage> images = ListImages(pdf);
    ASSERT_EQ(images.size(), 1u) << c.what;
    // A fitted image keeps its aspect: one resolution both ways.
    if (!c.options.exactImageSize) {
      EXPECT_NEAR(images[0].xPpi, images[0].yPpi, 1) << c.what;
    }
    if (c.ppi > 0) {
      EXPECT_NEAR(images[0].xPpi, c.ppi, 1) << c.what;
    }
  }
}

TEST(PdfWriter, FixedPaperFitsAndCentresTheImage) {
  ScratchDir dir;
  const std::string pdf = dir / "a3.pdf";
  PdfPageOptions options;
  options.paper = PaperSize{"A3", 841.89, 1190.55};
  // A wide image: fitted to the width, centred vertically.
  SavePdfPage(GreyPage(1000, 500, 100), pdf, {150, 8, 15}, false, options);
  const std::vector<PdfPageSize> sizes = PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0].width, 841.89, 0.01);
  EXPECT_NEAR(sizes[0].height, 1190.55, 0.01);
  const std::vector<ListedImage> images = ListImages(pdf);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_NEAR(images[0].xPpi, 1000 / (841.89 / 72), 1);
  EXPECT_NEAR(images[0].yPpi, images[0].xPpi, 1);
}

TEST(PdfWriter, AppendsToPdfsOfOtherPrograms) {
  ScratchDir dir;
  // tiff2pdf writes a classic cross-reference table; qpdf rewrites it with
  // object streams and a cross-reference stream.
  const std::string tiff = dir / "scan.tif";
  Page scan = BitonalPage(800, 600, 200);
  ASSERT_EQ(pixWrite(tiff.c_str(), scan.pix.get(), IFF_TIFF_G4), 0);
  const std::string classic = dir / "classic.pdf";
  ASSERT_EQ(RunCommand("tiff2pdf -o " + Quote(classic) + " " + Quote(tiff)).exitCode, 0);
  const std::string streams = dir / "streams.pdf";
  ASSERT_EQ(RunCommand("qpdf --object-streams=generate " + Quote(classic) + " " + Quote(streams))
                .exitCode,
            0);
  const std::string empty = dir / "empty.pdf";
  ASSERT_EQ(RunCommand("qpdf --empty " + Quote(empty)).exitCode, 0);

  for (const std::string& pdf : {classic, streams}) {
    SavePdfPage(ColourPage(300, 200, 100), pdf, {151, 24, 130}, true);
    SavePdfPage(BitonalPage(300, 200, 100), pdf, {148, 1, 128}, true);
    std::string report;
    EXPECT_TRUE(QpdfCheckClean(pdf, &report)) << pdf << report;
    const std::vector<ListedImage> images = ListImages(pdf);
    ASSERT_EQ(images.size(), 3u) << pdf;
    EXPECT_EQ(images[0].width, 800) << "the other program's page stays first";
    EXPECT_EQ(images[1].enc, "jpeg");
    EXPECT_EQ(images[2].enc, "ccitt");
    EXPECT_EQ(PageSizes(pdf).size(), 3u);
  }
  SavePdfPage(GreyPage(300, 200, 100), empty, {146, 8, 128}, true);
  EXPECT_TRUE(QpdfCheckClean(empty));
  EXPECT_EQ(PageSizes(empty).size(), 1u);

  // Encrypted without a password to open: pages are added, the encryption stays.
  const std::string encrypted = dir / "encrypted.pdf";
  ASSERT_EQ(RunCommand("qpdf --encrypt '' owner 256 -- " + Quote(classic) + " " +
                       Quote(encrypted)).exitCode,
            0);
  SavePdfPage(ColourPage(300, 200, 100), encrypted, {150, 24, 130}, true);
  EXPECT_EQ(PageSizes(encrypted).size(), 4u);
  const std::string info = RunCommand("pdfinfo " + Quote(encrypted)).out;
  const size_t encryptedLine = info.find("Encrypted:");
  ASSERT_NE(encryptedLine, std::string::npos);
  const std::string encryptedField =
      info.substr(encryptedLine, info.find('\n', encryptedLine) - encryptedLine);
  EXPECT_NE(encryptedField.find("yes"), std::string::npos) << info;
  EXPECT_EQ(ListImages(encrypted).back().enc, "jpeg");
  // One that needs a password cannot be read, so nothing is added.
  const std::string locked = dir / "locked.pdf";
  ASSERT_EQ(RunCommand("qpdf --encrypt user owner 256 -- " + Quote(classic) + " " +
                       Quote(locked)).exitCode,
            0);
  const std::vector<uint8_t> lockedBytes = ReadBytes(locked);
  EXPECT_THROW(SavePdfPage(ColourPage(30, 20, 100), locked, {150, 24, 130}, true), ImageError);
  EXPECT_EQ(ReadBytes(locked), lockedBytes);
}

std::vector<std::string> Entries(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PdfWriter, RefusesToAppendToWhatItCannotReadWhole) {
  ScratchDir dir;
  const std::string good = dir / "good.pdf";
  for (int i = 0; i < 3; ++i) SavePdfPage(GreyPage(200, 200, 100), good, {150, 8, 130}, true);
  const std::vector<uint8_t> goodBytes = ReadBytes(good);

  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  const std::string text = "just some text, not a PDF\n";
  const std::vector<Case> cases = {
      {"text.pdf", std::vector<uint8_t>(text.begin(), text.end())},
      {"empty.pdf", {}},
      {"truncated.pdf", std::vector<uint8_t>(goodBytes.begin(),
                                             goodBytes.begin() + goodBytes.size() * 2 / 3)},
  };
  for (const Case& c : cases) {
    const std::string path = dir / c.name;
    {
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(c.bytes.data()),
                static_cast<std::streamsize>(c.bytes.size()));
    }
    const std::vector<std::string> before = Entries(dir.path());
    EXPECT_THROW(SavePdfPage(GreyPage(200, 200, 100), path, {150, 8, 130}, true), ImageError)
        << c.name;
    EXPECT_EQ(ReadBytes(path), c.bytes) << c.name << " must stay as it was";
    EXPECT_EQ(Entries(dir.path()), before) << c.name << ": no temporary file left";
  }
  // Without append an existing file is replaced.
  const std::string replaced = dir / "text.pdf";
  SavePdfPage(GreyPage(200, 200, 100), replaced, {150, 8, 130}, false);
  EXPECT_EQ(PageSizes(replaced).size(), 1u);
}

TEST(PdfWriter, BadArgumentsFailWithoutWritingAnything) {
  ScratchDir dir;
  const std::string pdf = dir / "bad.pdf";
  EXPECT_THROW(SavePdfPage(GreyPage(50, 50, 100), pdf, {149, 1, 128}, false), ImageError);
  EXPECT_THROW(SavePdfPage(GreyPage(50, 50, 100), pdf, {147, 8, 128}, false), ImageError);
  EXPECT_THROW(SavePdfPage(GreyPage(50, 50, 100), pdf, {146, 1, 128}, false), ImageError);
  EXPECT_THROW(SavePdfPage(GreyPage(50, 50, 100), pdf, {29, 1, 128}, false), ImageError);
  EXPECT_THROW(SavePdfPage(GreyPage(50, 50, 100), pdf, {150, 4, 128}, false), ImageError);
  EXPECT_THROW(SavePdfPage(Page{}, pdf, {150, 8, 128}, false), ImageError);
  EXPECT_TRUE(Entries(dir.path()).empty());
  EXPECT_THROW(SavePdfPage(GreyPage(50, 50, 100), dir / "missing/x.pdf", {150, 8, 128}, false),
               ImageError);
}

TEST(PdfWriter, DocumentWriterWritesOnceAtFinish) {
  ScratchDir dir;
  const std::string pdf = dir / "doc.pdf";
  {
    PdfDocumentWriter abandoned(pdf);
    abandoned.AddPage(GreyPage(100, 100, 100), {150, 8, 130});
  }
  EXPECT_TRUE(Entries(dir.path()).empty()) << "nothing without Finish";

  PdfDocumentWriter writer(pdf);
  writer.AddPage(GreyPage(100, 100, 100), {150, 8, 130});
  EXPECT_THROW(writer.AddPage(GreyPage(100, 100, 100), {149, 1, 128}), ImageError);
  writer.AddPage(BitonalPage(100, 100, 100), {149, 1, 128});
  EXPECT_EQ(writer.PageCount(), 2);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  writer.Finish();
  EXPECT_THROW(writer.AddPage(GreyPage(100, 100, 100), {150, 8, 130}), std::logic_error);
  EXPECT_TRUE(QpdfCheckClean(pdf));
  const std::vector<ListedImage> images = ListImages(pdf);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[1].enc, "ccitt");
  EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"doc.pdf"});

  // A second writer continues the document into another file.
  const std::string longer = dir / "longer.pdf";
  PdfDocumentWriter more(longer, pdf);
  EXPECT_EQ(more.PageCount(), 2);
  more.AddPage(ColourPage(100, 100, 100), {152, 24, 245});
  more.Finish();
  EXPECT_EQ(PageSizes(longer).size(), 3u);
  EXPECT_EQ(PageSizes(pdf).size(), 2u);
}

TEST(PdfWriter, SourceDataIsCopiedOnlyWhenEncodingCouldNotImproveIt) {
  Page g4 = BitonalPage(320, 240, 300);
  CcittData encoded = EncodeCcitt(g4.pix.get(), CcittScheme::Group4);
  g4.raw = RawPageData{RawPageData::Codec::CcittG4, encoded.bytes, 320, 240, 1, false};
  EXPECT_TRUE(EncodePdfImage(g4, {149, 1, 128}).copiedFromSource);
  EXPECT_FALSE(EncodePdfImage(g4, {148, 1, 128}).copiedFromSource);
  EXPECT_FALSE(EncodePdfImage(g4, {146, 1, 128}).copiedFromSource);

  Page colour = ColourPage(320, 240, 300);
  const std::vector<uint8_t> jpeg422at53 = EncodeJpeg(colour.pix.get(), ChromaSubsampling::S422, 53);
  colour.raw = RawPageData{RawPageData::Codec::Jpeg, jpeg422at53, 320, 240, 3, false};
  const PdfImage copied = EncodePdfImage(colour, {151, 24, 130});  // 130 -> quality 53
  EXPECT_TRUE(copied.copiedFromSource);
  EXPECT_EQ(copied.data, jpeg422at53);
  // A better quality or finer chroma asked for cannot be reached from this
  // data, so it is copied; a lower quality or coarser chroma is re-encoded.
  EXPECT_TRUE(EncodePdfImage(colour, {151, 24, 15}).copiedFromSource) << "better quality";
  EXPECT_TRUE(EncodePdfImage(colour, {150, 24, 130}).copiedFromSource) << "finer chroma";
  EXPECT_FALSE(EncodePdfImage(colour, {151, 24, 245}).copiedFromSource) << "lower quality";
  EXPECT_FALSE(EncodePdfImage(colour, {152, 24, 130}).copiedFromSource) << "coarser chroma";
  EXPECT_FALSE(EncodePdfImage(colour, {151, 8, 130}).copiedFromSource) << "grey requested";

  // The copied data is what the PDF holds.
  ScratchDir dir;
  const std::string pdf = dir / "copied.pdf";
  SavePdfPage(colour, pdf, {151, 24, 130}, false);
  ASSERT_EQ(RunCommand("pdfimages -j " + Quote(pdf) + " " + Quote(dir / "x")).exitCode, 0);
  EXPECT_EQ(ReadBytes(dir / "x-000.jpg"), jpeg422at53);
  const std::string faxPdf = dir / "g4.pdf";
  SavePdfPage(g4, faxPdf, {149, 1, 128}, false);
  ASSERT_EQ(RunCommand("pdfimages -png " + Quote(faxPdf) + " " + Quote(dir / "g")).exitCode, 0);
  PixPtr extracted(pixRead((dir / "g-000.png").c_str()));
  l_int32 same = 0;
  pixEqual(extracted.get(), g4.pix.get(), &same);
  EXPECT_TRUE(same);
}

TEST(PdfWriter, MinIsBlackG4SourceKeepsItsLook) {
  // A G4 source whose photometric says 0 is black decodes with the colours
  // of the fax code swapped; the copied data must show the same pixels.
  Page page = BitonalPage(200, 100, 200);
  PixPtr inverted(pixInvert(nullptr, page.pix.get()));
  CcittData encoded = EncodeCcitt(inverted.get(), CcittScheme::Group4);
  page.raw = RawPageData{RawPageData::Codec::CcittG4, encoded.bytes, 200, 100, 1, true};
  ScratchDir dir;
  const std::string pdf = dir / "mib.pdf";
  SavePdfPage(page, pdf, {149, 1, 128}, false);
  ASSERT_EQ(RunCommand("pdfimages -png " + Quote(pdf) + " " + Quote(dir / "r")).exitCode, 0);
  PixPtr extracted(pixRead((dir / "r-000.png").c_str()));
  ASSERT_TRUE(extracted);
  l_int32 same = 0;
  pixEqual(extracted.get(), page.pix.get(), &same);
  EXPECT_TRUE(same);
}

// Decimal comma in every locale facility a formatter could consult.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(PdfWriter, NumbersIgnoreTheUsersLocale) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "de_DE");
  ScratchDir dir;
  const std::string pdf = dir / "locale.pdf";
  PdfPageOptions options;
  options.xDpi = 300;
  options.yDpi = 300;
  SavePdfPage(GreyPage(1001, 1234, 300), pdf, {150, 8, 130}, false, options);
  std::setlocale(LC_ALL, "C");
  std::locale::global(previous);
  std::string report;
  EXPECT_TRUE(QpdfCheckClean(pdf, &report)) << report;
  const std::vector<PdfPageSize> sizes = PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0].width, 240.24, 0.01);
  EXPECT_NEAR(sizes[0].height, 296.16, 0.01);
  if (!german) GTEST_LOG_(INFO) << "de_DE locale not installed; checked with a C++ locale only";
}

}  // namespace
}  // namespace zelk
