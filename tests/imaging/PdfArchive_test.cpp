// Every kind of PDF the writer makes is PDF/A-1b by a real validator, and
// adding pages to an existing PDF keeps it PDF/A or says that it is not.

#include "imaging/JpegEncoder.h"
#include "imaging/PdfWriter.h"
#include "PdfTest_helpers.h"
#include "support/PdfAValidator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zelk {
namespace {

using namespace pdftest;

PageText SomeText(int quarterTurns = 0, double skew = 0) {
  PageText text;
  TextLine line;
  line.box = {100, 100, 700, 160};
  line.baseline = 150;
  line.words.push_back({"档案管理", {100, 100, 400, 160}, true});
  line.words.push_back({"PDF/A", {430, 100, 700, 160}, false});
  text.lines.push_back(line);
  text.frame.quarterTurns = quarterTurns;
  text.frame.skewDegrees = skew;
  return text;
}

std::string PdfInfoField(const std::string& pdf, const std::string& field) {
  const std::string info = "\n" + RunCommand("pdfinfo -isodates " + Quote(pdf)).out;
  const size_t at = info.find("\n" + field + ":");
  if (at == std::string::npos) return {};
  const size_t value = info.find_first_not_of(' ', at + field.size() + 2);
  return info.substr(value, info.find('\n', value) - value);
}

TEST(PdfArchive, EveryPageKindAndTextLayerIsPdfA1b) {
  if (const std::string why = test::WhyNoPdfAValidator(); !why.empty()) GTEST_SKIP() << why;
  ScratchDir dir;
  Page jpegSource = ColourPage(320, 240, 300);
  const std::vector<uint8_t> jpeg = EncodeJpeg(jpegSource.pix.get(), ChromaSubsampling::S422, 53);
  jpegSource.raw = RawPageData{RawPageData::Codec::Jpeg, jpeg, 320, 240, 3, false};
  const PageText upright = SomeText();
  const PageText turned = SomeText(1);
  const PageText skewed = SomeText(0, 1.5);
  PdfPageOptions a4;
  a4.paper = StandardPaperSizes()[1];
  PdfPageOptions standardPaper;
  standardPaper.exactImageSize = false;
  standardPaper.xDpi = 150;
  standardPaper.yDpi = 96;
  auto withText = [](const PageText& text, TextLayerOrder order) {
    PdfPageOptions options;
    options.text = &text;
    options.textOrder = order;
    return options;
  };
  std::vector<std::string> files;
  // Two pages of each kind: the second shares the first's font, if any.
  auto write = [&](const std::string& name, const Page& page, int code, int bits, int quality,
                   const PdfPageOptions& options) {
    files.push_back(dir / (name + ".pdf"));
    PdfDocumentWriter writer(files.back());
    writer.AddPage(page, {code, bits, quality}, options);
    writer.AddPage(page, {code, bits, quality}, options);
    writer.Finish();
    EXPECT_TRUE(writer.Archival());
    std::string report;
    EXPECT_TRUE(QpdfCheckClean(files.back(), &report)) << name << report;
  };
  write("g4", BitonalPage(800, 600, 200), 149, 1, 128, {});
  write("g3-1d", BitonalPage(800, 600, 200), 147, 1, 128, {});
  write("g3-2d", BitonalPage(800, 600, 200), 148, 1, 128, a4);
  write("flate-bitonal", BitonalPage(800, 600, 200), 146, 1, 128, {});
  write("flate-grey", GreyPage(400, 300, 100), 146, 8, 128, standardPaper);
  write("flate-colour", ColourPage(400, 300, 100), 146, 24, 128, {});
  write("flate-palette", PalettePage(400, 300, 100, true), 146, 8, 128, {});
  write("jpeg-grey", GreyPage(400, 300, 100), 150, 8, 128, {});
  write("jpeg-colour-422", ColourPage(400, 300, 100), 151, 24, 128, a4);
  write("jpeg-colour-411", ColourPage(400, 300, 100), 152, 24, 200, {});
  write("jpeg-copied", jpegSource, 151, 24, 130, {});
  write("text-over", WhitePage(800, 600, 200), 146, 8, 128,
        withText(upright, TextLayerOrder::TextOverImage));
  write("text-under", BitonalPage(800, 600, 200), 149, 1, 128,
        withText(upright, TextLayerOrder::TextUnderImage));
  write("text-turned", WhitePage(600, 800, 200), 146, 8, 128,
        withText(turned, TextLayerOrder::TextOverImage));
  write("text-skewed", WhitePage(800, 600, 200), 150, 8, 128,
        withText(skewed, TextLayerOrder::TextUnderImage));
  // A title that XML and PDF strings write differently.
  files.push_back(dir / "titled.pdf");
  PdfDocumentWriter titled(files.back(), {}, "档案 <2024> & \"卷一\"");
  titled.AddPage(GreyPage(200, 100, 100), {146, 8, 128});
  titled.Finish();
  EXPECT_EQ(PdfInfoField(files.back(), "Title"), "档案 <2024> & \"卷一\"");
  EXPECT_EQ(PdfInfoField(files.back(), "PDF version"), "1.4");
  // A file name in GBK with a control character: the title keeps what is
  // text.
  files.push_back(dir / "gbk.pdf");
  PdfDocumentWriter gbk(files.back(), {}, "卷\x01\xB5\xB5");
  gbk.AddPage(GreyPage(200, 100, 100), {146, 8, 128});
  gbk.Finish();
  EXPECT_EQ(PdfInfoField(files.back(), "Title"), "卷\uFFFD\uFFFD");
  EXPECT_EQ(PdfInfoField(files.front(), "Title"), "g4")
      << "without a title: the file's name";
  const std::string xmp = RunCommand("pdfinfo -meta " + Quote(files.back())).out;
  EXPECT_NE(xmp.find("<pdfaid:part>1</pdfaid:part>"), std::string::npos) << xmp;
  EXPECT_NE(xmp.find("<pdfaid:conformance>B</pdfaid:conformance>"), std::string::npos);
  test::ExpectPdfA(files);
}

// Replaces every `from` in the file by `to` of the same length, so that
// the offsets of the cross-reference table stay right.
void ReplaceSameLength(const std::string& path, const std::string& from, const std::string& to) {
  ASSERT_EQ(from.size(), to.size());
  std::vector<uint8_t> bytes = ReadBytes(path);
  std::string text(bytes.begin(), bytes.end());
  size_t replaced = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    ++replaced;
  }
  ASSERT_GT(replaced, 0u) << from;
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

TEST(PdfArchive, AddingPagesKeepsPdfAOrSaysTheResultIsNot) {
  if (const std::string why = test::WhyNoPdfAValidator(); !why.empty()) GTEST_SKIP() << why;
  ScratchDir dir;
  auto addPage = [](const std::string& pdf) {
    PdfDocumentWriter writer(pdf, pdf, "ignored");
    writer.AddPage(ColourPage(300, 200, 100), {150, 24, 130});
    writer.Finish();
    return writer.Archival();
  };

  // This program's PDF/A: the title and creation date stay, the
  // modification date moves on.
  const std::string own = dir / "own.pdf";
  SavePdfPage(BitonalPage(300, 200, 100), own, {149, 1, 128}, false);
  // Made in 2001, in both places.
  const std::string year = PdfInfoField(own, "CreationDate").substr(0, 4);
  for (const char* before : {"(D:", "<xmp:CreateDate>", "<xmp:ModifyDate>", "<xmp:MetadataDate>"}) {
    ReplaceSameLength(own, before + year, before + std::string("2001"));
  }
  EXPECT_TRUE(addPage(own));
  EXPECT_EQ(PageSizes(own).size(), 2u);
  EXPECT_EQ(PdfInfoField(own, "Title"), "own");
  EXPECT_EQ(PdfInfoField(own, "CreationDate").substr(0, 4), "2001");
  EXPECT_EQ(PdfInfoField(own, "ModDate").substr(0, 4), year);

  // Another program's PDF/A-1b with an RGB output intent: pages are added
  // and its description is left as it was.
  const std::string foreign = dir / "foreign.pdf";
  SavePdfPage(BitonalPage(300, 200, 100), foreign, {149, 1, 128}, false);
  const std::string producer = PdfInfoField(foreign, "Producer");
  ReplaceSameLength(foreign, producer, std::string(producer.size(), 'x'));
  const std::string modified = PdfInfoField(foreign, "ModDate");
  EXPECT_TRUE(addPage(foreign));
  EXPECT_EQ(PdfInfoField(foreign, "ModDate"), modified);
  EXPECT_EQ(PdfInfoField(foreign, "Producer"), std::string(producer.size(), 'x'));

  // A PDF that is not PDF/A: pages are added as before, and it claims nothing.
  const std::string tiff = dir / "scan.tif";
  Page scan = BitonalPage(800, 600, 200);
  ASSERT_EQ(pixWrite(tiff.c_str(), scan.pix.get(), IFF_TIFF_G4), 0);
  const std::string plain = dir / "plain.pdf";
  ASSERT_EQ(RunCommand("tiff2pdf -o " + Quote(plain) + " " + Quote(tiff)).exitCode, 0);
  EXPECT_FALSE(addPage(plain));
  EXPECT_EQ(PageSizes(plain).size(), 2u);
  EXPECT_EQ(RunCommand("pdfinfo -meta " + Quote(plain)).out.find("pdfaid"), std::string::npos);

  const std::vector<test::PdfAVerdict> verdicts = test::ValidatePdfA({own, foreign, plain});
  EXPECT_TRUE(verdicts[0].valid);
  EXPECT_TRUE(verdicts[1].valid);
  EXPECT_FALSE(verdicts[2].valid);
}

}  // namespace
}  // namespace zelk
