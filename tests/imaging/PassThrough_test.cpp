// Stored data copied instead of decoded and encoded again: each rule, each
// refusal, with the outputs read back by libtiff, pdfimages and libjpeg.

#include "imaging/JpegEncoder.h"
#include "imaging/PageReader.h"
#include "imaging/PdfImageEncoder.h"
#include "imaging/PdfWriter.h"
#include "imaging/SaveFormat.h"
#include "imaging/TiffWriter.h"

#include "PdfTest_helpers.h"
#include "imaging/Toolkit_helpers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zelk {
namespace {

using namespace toolkittest;
using test::TempDir;

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The pixels libjpeg decodes from a JPEG file, as RGBA words.
std::vector<uint32_t> JpegRgba(const std::string& path) {
  return PixRgba(LoadPage(path, 1).pix.get());
}

TEST(PassThrough, CcittStripsAreCopiedForTheSameSchemeAndEncodedAnewForAnother) {
  TempDir dir;
  const PixPtr original = BitonalPix(300, 200);
  struct Case {
    const char* name;
    uint16_t compression;
    uint32_t group3Options;
    int code;
    int pdfCode;
  };
  const Case cases[] = {
      {"G4", COMPRESSION_CCITTFAX4, 0, kTiffCcittG4, kPdfCcittG4},
      {"G3 2-D", COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, kTiffCcittG3TwoD, kPdfCcittG3TwoD},
      {"G3 1-D", COMPRESSION_CCITTFAX3, 0, kTiffCcittG3OneD, kPdfCcittG3OneD}};
  pdftest::ScratchDir scratch;
  for (const Case& c : cases) {
    TiffSource how;
    how.compression = c.compression;
    how.group3Options = c.group3Options;
    how.fillOrder = FILLORDER_LSB2MSB;  // turned around on reading, copied the usual way
    const std::string source = dir.File(std::string(c.name) + ".tif");
    WriteTiffPage(source, original.get(), how, false);
    const Page page = ReadPage(source, 1);
    EXPECT_EQ(page.pix, nullptr) << c.name << ": read without decoding";

    const std::string copied = dir.File(std::string(c.name) + "-copy.tif");
    SaveTiffPage(page, copied, {c.code, 1, 128}, false);
    std::vector<uint8_t> stored = ReadTiffRawStrip(source, 0);
    TIFFReverseBits(stored.data(), static_cast<tmsize_t>(stored.size()));
    EXPECT_EQ(ReadTiffRawStrip(copied, 0), stored) << c.name;
    EXPECT_EQ(ReadTiffRgba(copied, 0), PixRgba(original.get())) << c.name;

    // The same data in a PDF, as poppler decodes it.
    const PdfImage image = EncodePdfImage(page, {c.pdfCode, 1, 128});
    EXPECT_TRUE(image.copiedFromSource) << c.name;
    EXPECT_EQ(image.data, stored) << c.name;
    const std::string pdf = scratch / (std::string(c.name) + ".pdf");
    SavePdfPage(page, pdf, {c.pdfCode, 1, 128}, false);
    const std::vector<pdftest::ListedImage> listed = pdftest::ListImages(pdf);
    ASSERT_EQ(listed.size(), 1u) << c.name;
    EXPECT_EQ(listed[0].enc, "ccitt") << c.name;
    const std::string prefix = scratch / c.name;
    ASSERT_EQ(pdftest::RunCommand("pdfimages -png " + pdftest::Quote(pdf) + " " +
                                  pdftest::Quote(prefix)).exitCode, 0);
    EXPECT_EQ(PixRgba(LoadPage(prefix + "-000.png", 1).pix.get()), PixRgba(original.get()))
        << c.name;

    // LZW, or another CCITT scheme, is encoded from the pixels.
    for (const int other : {kTiffLzw, c.code == kTiffCcittG4 ? kTiffCcittG3TwoD : kTiffCcittG4}) {
      const std::string encoded = dir.File(std::string(c.name) + "-" + std::to_string(other) + ".tif");
      SaveTiffPage(page, encoded, {other, 1, 128}, false);
      EXPECT_NE(ReadTiffDirectories(encoded)[0].compression, c.compression) << c.name << other;
      EXPECT_EQ(ReadTiffRgba(encoded, 0), PixRgba(original.get())) << c.name << other;
    }
  }
}

TEST(PassThrough, LosslessStripsAreCopiedWhenCodeAndDepthMatch) {
  TempDir dir;
  const PixPtr grey = GreyPix(120, 80);
  const PixPtr rgb = RgbPix(120, 80);
  struct Case {
    const char* name;
    PIX* pix;
    uint16_t compression;
    int code;
    int bits;
    bool copied;
  };
  const Case cases[] = {
      {"grey LZW", grey.get(), COMPRESSION_LZW, kTiffLzw, 8, true},
      {"colour uncompressed", rgb.get(), COMPRESSION_NONE, kTiffUncompressed, 24, true},
      {"grey LZW stored uncompressed", grey.get(), COMPRESSION_LZW, kTiffUncompressed, 8, false},
      {"colour LZW stored as grey", rgb.get(), COMPRESSION_LZW, kTiffLzw, 8, false},
  };
  for (const Case& c : cases) {
    TiffSource how;
    how.compression = c.compression;
    how.photometric = pixGetDepth(c.pix) == 32 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    how.rowsPerStrip = 16;  // several strips, copied one by one
    const std::string source = dir.File(std::string(c.name) + ".tif");
    WriteTiffPage(source, c.pix, how, false);
    const std::string out = dir.File(std::string(c.name) + "-out.tif");
    SaveTiffPage(ReadPage(source, 1), out, {c.code, c.bits, 128}, false);
    EXPECT_EQ(ReadTiffRawStrip(out, 0) == ReadTiffRawStrip(source, 0), c.copied) << c.name;
    if (c.bits == 24 || pixGetDepth(c.pix) == 8) {
      EXPECT_EQ(ReadTiffRgba(out, 0), ReadTiffRgba(source, 0)) << c.name;
    }
  }
}

TEST(PassThrough, JpegIsCopiedOnlyWhenEncodingCouldMakeItNeitherSmallerNorBetter) {
  TempDir dir;
  const PixPtr colour = RgbPix(160, 96);
  const std::string jpeg = dir.File("q75.jpg");  // 4:2:0, libjpeg's default
  WriteJpeg(jpeg, colour.get(), 75, 300);
  const std::vector<uint8_t> bytes = pdftest::ReadBytes(jpeg);
  const Page page = ReadPage(jpeg, 1);
  EXPECT_EQ(page.pix, nullptr);

  // Into a JPEG TIFF at quality 95 (factor 15): the whole file is the strip.
  const std::string tif = dir.File("copied.tif");
  SaveTiffPage(page, tif, {kTiffJpeg444, 24, 15}, false);
  const TiffDirectory stored = ReadTiffDirectories(tif)[0];
  EXPECT_EQ(stored.compression, COMPRESSION_JPEG);
  EXPECT_EQ(stored.photometric, PHOTOMETRIC_YCBCR);
  EXPECT_EQ(stored.subsamplingH, 2);
  EXPECT_EQ(stored.subsamplingV, 2);
  EXPECT_EQ(ReadTiffRawStrip(tif, 0), bytes);
  EXPECT_EQ(ReadTiffRgba(tif, 0), JpegRgba(jpeg));

  // At quality 12 (factor 245) it is encoded again, and smaller.
  const std::string smaller = dir.File("smaller.tif");
  SaveTiffPage(page, smaller, {kTiffJpeg444, 24, 245}, false);
  EXPECT_LT(ReadTiffRawStrip(smaller, 0).size(), bytes.size() / 2);

  // A DCT PDF image at quality 95 holds the file's bytes as they are.
  pdftest::ScratchDir scratch;
  const std::string pdf = scratch / "copied.pdf";
  SavePdfPage(page, pdf, {kPdfJpeg444, 24, 15}, false);
  const std::vector<pdftest::ListedImage> images = pdftest::ListImages(pdf);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].enc, "jpeg");
  EXPECT_EQ(images[0].width, 160);
  EXPECT_EQ(images[0].height, 96);
  ASSERT_EQ(pdftest::RunCommand("pdfimages -j " + pdftest::Quote(pdf) + " " +
                                pdftest::Quote(scratch / "image")).exitCode, 0);
  EXPECT_EQ(pdftest::ReadBytes(scratch / "image-000.jpg"), bytes);

  // A source of higher quality than asked for, or with finer chroma than
  // the code's, is encoded again.
  const std::string q95 = dir.File("q95.jpg");
  WriteJpeg(q95, colour.get(), 95, 300);
  const PdfImage reencoded = EncodePdfImage(ReadPage(q95, 1), {kPdfJpeg444, 24, 130});
  EXPECT_FALSE(reencoded.copiedFromSource);
  // Encoded again from the decoded pixels, colours in their places.
  WriteBytes(dir.File("reencoded.jpg"), reencoded.data);
  const std::vector<uint32_t> before = JpegRgba(q95);
  const std::vector<uint32_t> after = JpegRgba(dir.File("reencoded.jpg"));
  ASSERT_EQ(before.size(), after.size());
  long long difference = 0;
  for (std::size_t p = 0; p < before.size(); ++p) {
    for (int shift = 0; shift < 24; shift += 8) {
      difference += std::abs(int((before[p] >> shift) & 0xFF) - int((after[p] >> shift) & 0xFF));
    }
  }
  EXPECT_LT(difference / (3.0 * before.size()), 12.0);
  const std::string fine = dir.File("q50-444.jpg");
  WriteBytes(fine, EncodeJpeg(colour.get(), ChromaSubsampling::S444, 50));
  EXPECT_FALSE(EncodePdfImage(ReadPage(fine, 1), {kPdfJpeg422, 24, 15}).copiedFromSource);
  // 4:2:0 keeps as few chroma samples as 4:1:1.
  EXPECT_TRUE(EncodePdfImage(page, {kPdfJpeg411, 24, 15}).copiedFromSource);
}

