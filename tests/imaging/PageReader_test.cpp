#include "imaging/PageReader.h"

#include "imaging/Toolkit_helpers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <tiffio.h>

#include <thread>

namespace zelk {
namespace {

using namespace toolkittest;
using test::TempDir;

// Loads the page with stderr captured: the libraries must print nothing.
Page LoadQuietly(const std::string& path, int page) {
  testing::internal::CaptureStderr();
  try {
    Page loaded = LoadPage(path, page);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << path;
    return loaded;
  } catch (...) {
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << path;
    throw;
  }
}

// The message of the ImageError LoadPage raises, or "" when it loads.
std::string LoadError(const std::string& path) {
  try {
    LoadQuietly(path, 1);
  } catch (const ImageError& e) {
    return e.what();
  }
  return "";
}

uint32_t Get32(const std::string& b, size_t at) {
  return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// Sets a tag of the first directory of a little-endian classic TIFF to one
// LONG value, the way a damaged or hostile file would declare it.
void PatchTiffEntry(std::string& tiff, uint16_t tag, uint32_t value) {
  ASSERT_EQ(tiff.substr(0, 2), "II");
  const uint32_t ifd = Get32(tiff, 4);
  const int entries = uint8_t(tiff[ifd]) | uint8_t(tiff[ifd + 1]) << 8;
  for (int i = 0; i < entries; ++i) {
    const size_t entry = ifd + 2 + 12 * i;
    if ((uint8_t(tiff[entry]) | uint8_t(tiff[entry + 1]) << 8) != tag) continue;
    tiff[entry + 2] = TIFF_LONG, tiff[entry + 3] = 0;
    Put32(tiff, entry + 4, 1);
    Put32(tiff, entry + 8, value);
    return;
  }
  FAIL() << "tag " << tag << " not found";
}

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= uint8_t(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

// A PNG signature and a valid IHDR for an 8-bit grey image, then nothing.
std::string PngHeaderOnly(uint32_t width, uint32_t height) {
  std::string chunk = "IHDR";
  for (uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(static_cast<char>(v >> shift));
  }
  chunk += std::string("\x08\0\0\0\0", 5);
  const uint32_t crc = Crc32(chunk);
  std::string png = "\x89PNG\r\n\x1A\n" + std::string("\0\0\0\x0D", 4) + chunk;
  for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<char>(crc >> shift));
  return png;
}

bool SamePixels(PIX* a, PIX* b) {
  l_int32 same = 0;
  return pixEqual(a, b, &same) == 0 && same;
}

TEST(PageReader, TiffCompressionsAndFillOrdersDecodeToTheSameBitonalPixels) {
  TempDir dir;
  const PixPtr original = BitonalPix(203, 97);
  struct Case {
    const char* name;
    uint16_t compression;
    uint16_t photometric;
    uint16_t fillOrder;
    uint32_t rowsPerStrip;
    uint32_t group3Options;
  } cases[] = {
      {"none", COMPRESSION_NONE, PHOTOMETRIC_MINISWHITE, FILLORDER_MSB2LSB, 0, 0},
      {"packbits", COMPRESSION_PACKBITS, PHOTOMETRIC_MINISBLACK, FILLORDER_MSB2LSB, 16, 0},
      {"lzw", COMPRESSION_LZW, PHOTOMETRIC_MINISWHITE, FILLORDER_MSB2LSB, 10, 0},
      {"deflate", COMPRESSION_ADOBE_DEFLATE, PHOTOMETRIC_MINISWHITE, FILLORDER_MSB2LSB, 0, 0},
      {"g3-1d", COMPRESSION_CCITTFAX3, PHOTOMETRIC_MINISWHITE, FILLORDER_MSB2LSB, 0, 0},
      {"g3-2d", COMPRESSION_CCITTFAX3, PHOTOMETRIC_MINISWHITE, FILLORDER_LSB2MSB, 0,
       GROUP3OPT_2DENCODING},
      {"rle", COMPRESSION_CCITTRLE, PHOTOMETRIC_MINISWHITE, FILLORDER_MSB2LSB, 0, 0},
      {"g4", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, FILLORDER_MSB2LSB, 0, 0},
      {"g4-lsb-black0", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISBLACK, FILLORDER_LSB2MSB, 0, 0},
      {"g4-strips", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, FILLORDER_MSB2LSB, 32, 0},
  };
  for (const Case& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".tif");
    TiffSource how;
    how.compression = c.compression;
    how.photometric = c.photometric;
    how.fillOrder = c.fillOrder;
    how.rowsPerStrip = c.rowsPerStrip;
    how.group3Options = c.group3Options;
    how.dpi = 200;
    WriteTiffPage(path, original.get(), how, false);
    const Page page = LoadQuietly(path, 0);
    EXPECT_EQ(ProgramBitsPerPixel(page), 1) << c.name;
    EXPECT_TRUE(SamePixels(page.pix.get(), original.get())) << c.name;
    EXPECT_EQ(page.xDpi, 200) << c.name;
    EXPECT_EQ(page.yDpi, 200) << c.name;
    // Only one-strip G4 data travels as it is stored, bits in MSB order.
    const bool oneStripG4 = c.compression == COMPRESSION_CCITTFAX4 && c.rowsPerStrip == 0;
    ASSERT_EQ(page.raw.has_value(), oneStripG4) << c.name;
    if (oneStripG4) {
      std::vector<uint8_t> stored = ReadTiffRawStrip(path, 0);
      if (c.fillOrder == FILLORDER_LSB2MSB) TIFFReverseBits(stored.data(), stored.size());
      EXPECT_EQ(page.raw->bytes, stored) << c.name;
      EXPECT_EQ(page.raw->blackIsZero, c.photometric == PHOTOMETRIC_MINISBLACK) << c.name;
    }
  }
}

TEST(PageReader, TiffSampleLayoutsKeepTheirDepth) {
  TempDir dir;
  struct Case {
    const char* name;
    PixPtr pix;
    TiffSource how;
    int expectedBits;
  };
  TiffSource grey;
  grey.photometric = PHOTOMETRIC_MINISBLACK;
  TiffSource whiteIsZero;
  whiteIsZero.photometric = PHOTOMETRIC_MINISWHITE;
  whiteIsZero.compression = COMPRESSION_LZW;
  TiffSource tiled = grey;
  tiled.tileSize = 16;
  tiled.compression = COMPRESSION_ADOBE_DEFLATE;
  TiffSource rgb;
  rgb.compression = COMPRESSION_LZW;
  TiffSource planar;
  planar.planarSeparate = true;
  TiffSource cmyk;
  cmyk.cmyk = true;
  std::vector<Case> cases;
  cases.push_back({"grey8", GreyPix(61, 40, 8), grey, 8});
  cases.push_back({"grey4-white-is-zero", GreyPix(61, 40, 4), whiteIsZero, 4});
  cases.push_back({"grey16", GreyPix(61, 40, 16), grey, 16});
  cases.push_back({"grey8-tiled", GreyPix(61, 40, 8), tiled, 8});
  cases.push_back({"palette8", PalettePix(61, 40, true, 8), grey, 8});
  cases.push_back({"palette4", PalettePix(61, 40, true, 4), grey, 4});
  cases.push_back({"rgb", RgbPix(61, 40), rgb, 24});
  cases.push_back({"rgb-planar", RgbPix(61, 40), planar, 24});
  cases.push_back({"cmyk", RgbPix(61, 40), cmyk, 24});
  for (const Case& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".tif");
    WriteTiffPage(path, c.pix.get(), c.how, false);
    const Page page = LoadQuietly(path, 1);
    EXPECT_EQ(ProgramBitsPerPixel(page), c.expectedBits) << c.name;
    EXPECT_EQ(PixRgba(page.pix.get()), PixRgba(c.pix.get())) << c.name;
    EXPECT_EQ(pixGetColormap(page.pix.get()) != nullptr,
              pixGetColormap(c.pix.get()) != nullptr) << c.name;
    EXPECT_FALSE(page.raw.has_value()) << c.name;
  }
}

TEST(PageReader, TiffJpegAndTwoColourPalettePages) {
  TempDir dir;
  // JPEG inside TIFF: lossy, so compared loosely.
  TiffSource jpeg;
  jpeg.compression = COMPRESSION_JPEG;
  const PixPtr colour = RgbPix(64, 48);
  WriteTiffPage(dir.File("jpeg.tif"), colour.get(), jpeg, false);
  const Page page = LoadQuietly(dir.File("jpeg.tif"), 1);
  EXPECT_EQ(ProgramBitsPerPixel(page), 24);
  l_float32 difference = 0;
  pixGetDifferenceStats(page.pix.get(), colour.get(), 0, 1, &difference, nullptr, 0);
  EXPECT_LT(difference, 12.0f);

  // A 1-bit palette of light blue and dark red is bitonal with the dark
  // colour black.
  PixPtr twoColour(pixCopy(nullptr, BitonalPix(40, 30).get()));
  PIXCMAP* cmap = pixcmapCreate(1);
  pixcmapAddColor(cmap, 120, 0, 0);    // index 0: dark
  pixcmapAddColor(cmap, 200, 220, 255);  // index 1: light
  pixSetColormap(twoColour.get(), cmap);
  WriteTiffPage(dir.File("two.tif"), twoColour.get(), TiffSource{}, false);
  const Page bitonal = LoadQuietly(dir.File("two.tif"), 1);
  ASSERT_EQ(ProgramBitsPerPixel(bitonal), 1);
  EXPECT_EQ(pixGetColormap(bitonal.pix.get()), nullptr);
  PixPtr inverted(pixInvert(nullptr, BitonalPix(40, 30).get()));
  EXPECT_TRUE(SamePixels(bitonal.pix.get(), inverted.get()));
}

TEST(PageReader, MultiPageTiffCountsAndPageNumbers) {
  TempDir dir;
  const std::string path = dir.File("three.tif");
  TiffSource g4;
  g4.compression = COMPRESSION_CCITTFAX4;
  for (unsigned seed = 1; seed <= 3; ++seed) {
    WriteTiffPage(path, BitonalPix(50, 30, seed).get(), g4, seed > 1);
  }
  EXPECT_EQ(GetPageCount(path), 3);
  EXPECT_TRUE(SamePixels(LoadPage(path, 0).pix.get(), BitonalPix(50, 30, 1).get()));
  EXPECT_TRUE(SamePixels(LoadPage(path, 1).pix.get(), BitonalPix(50, 30, 1).get()));
  EXPECT_TRUE(SamePixels(LoadPage(path, 3).pix.get(), BitonalPix(50, 30, 3).get()));
  try {
    LoadQuietly(path, 4);
    ADD_FAILURE() << "page 4 of 3 loaded";
  } catch (const ImageError& e) {
    EXPECT_NE(std::string(e.what()).find("page 4 is beyond the end of the file (3 pages)"),
              std::string::npos)
        << e.what();
  }
}

TEST(PageReader, JpegPngAndBmpSourcesAreRecognisedByContent) {
  TempDir dir;
  // JPEG: grey and YCbCr baseline files carry their bytes; CMYK and
  // progressive files do not.
  const PixPtr colour = RgbPix(80, 60);
  const PixPtr grey = GreyPix(80, 60);
  WriteJpeg(dir.File("colour.jpg"), colour.get(), 90, 150);
  WriteJpeg(dir.File("grey.jpg"), grey.get(), 90, 0);
  WriteJpeg(dir.File("cmyk.jpg"), colour.get(), 95, 72, false, true);
  WriteJpeg(dir.File("progressive.jpg"), colour.get(), 90, 72, true);
  const Page colourPage = LoadQuietly(dir.File("colour.jpg"), 0);
  EXPECT_EQ(ProgramBitsPerPixel(colourPage), 24);
  EXPECT_EQ(colourPage.xDpi, 150);
  ASSERT_TRUE(colourPage.raw.has_value());
  EXPECT_EQ(colourPage.raw->components, 3);
  EXPECT_EQ(std::string(colourPage.raw->bytes.begin(), colourPage.raw->bytes.end()),
            test::ReadBytes(dir.File("colour.jpg")));
  const Page greyPage = LoadQuietly(dir.File("grey.jpg"), 0);
  EXPECT_EQ(ProgramBitsPerPixel(greyPage), 8);
  ASSERT_TRUE(greyPage.raw.has_value());
  EXPECT_EQ(greyPage.raw->components, 1);
  const Page cmykPage = LoadQuietly(dir.File("cmyk.jpg"), 0);
  EXPECT_EQ(ProgramBitsPerPixel(cmykPage), 24);
  EXPECT_FALSE(cmykPage.raw.has_value());
  l_float32 difference = 0;
  pixGetDifferenceStats(cmykPage.pix.get(), colour.get(), 0, 1, &difference, nullptr, 0);
  EXPECT_LT(difference, 8.0f) << "Adobe CMYK read with the wrong ink sense";
  EXPECT_FALSE(LoadQuietly(dir.File("progressive.jpg"), 0).raw.has_value());

  // PNG and BMP written by Leptonica; names that lie about the format.
  struct Case {
    const char* name;
    PixPtr pix;
    int bits;
  };
  std::vector<Case> cases;
  cases.push_back({"bitonal", BitonalPix(45, 33), 1});
  cases.push_back({"grey", GreyPix(45, 33), 8});
  cases.push_back({"grey16", GreyPix(45, 33, 16), 16});
  cases.push_back({"palette", PalettePix(45, 33, true, 4), 4});
  cases.push_back({"colour", RgbPix(45, 33), 24});
  for (const Case& c : cases) {
    pixSetResolution(c.pix.get(), 240, 240);
    const std::string png = dir.File(std::string(c.name) + "-png.tif");
    ASSERT_EQ(pixWrite(png.c_str(), c.pix.get(), IFF_PNG), 0);
    const Page page = LoadQuietly(png, 1);
    EXPECT_EQ(ProgramBitsPerPixel(page), c.bits) << c.name;
    EXPECT_EQ(PixRgba(page.pix.get()), PixRgba(c.pix.get())) << c.name;
    EXPECT_EQ(page.xDpi, 240) << c.name;
    EXPECT_EQ(GetPageCount(png), 1);
  }
  const std::string bmp = dir.File("colour.jpg.bmp-really");
  ASSERT_EQ(pixWrite(bmp.c_str(), RgbPix(45, 33).get(), IFF_BMP), 0);
  const Page bmpPage = LoadQuietly(bmp, 1);
  EXPECT_EQ(ProgramBitsPerPixel(bmpPage), 24);
  EXPECT_EQ(PixRgba(bmpPage.pix.get()), PixRgba(RgbPix(45, 33).get()));
  EXPECT_NE(LoadError(dir.File("colour.jpg") + "-missing"), "");
  try {
    LoadQuietly(bmp, 2);
    ADD_FAILURE() << "page 2 of a bitmap loaded";
  } catch (const ImageError& e) {
    EXPECT_NE(std::string(e.what()).find("(1 page)"), std::string::npos) << e.what();
  }
}

TEST(PageReader, PdfPagesRenderAtTheResolutionOfTheirLargestImage) {
  TempDir dir;
  // Letter pages (612 x 792 pt) filled by an 850 x 1100 image: 100 dpi.
  WriteImagePdf(dir.File("grey.pdf"), 2, 612, 792, 850, 1100, "/DeviceGray");
  EXPECT_EQ(GetPageCount(dir.File("grey.pdf")), 2);
  const Page page = LoadQuietly(dir.File("grey.pdf"), 2);
  EXPECT_EQ(page.xDpi, 100);
  EXPECT_EQ(pixGetWidth(page.pix.get()), 850);
  EXPECT_EQ(pixGetHeight(page.pix.get()), 1100);
  EXPECT_EQ(ProgramBitsPerPixel(page), 8);
  EXPECT_EQ(LoadError(dir.File("grey.pdf")), "");
  try {
    LoadQuietly(dir.File("grey.pdf"), 3);
    ADD_FAILURE() << "page 3 of 2 loaded";
  } catch (const ImageError& e) {
    EXPECT_NE(std::string(e.what()).find("page 3 is beyond the end"), std::string::npos);
  }

  WriteImagePdf(dir.File("colour.pdf"), 1, 144, 72, 400, 200, "/DeviceRGB");
  const Page colour = LoadQuietly(dir.File("colour.pdf"), 1);
  EXPECT_EQ(colour.xDpi, 200);
  EXPECT_EQ(ProgramBitsPerPixel(colour), 24);

  WriteImagePdf(dir.File("vector.pdf"), 1, 72, 144, 0, 0, "");
  const Page vector = LoadQuietly(dir.File("vector.pdf"), 1);
  EXPECT_EQ(vector.xDpi, 300);
  EXPECT_EQ(pixGetWidth(vector.pix.get()), 300);
  EXPECT_EQ(pixGetHeight(vector.pix.get()), 600);
}

// Every reader fails a damaged file with the kind of its damage, naming
// the file.
TEST(PageReader, BadFilesFailWithTheKindOfTheirDamage) {
  TempDir dir;
  auto expectError = [&](const std::string& name, ErrorKind kind) {
    try {
      LoadQuietly(dir.File(name), 1);
      ADD_FAILURE() << name << " loaded";
    } catch (const ImageError& e) {
      EXPECT_EQ(e.Kind(), kind) << name << ": " << e.what();
      EXPECT_EQ(e.File(), dir.File(name));
    }
  };

  test::WriteBytes(dir.File("empty.tif"), "");
  expectError("empty.tif", ErrorKind::Empty);
  EXPECT_THROW(GetPageCount(dir.File("empty.tif")), ImageError);
  expectError("missing.tif", ErrorKind::NotFound);
  test::WriteBytes(dir.File("notes.tif"), "just some text, not an image at all");
  expectError("notes.tif", ErrorKind::NotThatFormat);

  // A TIFF copy cut short (its directory, written last, is lost), and one
  // whose strip runs past the end of the file.
  TiffSource lzw;
  lzw.compression = COMPRESSION_LZW;
  lzw.photometric = PHOTOMETRIC_MINISBLACK;
  WriteTiffPage(dir.File("whole.tif"), GreyPix(300, 200).get(), lzw, false);
  const std::string whole = test::ReadBytes(dir.File("whole.tif"));
  test::WriteBytes(dir.File("cut.tif"), whole.substr(0, whole.size() * 2 / 3));
  expectError("cut.tif", ErrorKind::Damaged);
  std::string longStrip = whole;
  PatchTiffEntry(longStrip, TIFFTAG_STRIPBYTECOUNTS, static_cast<uint32_t>(whole.size() * 3));
  test::WriteBytes(dir.File("long-strip.tif"), longStrip);
  expectError("long-strip.tif", ErrorKind::Damaged);

  // A JPEG whose header is intact but whose image data is garbage.
  WriteJpeg(dir.File("good.jpg"), RgbPix(120, 90).get(), 90, 72);
  std::string jpeg = test::ReadBytes(dir.File("good.jpg"));
  const size_t scan = jpeg.find("\xFF\xDA");
  ASSERT_NE(scan, std::string::npos);
  const size_t dataStart = scan + 2 + ((uint8_t(jpeg[scan + 2]) << 8) | uint8_t(jpeg[scan + 3]));
  uint32_t state = 99;
  for (size_t i = dataStart; i + 2 < jpeg.size(); ++i) {
    state = state * 1664525u + 1013904223u;
    jpeg[i] = static_cast<char>((state >> 24) == 0xFF ? 0x12 : state >> 24);
  }
  test::WriteBytes(dir.File("garbage.jpg"), jpeg);
  expectError("garbage.jpg", ErrorKind::Damaged);
  test::WriteBytes(dir.File("short.jpg"), jpeg.substr(0, dataStart + 40));
  expectError("short.jpg", ErrorKind::Damaged);

  // Headers that declare 100,000 x 100,000 pixels (JPEG: 60,000, its
  // largest is 65,535) with hardly any data.
  TiffSource g4;
  g4.compression = COMPRESSION_CCITTFAX4;
  WriteTiffPage(dir.File("small.tif"), BitonalPix(16, 16).get(), g4, false);
  std::string hugeTiff = test::ReadBytes(dir.File("small.tif"));
  for (uint16_t tag : {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_ROWSPERSTRIP}) {
    PatchTiffEntry(hugeTiff, tag, 100000);
  }
  test::WriteBytes(dir.File("huge.tif"), hugeTiff);
  expectError("huge.tif", ErrorKind::TooLarge);
  test::WriteBytes(dir.File("huge.png"), PngHeaderOnly(100000, 100000));
  expectError("huge.png", ErrorKind::TooLarge);
  std::string bmp = "BM" + std::string(12, '\0') +
                    std::string("\x28\0\0\0\xA0\x86\x01\0\xA0\x86\x01\0\x01\0\x18\0", 16) +
                    std::string(24, '\0');
  test::WriteBytes(dir.File("huge.bmp"), bmp);
  expectError("huge.bmp", ErrorKind::TooLarge);
  // A bitmap of 100 x 100 pixels without its pixels.
  std::string cutBmp = bmp;
  cutBmp.replace(18, 8, std::string("\x64\0\0\0\x64\0\0\0", 8));
  test::WriteBytes(dir.File("cut.bmp"), cutBmp);
  expectError("cut.bmp", ErrorKind::Damaged);
  std::string bigJpeg = test::ReadBytes(dir.File("good.jpg"));
  const size_t frame = bigJpeg.find("\xFF\xC0");
  ASSERT_NE(frame, std::string::npos);
  bigJpeg[frame + 5] = '\xEA', bigJpeg[frame + 6] = '\x60';  // height 60000
  bigJpeg[frame + 7] = '\xEA', bigJpeg[frame + 8] = '\x60';  // width 60000
  test::WriteBytes(dir.File("huge.jpg"), bigJpeg);
  expectError("huge.jpg", ErrorKind::TooLarge);
  std::string png = PngHeaderOnly(40, 30);
  png += std::string("\0\0\0\x08IDAT\x01\x02\x03\x04\x05\x06\x07\x08\0\0\0\0", 20);
  test::WriteBytes(dir.File("damaged.png"), png);
  expectError("damaged.png", ErrorKind::Damaged);

  // PDFs: a wrong cross-reference table is rebuilt; a file that has only a
  // header fails.
  WriteImagePdf(dir.File("xref.pdf"), 1, 72, 72, 30, 30, "/DeviceGray");
  std::string pdf = test::ReadBytes(dir.File("xref.pdf"));
  const size_t startxref = pdf.rfind("startxref\n");
  pdf.replace(startxref + 10, pdf.find('\n', startxref + 10) - startxref - 10, "123");
  const size_t table = pdf.find("xref\n0 ");
  pdf.replace(pdf.find("0000000", table + 30), 10, "0000000999");
  test::WriteBytes(dir.File("xref.pdf"), pdf);
  EXPECT_EQ(LoadError(dir.File("xref.pdf")), "");
  test::WriteBytes(dir.File("header-only.pdf"), "%PDF-1.4\n%garbage follows\n\x01\x02\x03");
  expectError("header-only.pdf", ErrorKind::Damaged);
}

TEST(PageReader, ConcurrentReadsReportTheirOwnFiles) {
  TempDir dir;
  TiffSource g4;
  g4.compression = COMPRESSION_CCITTFAX4;
  WriteTiffPage(dir.File("good.tif"), BitonalPix(300, 200).get(), g4, false);
  const std::string good = test::ReadBytes(dir.File("good.tif"));
  WriteJpeg(dir.File("good.jpg"), RgbPix(200, 150).get(), 80, 72);
  const std::string jpeg = test::ReadBytes(dir.File("good.jpg"));
  constexpr int kThreads = 4;
  for (int t = 0; t < kThreads; ++t) {
    test::WriteBytes(dir.File("bad" + std::to_string(t) + ".tif"), good.substr(0, good.size() / 2));
    test::WriteBytes(dir.File("bad" + std::to_string(t) + ".jpg"), jpeg.substr(0, jpeg.size() / 2));
  }
  std::vector<std::string> failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 20; ++round) {
        for (const std::string ext : {".tif", ".jpg"}) {
          const std::string bad = dir.File("bad" + std::to_string(t) + ext);
          try {
            LoadPage(bad, 1);
            failures[t] += "loaded " + bad + "\n";
          } catch (const ImageError& e) {
            if (std::string(e.what()).rfind(bad, 0) != 0) failures[t] += e.what() + std::string("\n");
          }
          if (ProgramBitsPerPixel(LoadPage(dir.File("good" + ext), 1)) == 0) failures[t] += "empty\n";
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (const std::string& failure : failures) EXPECT_EQ(failure, "");
}

}  // namespace
}  // namespace zelk
