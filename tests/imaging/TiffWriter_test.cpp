#include "imaging/PageReader.h"
#include "imaging/SaveFormat.h"
#include "imaging/TiffWriter.h"

#include "imaging/Toolkit_helpers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <tiffio.h>

#include <csignal>
#include <filesystem>

namespace zelk {
namespace {

using namespace toolkittest;
using test::TempDir;

struct Expected {
  uint16_t compression, photometric, bitsPerSample, samplesPerPixel, subsamplingH;
  bool lossless;
};

struct Case {
  const char* name;
  int code;
  int pageKind;  // 1 bitonal, 8 grey, 16 deep grey, 3 palette, 24 colour
  int bits;
  Expected expected;
};

PixPtr PixOfKind(int kind) {
  switch (kind) {
    case 1: return BitonalPix(173, 91);
    case 8: return GreyPix(173, 91);
    case 3: return PalettePix(173, 91, true, 4);
    case 16: return GreyPix(173, 91, 16);
    default: return RgbPix(173, 91);
  }
}

// Each code appended to one file, then every directory checked by libtiff.
TEST(TiffWriter, EveryTiffCodeWritesItsCompressionAndAppends) {
  const Case cases[] = {
      {"G4", kTiffCcittG4, 1, 1, {COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, 1, 1, 1, true}},
      {"G3 2-D", kTiffCcittG3TwoD, 1, 1,
       {COMPRESSION_CCITTFAX3, PHOTOMETRIC_MINISWHITE, 1, 1, 1, true}},
      {"G3 1-D", kTiffCcittG3OneD, 1, 1,
       {COMPRESSION_CCITTFAX3, PHOTOMETRIC_MINISWHITE, 1, 1, 1, true}},
      {"RLE", kTiffCcittRle, 1, 1, {COMPRESSION_CCITTRLE, PHOTOMETRIC_MINISWHITE, 1, 1, 1, true}},
      {"LZW bitonal", kTiffLzw, 1, 1, {COMPRESSION_LZW, PHOTOMETRIC_MINISWHITE, 1, 1, 1, true}},
      {"LZW grey", kTiffLzw, 8, 8, {COMPRESSION_LZW, PHOTOMETRIC_MINISBLACK, 8, 1, 1, true}},
      {"LZW colour", kTiffLzw, 24, 24, {COMPRESSION_LZW, PHOTOMETRIC_RGB, 8, 3, 1, true}},
      {"LZW palette", kTiffLzw, 3, 8, {COMPRESSION_LZW, PHOTOMETRIC_PALETTE, 8, 1, 1, true}},
      {"LZW 16-bit grey", kTiffLzw, 16, 24, {COMPRESSION_LZW, PHOTOMETRIC_RGB, 8, 3, 1, true}},
      {"none bitonal as grey", kTiffUncompressed, 1, 8,
       {COMPRESSION_NONE, PHOTOMETRIC_MINISBLACK, 8, 1, 1, true}},
      {"none grey", kTiffUncompressed, 8, 8, {COMPRESSION_NONE, PHOTOMETRIC_MINISBLACK, 8, 1, 1, true}},
      {"none colour", kTiffUncompressed, 24, 24, {COMPRESSION_NONE, PHOTOMETRIC_RGB, 8, 3, 1, true}},
      {"none palette", kTiffUncompressed, 3, 8,
       {COMPRESSION_NONE, PHOTOMETRIC_PALETTE, 8, 1, 1, true}},
      {"JPEG 4:4:4", kTiffJpeg444, 24, 24, {COMPRESSION_JPEG, PHOTOMETRIC_YCBCR, 8, 3, 1, false}},
      {"JPEG 4:2:2", kTiffJpeg422, 24, 24, {COMPRESSION_JPEG, PHOTOMETRIC_YCBCR, 8, 3, 2, false}},
      {"JPEG 4:1:1", kTiffJpeg411, 24, 24, {COMPRESSION_JPEG, PHOTOMETRIC_YCBCR, 8, 3, 4, false}},
      {"JPEG grey", kTiffJpeg422, 8, 8, {COMPRESSION_JPEG, PHOTOMETRIC_MINISBLACK, 8, 1, 1, false}},
      {"JPEG palette", kTiffJpeg444, 3, 8, {COMPRESSION_JPEG, PHOTOMETRIC_YCBCR, 8, 3, 1, false}},
  };
  TempDir dir;
  const std::string path = dir.File("all.tif");
  for (const Case& c : cases) {
    const Page page = PageOf(PixOfKind(c.pageKind), 200);
    ASSERT_NO_THROW(SaveTiffPage(page, path, {c.code, c.bits, 130}, true)) << c.name;
  }
  const std::vector<TiffDirectory> directories = ReadTiffDirectories(path);
  ASSERT_EQ(directories.size(), std::size(cases));
  EXPECT_EQ(GetPageCount(path), static_cast<int>(std::size(cases)));
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const TiffDirectory& d = directories[i];
    EXPECT_EQ(d.compression, c.expected.compression) << c.name;
    EXPECT_EQ(d.photometric, c.expected.photometric) << c.name;
    EXPECT_EQ(d.bitsPerSample, c.expected.bitsPerSample) << c.name;
    EXPECT_EQ(d.samplesPerPixel, c.expected.samplesPerPixel) << c.name;
    if (d.photometric == PHOTOMETRIC_YCBCR) {
      EXPECT_EQ(d.subsamplingH, c.expected.subsamplingH) << c.name;
      EXPECT_EQ(d.subsamplingV, 1) << c.name;
    }
    EXPECT_EQ(d.hasColormap, c.expected.photometric == PHOTOMETRIC_PALETTE) << c.name;
    EXPECT_FLOAT_EQ(d.xResolution, 200.0f) << c.name;
    EXPECT_EQ(d.resolutionUnit, RESUNIT_INCH) << c.name;
    if (d.compression != COMPRESSION_NONE && d.compression != COMPRESSION_LZW &&
        d.compression != COMPRESSION_JPEG) {
      EXPECT_EQ(d.strips, 1u) << c.name << ": CCITT pages go in one strip";
    }
    const PixPtr original = PixOfKind(c.pageKind);
    const std::vector<uint32_t> stored = ReadTiffRgba(path, static_cast<int>(i));
    const std::vector<uint32_t> expected = PixRgba(original.get());
    ASSERT_EQ(stored.size(), expected.size()) << c.name;
    if (c.expected.lossless) {
      EXPECT_EQ(stored, expected) << c.name;
      continue;
    }
    long long total = 0;
    for (size_t p = 0; p < stored.size(); ++p) {
      for (int shift = 0; shift < 24; shift += 8) {
        total += std::abs(int((stored[p] >> shift) & 0xFF) - int((expected[p] >> shift) & 0xFF));
      }
    }
    // Lossy: close, but a wrong colour space would be far off.
    EXPECT_LT(total / (3.0 * stored.size()), 20.0) << c.name;
  }
}

TEST(TiffWriter, RefusedSavesLeaveTheFileAsItWas) {
  TempDir dir;
  const std::string path = dir.File("doc.tif");
  SaveTiffPage(PageOf(BitonalPix(64, 64), 300), path, {kTiffCcittG4, 1, 128}, true);
  const std::string before = test::ReadBytes(path);
  const Page grey = PageOf(GreyPix(64, 64), 300);
  for (int code : {kTiffCcittG4, kTiffCcittG3TwoD, kTiffCcittG3OneD, kTiffCcittRle}) {
    try {
      SaveTiffPage(grey, path, {code, 8, 128}, true);
      ADD_FAILURE() << "CCITT code " << code << " took a grey page";
    } catch (const ImageError& e) {
      EXPECT_NE(std::string(e.what()).find("bitonal"), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(SaveTiffPage(grey, path, {kJpeg444, 8, 128}, true), ImageError);
  EXPECT_THROW(SaveTiffPage(grey, path, {kTiffLzw, 4, 128}, true), ImageError);
  EXPECT_EQ(test::ReadBytes(path), before);

  // Appending to a file that is not a TIFF fails and leaves it alone; a new
  // file that cannot be finished is not left behind.
  test::WriteBytes(dir.File("notes.tif"), "plain text, not a TIFF");
  EXPECT_THROW(SaveTiffPage(grey, dir.File("notes.tif"), {kTiffLzw, 8, 128}, true), ImageError);
  EXPECT_EQ(test::ReadBytes(dir.File("notes.tif")), "plain text, not a TIFF");
  EXPECT_THROW(SaveTiffPage(grey, dir.File("no-such-dir/x.tif"), {kTiffLzw, 8, 128}, false),
               ImageError);
}

// A write that fails half-way (here: the file size limit) takes its bytes
// back, so the document keeps exactly its earlier pages.
TEST(TiffWriter, AWriteFailingHalfWayLeavesTheEarlierPages) {
  TempDir dir;
  const std::string path = dir.File("doc.tif");
  SaveTiffPage(PageOf(GreyPix(200, 100), 300), path, {kTiffUncompressed, 8, 128}, true);
  const std::string before = test::ReadBytes(path);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = before.size() + 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  bool failed = false;
  try {
    SaveTiffPage(PageOf(RgbPix(400, 300), 300), path, {kTiffUncompressed, 24, 128}, true);
  } catch (const ImageError&) {
    failed = true;
  }
  bool newFileFailed = false;
  try {
    SaveTiffPage(PageOf(RgbPix(400, 300), 300), dir.File("new.tif"), {kTiffUncompressed, 24, 128},
                 false);
  } catch (const ImageError&) {
    newFileFailed = true;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_TRUE(failed);
  EXPECT_EQ(test::ReadBytes(path), before);
  EXPECT_EQ(GetPageCount(path), 1);
  EXPECT_TRUE(newFileFailed);
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.tif")));
}

TEST(TiffWriter, G4SourceDataIsCopiedAndDecodesToTheSamePage) {
  TempDir dir;
  // Source: min-is-black, bits filled least significant first; the copy
  // keeps its photometric and stores the bits in the usual order.
  TiffSource source;
  source.compression = COMPRESSION_CCITTFAX4;
  source.photometric = PHOTOMETRIC_MINISBLACK;
  source.fillOrder = FILLORDER_LSB2MSB;
  const PixPtr original = BitonalPix(333, 222);
  WriteTiffPage(dir.File("source.tif"), original.get(), source, false);
  const Page page = LoadPage(dir.File("source.tif"), 1);
  ASSERT_TRUE(page.raw.has_value());

  const std::string out = dir.File("out.tif");
  SaveTiffPage(page, out, {kTiffCcittG4, 1, 128}, true);
  Page changed = LoadPage(dir.File("source.tif"), 1);
  pixInvert(changed.pix.get(), changed.pix.get());
  DropStoredForms(changed);
  SaveTiffPage(changed, out, {kTiffCcittG4, 1, 128}, true);

  const std::vector<TiffDirectory> directories = ReadTiffDirectories(out);
  ASSERT_EQ(directories.size(), 2u);
  EXPECT_EQ(directories[0].photometric, PHOTOMETRIC_MINISBLACK);
  EXPECT_EQ(ReadTiffRawStrip(out, 0), page.raw->bytes);
  EXPECT_EQ(ReadTiffRgba(out, 0), PixRgba(original.get()));
  PixPtr inverted(pixInvert(nullptr, original.get()));
  EXPECT_EQ(ReadTiffRgba(out, 1), PixRgba(inverted.get()));
}

TEST(TiffWriter, AppendingKeepsPagesOfAnotherWriterAndReplacingStartsOver) {
  TempDir dir;
  const std::string path = dir.File("mixed.tif");
  TiffSource lzw;
  lzw.compression = COMPRESSION_LZW;
  lzw.photometric = PHOTOMETRIC_MINISBLACK;
  WriteTiffPage(path, GreyPix(90, 70).get(), lzw, false);
  SaveTiffPage(PageOf(RgbPix(50, 40), 0), path, {kTiffJpeg422, 24, 15}, true);
  SaveTiffPage(PageOf(BitonalPix(60, 30), 0), path, {kTiffCcittG4, 1, 128}, true);
  EXPECT_EQ(GetPageCount(path), 3);
  EXPECT_EQ(ReadTiffRgba(path, 0), PixRgba(GreyPix(90, 70).get()));
  EXPECT_EQ(ReadTiffRgba(path, 2), PixRgba(BitonalPix(60, 30).get()));
  // No resolution on the page: no resolution tags.
  EXPECT_EQ(ReadTiffDirectories(path)[2].xResolution, 0.0f);

  SaveTiffPage(PageOf(BitonalPix(60, 30), 0), path, {kTiffCcittG4, 1, 128}, false);
  EXPECT_EQ(GetPageCount(path), 1);
}

}  // namespace
}  // namespace zelk

namespace zelk {
namespace {

TEST(TiffWriter, ADocumentWriterKeepsItsPagesOnlyWhenFinished) {
  TempDir dir;
  const std::string path = dir.File("doc.tif");
  const Page page = PageOf(GreyPix(40, 30), 300);
  SaveTiffPage(page, path, {kTiffLzw, 8, 128}, false);
  const std::shared_ptr<const TiffStrips> strips = EncodeTiffPage(page, {kTiffLzw, 8, 128}, path);
  {
    TiffDocumentWriter abandoned(path, true);
    abandoned.AddPage(*strips, 300, 300);
  }
  EXPECT_EQ(ReadTiffDirectories(path).size(), 1u);

  TiffDocumentWriter writer(path, true);
  for (int i = 0; i < 50; ++i) writer.AddPage(*strips, 200, 200);
  writer.Finish();
  const std::vector<TiffDirectory> pages = ReadTiffDirectories(path);
  ASSERT_EQ(pages.size(), 51u);
  EXPECT_EQ(pages.back().xResolution, 200.0f);
  EXPECT_EQ(ReadTiffRgba(path, 50), ReadTiffRgba(path, 0));
}

}  // namespace
}  // namespace zelk