TEST(PassThrough, A440JpegIsEncodedAgainForATiffButCopiedIntoAPdf) {
  TempDir dir;
  const PixPtr colour = RgbPix(160, 96);
  const std::string jpeg = dir.File("440.jpg");  // luma sampled 1 x 2
  WriteJpeg(jpeg, colour.get(), 50, 300, false, false, 1, 2);
  const Page page = ReadPage(jpeg, 1);
  const std::string tif = dir.File("440.tif");
  SaveTiffPage(page, tif, {kTiffJpeg422, 24, 15}, false);
  const TiffDirectory stored = ReadTiffDirectories(tif)[0];
  EXPECT_LE(stored.subsamplingV, stored.subsamplingH) << "TIFF allows no 1 x 2";
  EXPECT_NE(ReadTiffRawStrip(tif, 0), pdftest::ReadBytes(jpeg));
  // PDF readers take any sampling: its data is copied there.
  EXPECT_TRUE(EncodePdfImage(page, {kPdfJpeg422, 24, 15}).copiedFromSource);
}

TEST(PassThrough, ProgressiveAndTwelveBitJpegsAreNeverCopied) {
  TempDir dir;
  const PixPtr colour = RgbPix(64, 48);
  const std::string progressive = dir.File("progressive.jpg");
  WriteJpeg(progressive, colour.get(), 50, 300, true);
  const Page page = ReadPage(progressive, 1);
  EXPECT_NE(page.pix, nullptr) << "decoded on reading";
  const PdfImage image = EncodePdfImage(page, {kPdfJpeg444, 24, 15});
  EXPECT_FALSE(image.copiedFromSource);
  const std::string tif = dir.File("progressive.tif");
  SaveTiffPage(page, tif, {kTiffJpeg444, 24, 15}, false);
  EXPECT_NE(ReadTiffRawStrip(tif, 0), pdftest::ReadBytes(progressive));

  // 12-bit samples: this libjpeg cannot decode them, so the page fails
  // with a message instead of being copied.
  WriteJpeg(dir.File("baseline.jpg"), colour.get(), 50, 300);
  std::vector<uint8_t> twelveBit = pdftest::ReadBytes(dir.File("baseline.jpg"));
  const uint8_t frame[] = {0xFF, 0xC0};
  const auto sof = std::search(twelveBit.begin(), twelveBit.end(), std::begin(frame), std::end(frame));
  ASSERT_NE(sof, twelveBit.end());
  sof[1] = 0xC1;
  sof[4] = 12;
  WriteBytes(dir.File("twelve.jpg"), twelveBit);
  EXPECT_THROW(ReadPage(dir.File("twelve.jpg"), 1), ImageError);
}

