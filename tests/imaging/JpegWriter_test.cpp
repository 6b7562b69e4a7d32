#include "imaging/JpegStreamInfo.h"
#include "imaging/JpegWriter.h"
#include "imaging/PageReader.h"
#include "imaging/SaveFormat.h"
#include "imaging/SavePage.h"

#include "imaging/Toolkit_helpers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

using namespace toolkittest;
using test::TempDir;

TEST(JpegWriter, EveryJpegCodeWritesItsSubsamplingAndResolution) {
  TempDir dir;
  struct Case {
    const char* name;
    int code;
    PixPtr pix;
    int bits;
    int components;
    int lumaH;  // luminance samples per chroma sample, across
  };
  std::vector<Case> cases;
  cases.push_back({"444", kJpeg444, RgbPix(97, 61), 24, 3, 1});
  cases.push_back({"422", kJpeg422, RgbPix(97, 61), 24, 3, 2});
  cases.push_back({"411", kJpeg411, RgbPix(97, 61), 24, 3, 4});
  cases.push_back({"grey", kJpeg422, GreyPix(97, 61), 8, 1, 1});
  cases.push_back({"bitonal", kJpeg444, BitonalPix(97, 61), 1, 1, 1});
  cases.push_back({"colour palette", kJpeg411, PalettePix(97, 61, true), 8, 3, 4});
  cases.push_back({"grey palette", kJpeg411, PalettePix(97, 61, false), 8, 1, 1});
  for (Case& c : cases) {
    const std::string path = dir.File(std::string(c.name) + ".jpg");
    Page page = PageOf(std::move(c.pix), 0);
    page.xDpi = 300;
    page.yDpi = 150;
    SavePage(page, path, {c.code, c.bits, 130}, true);
    const JpegHeader header = ReadJpegHeader(path);
    ASSERT_TRUE(header.ok) << c.name;
    EXPECT_EQ(header.width, 97) << c.name;
    EXPECT_EQ(header.components, c.components) << c.name;
    EXPECT_EQ(header.hSampling[0], c.lumaH) << c.name;
    EXPECT_EQ(header.vSampling[0], 1) << c.name;
    for (int k = 1; k < header.components; ++k) {
      EXPECT_EQ(header.hSampling[k], 1) << c.name;
      EXPECT_EQ(header.vSampling[k], 1) << c.name;
    }
    EXPECT_EQ(header.densityUnit, 1) << c.name;
    EXPECT_EQ(header.xDensity, 300) << c.name;
    EXPECT_EQ(header.yDensity, 150) << c.name;
  }
}

TEST(JpegWriter, AJpegFileTakesNoSecondPage) {
  TempDir dir;
  const std::string path = dir.File("page.jpg");
  const Page page = PageOf(RgbPix(40, 30), 200);
  SaveJpegPage(page, path, {kJpeg444, 24, 15}, true);
  const std::string first = test::ReadBytes(path);
  try {
    SaveJpegPage(page, path, {kJpeg444, 24, 15}, true);
    ADD_FAILURE() << "a second page went into a JPEG file";
  } catch (const ImageError& e) {
    EXPECT_NE(std::string(e.what()).find("one page"), std::string::npos) << e.what();
  }
  EXPECT_EQ(test::ReadBytes(path), first);
  // Without append the file is replaced; the quality factor shows in size.
  SaveJpegPage(page, path, {kJpeg444, 24, 245}, false);
  EXPECT_LT(test::ReadBytes(path).size(), first.size());
  EXPECT_EQ(GetPageCount(path), 1);
  EXPECT_THROW(SavePage(page, dir.File("x.jpg"), {42, 24, 15}, false), ImageError);
  EXPECT_THROW(SaveJpegPage(page, dir.File("x.jpg"), {kTiffJpeg444, 24, 15}, false), ImageError);
}

std::optional<JpegStreamInfo> StreamInfoOf(const std::string& bytes) {
  return ReadJpegStreamInfo(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(JpegWriter, ASourceStreamNoFinerThanTheTargetIsCopied) {
  TempDir dir;
  const std::string source = dir.File("source.jpg");
  WriteJpeg(source, RgbPix(120, 80).get(), 75, 300);  // libjpeg's default 4:2:0
  const std::string sourceBytes = test::ReadBytes(source);
  Page page = LoadPage(source, 0);
  ASSERT_TRUE(page.raw.has_value());

  // Factor 14 is quality 95: finer than the source in quality and chroma.
  SaveJpegPage(page, dir.File("444.jpg"), {kJpeg444, 24, 14}, false);
  EXPECT_EQ(test::ReadBytes(dir.File("444.jpg")), sourceBytes);
  SaveJpegPage(page, dir.File("422.jpg"), {kJpeg422, 24, 14}, false);
  EXPECT_EQ(test::ReadBytes(dir.File("422.jpg")), sourceBytes);

  // Factor 139 is quality 50: coarser than the source, so encoded anew.
  SaveJpegPage(page, dir.File("q50.jpg"), {kJpeg444, 24, 139}, false);
  const std::optional<JpegStreamInfo> q50 = StreamInfoOf(test::ReadBytes(dir.File("q50.jpg")));
  ASSERT_TRUE(q50);
  EXPECT_EQ(q50->estimatedQuality, 50);
  EXPECT_EQ(q50->lumaH * q50->lumaV, 1);

  // Grey output of a colour stream is encoded anew, whatever the quality.
  SaveJpegPage(page, dir.File("grey.jpg"), {kJpeg444, 8, 14}, false);
  EXPECT_EQ(ReadJpegHeader(dir.File("grey.jpg")).components, 1);

  // A copy carries the page's resolution, not the source's.
  page.xDpi = page.yDpi = 200;
  SaveJpegPage(page, dir.File("200dpi.jpg"), {kJpeg444, 24, 14}, false);
  const std::string copied = test::ReadBytes(dir.File("200dpi.jpg"));
  EXPECT_EQ(copied.size(), sourceBytes.size());
  EXPECT_EQ(copied.substr(20), sourceBytes.substr(20));
  EXPECT_EQ(ReadJpegHeader(dir.File("200dpi.jpg")).xDensity, 200);
}

TEST(JpegWriter, AJfifSegmentTooShortForTheResolutionIsLeftWhole) {
  TempDir dir;
  const std::string source = dir.File("source.jpg");
  WriteJpeg(source, GreyPix(64, 48).get(), 60, 300);
  // libjpeg's JFIF segment (18 bytes after the start marker) replaced by
  // one that ends right after its name; the next segment follows at once.
  std::string bytes = test::ReadBytes(source);
  ASSERT_EQ(bytes.substr(6, 4), "JFIF");
  bytes.replace(2, 18, std::string("\xFF\xE0\x00\x07JFIF\x00", 9));
  test::WriteBytes(source, bytes);
  Page page = LoadPage(source, 0);
  ASSERT_TRUE(page.raw.has_value());
  page.xDpi = page.yDpi = 300;

  const std::string out = dir.File("out.jpg");
  SaveJpegPage(page, out, {kJpeg444, 8, 14}, false);
  const Page saved = LoadPage(out, 0);
  l_int32 same = 0;
  pixEqual(saved.pix.get(), page.pix.get(), &same);
  EXPECT_TRUE(same);
  EXPECT_EQ(ReadJpegHeader(out).xDensity, 300);
}

}  // namespace
}  // namespace zelk