TEST(PassThrough, DamagedStoredDataFailsItsPageInsteadOfBeingCopied) {
  TempDir dir;
  // A G4 page whose strip is no G4 code at all: read without complaint,
  // refused when it would be copied.
  const std::string g4 = dir.File("good.tif");
  TiffSource how;
  how.compression = COMPRESSION_CCITTFAX4;
  WriteTiffPage(g4, BitonalPix(200, 100).get(), how, false);
  std::vector<uint8_t> file = pdftest::ReadBytes(g4);
  const std::vector<uint8_t> strip = ReadTiffRawStrip(g4, 0);
  const auto at = std::search(file.begin(), file.end(), strip.begin(), strip.end());
  ASSERT_NE(at, file.end());
  std::fill(at, at + static_cast<std::ptrdiff_t>(strip.size()), uint8_t{0});
  WriteBytes(dir.File("bad.tif"), file);
  const Page badG4 = ReadPage(dir.File("bad.tif"), 1);
  EXPECT_THROW(SaveTiffPage(badG4, dir.File("out.tif"), {kTiffCcittG4, 1, 128}, false), ImageError);
  EXPECT_THROW(EncodePdfImage(badG4, {kPdfCcittG4, 1, 128}), ImageError);

  // A JPEG whose entropy data is overwritten but whose end is whole.
  WriteJpeg(dir.File("good.jpg"), RgbPix(160, 96).get(), 60, 300);
  std::vector<uint8_t> jpeg = pdftest::ReadBytes(dir.File("good.jpg"));
  std::fill(jpeg.end() - 400, jpeg.end() - 2, uint8_t{0xFF});
  WriteBytes(dir.File("bad.jpg"), jpeg);
  const Page badJpeg = ReadPage(dir.File("bad.jpg"), 1);
  EXPECT_THROW(EncodePdfImage(badJpeg, {kPdfJpeg444, 24, 15}), ImageError);
  EXPECT_THROW(SaveTiffPage(badJpeg, dir.File("out2.tif"), {kTiffJpeg444, 24, 15}, false),
               ImageError);
}

}  // namespace
}  // namespace zelk

namespace zelk {
namespace {

// Pages of a long file read one after another reuse one handle per
// thread; a file replaced meanwhile is read afresh, never through the
// handle on the file it replaced.
TEST(PassThrough, PagesOfAReplacedFileComeFromTheNewFile) {
  TempDir dir;
  const auto write = [&](const std::string& path, int firstWidth) {
    for (int k = 0; k < 4; ++k) {
      WriteTiffPage(path, GreyPix(firstWidth + k, 8).get(), TiffSource{}, k > 0);
    }
  };
  const std::string path = dir.File("doc.tif");
  write(path, 10);
  EXPECT_EQ(ReadPage(path, 2).width, 11);
  EXPECT_EQ(ReadPage(path, 3).width, 12);
  write(dir.File("new.tif"), 20);
  std::filesystem::rename(dir.File("new.tif"), path);
  EXPECT_EQ(ReadPage(path, 4).width, 23);
  EXPECT_EQ(LoadPage(path, 1).width, 20);
  EXPECT_THROW(ReadPage(path, 5), ImageError);
}

}  // namespace
}  // namespace zelk
