#include "jobs/SaveChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelk {
namespace {

using Compress = Settings::ImageCompressSection;

Compress Defaults() { return Compress{}; }

SaveParameters Previous() {
  // Values left by an earlier call, so that "left unchanged" is visible.
  SaveParameters p;
  p.m_nSaveFormat = 77;
  p.m_nSaveBitsPerPixel = 77;
  p.m_nSaveQFactor = 77;
  return p;
}

struct Expect {
  int16_t format, bits, factor;
};

void ExpectParams(const SaveParameters& p, Expect e, const std::string& what) {
  EXPECT_EQ(p.m_nSaveFormat, e.format) << what;
  EXPECT_EQ(p.m_nSaveBitsPerPixel, e.bits) << what;
  EXPECT_EQ(p.m_nSaveQFactor, e.factor) << what;
}

TEST(SaveChoice, CustomFactorRoundsHalvesToEven) {
  struct Case { int16_t q; int16_t factor; };
  const Case cases[] = {{100, 0}, {50, 125}, {1, 248}, {3, 242}, {5, 238},
                        {0, 250}, {200, -250}, {-1, 252}, {6553, -16132},
                        {-6553, 16632}, {7, 232}, {9, 228}};
  for (const Case& c : cases) {
    EXPECT_EQ(CustomQualityFactor(c.q), c.factor) << "q=" << c.q;
  }
}

TEST(SaveChoice, CustomFactorOverflowIsAnItemError) {
  for (int16_t q : {int16_t{6554}, int16_t{-6554}, int16_t{32767}, int16_t{-32768}}) {
    EXPECT_THROW(CustomQualityFactor(q), SaveChoiceOverflow) << q;
  }
  Compress c = Defaults();
  c.JpgQuality = 3;
  c.JpgQualityValue = 7000;
  SaveParameters p = Previous();
  EXPECT_THROW(ChoosePdfSaveFormat(p, c, 24, "a.jpg"), ImageError);
  c.Tif2Quality = 3;
  c.Tif2QualityValue = -7000;
  EXPECT_THROW(ChooseTifSaveFormat(p, c, 8, kSaveAsTif), SaveChoiceOverflow);
  // A bitonal page never looks at the quality keys.
  EXPECT_NO_THROW(ChooseTifSaveFormat(p, c, 1, kSaveAsTif));
}

TEST(SaveChoice, PresetsAndOutOfTablePreset) {
  EXPECT_EQ(PresetQualityFactor(0, 0), 15);
  EXPECT_EQ(PresetQualityFactor(1, 0), 130);
  EXPECT_EQ(PresetQualityFactor(2, 0), 245);
  EXPECT_EQ(PresetQualityFactor(3, 1), 248);
  EXPECT_EQ(PresetQualityFactor(3, 100), 0);
  EXPECT_FALSE(PresetQualityFactor(4, 50).has_value());
  EXPECT_FALSE(PresetQualityFactor(-1, 50).has_value());
}

TEST(SaveChoice, TifChooserTable) {
  struct Case {
    std::string what;
    Compress settings;
    int bits;
    int16_t kind;
    Expect expect;
  };
  auto with = [](auto change) { Compress c = Defaults(); change(c); return c; };
  const std::vector<Case> cases = {
      {"bitonal G4", with([](Compress& c) { c.Tif1Compress = 0; }), 1, 1, {29, 1, 128}},
      {"bitonal G3 2-D", with([](Compress& c) { c.Tif1Compress = 1; }), 1, 1, {28, 1, 128}},
      {"bitonal G3 1-D", with([](Compress& c) { c.Tif1Compress = 2; }), 1, 1, {27, 1, 128}},
      {"bitonal CCITT RLE", with([](Compress& c) { c.Tif1Compress = 3; }), 1, 1, {25, 1, 128}},
      {"bitonal LZW", with([](Compress& c) { c.Tif1Compress = 4; }), 1, 1, {17, 1, 128}},
      {"bitonal page bound for JPEG gets a TIFF code",
       with([](Compress& c) { c.Tif1Compress = 3; c.JpgCompress = 1; }), 1, 2, {25, 1, 128}},
      {"tif uncompressed", with([](Compress& c) { c.Tif2Compress = 0; }), 24, 1, {3, 24, 15}},
      {"tif jpeg 444", with([](Compress& c) { c.Tif2Compress = 1; c.Tif2Quality = 1; }), 24, 1,
       {11, 24, 130}},
      {"tif jpeg 422", with([](Compress& c) { c.Tif2Compress = 2; c.Tif2Quality = 2; }), 8, 1,
       {24, 8, 245}},
      {"tif jpeg 411", with([](Compress& c) { c.Tif2Compress = 3; }), 24, 1, {22, 24, 15}},
      {"tif lzw", with([](Compress& c) { c.Tif2Compress = 4; }), 24, 1, {17, 24, 15}},
      {"tif custom 1", with([](Compress& c) { c.Tif2Quality = 3; c.Tif2QualityValue = 1; }), 24,
       1, {3, 24, 248}},
      {"tif custom 100", with([](Compress& c) { c.Tif2Quality = 3; c.Tif2QualityValue = 100; }),
       24, 1, {3, 24, 0}},
      {"tif quality keys, not jpg keys",
       with([](Compress& c) { c.Tif2Quality = 1; c.JpgQuality = 2; }), 24, 1, {3, 24, 130}},
      {"tif quality 9 keeps the previous factor",
       with([](Compress& c) { c.Tif2Quality = 9; }), 24, 1, {3, 24, 77}},
      {"jpg 444", with([](Compress& c) { c.JpgCompress = 0; c.JpgQuality = 1; }), 24, 2,
       {10, 24, 130}},
      {"jpg 422", with([](Compress& c) { c.JpgCompress = 1; }), 24, 2, {23, 24, 15}},
      {"jpg 411 custom 3",
       with([](Compress& c) { c.JpgCompress = 2; c.JpgQuality = 3; c.JpgQualityValue = 3; }), 24,
       2, {21, 24, 242}},
      {"4-bit page at 8 bits", Defaults(), 4, 1, {3, 8, 15}},
      {"2-bit page at 8 bits", Defaults(), 2, 1, {3, 8, 15}},
      {"8-bit page at 8 bits", Defaults(), 8, 1, {3, 8, 15}},
      {"16-bit page at 24 bits", Defaults(), 16, 1, {3, 24, 15}},
      {"32-bit page at 24 bits", Defaults(), 32, 1, {3, 24, 15}},
      {"unknown kind sets only the bits", Defaults(), 8, 5, {77, 8, 77}},
  };
  for (const Case& c : cases) {
    SaveParameters p = Previous();
    ChooseTifSaveFormat(p, c.settings, c.bits, c.kind);
    ExpectParams(p, c.expect, c.what);
  }
}

TEST(SaveChoice, PdfChooserTable) {
  struct Case {
    std::string what;
    Compress settings;
    int bits;
    std::string name;
    Expect expect;
  };
  auto with = [](auto change) { Compress c = Defaults(); change(c); return c; };
  const std::vector<Case> cases = {
      {"bitonal G4", with([](Compress& c) { c.Tif1Compress = 0; }), 1, "a.tif", {149, 1, 128}},
      {"bitonal G3 2-D", with([](Compress& c) { c.Tif1Compress = 1; }), 1, "a.tif", {148, 1, 128}},
      {"bitonal G3 1-D", with([](Compress& c) { c.Tif1Compress = 2; }), 1, "a.tif", {147, 1, 128}},
      {"bitonal CCITT RLE becomes G4", with([](Compress& c) { c.Tif1Compress = 3; }), 1, "a.tif",
       {149, 1, 128}},
      {"bitonal LZW gives 146", with([](Compress& c) { c.Tif1Compress = 4; }), 1, "a.jpg",
       {146, 1, 128}},
      {"bitonal out of table gives 146", with([](Compress& c) { c.Tif1Compress = 11; }), 1,
       "a.tif", {146, 1, 128}},
      {"scan.TIF uncompressed", with([](Compress& c) { c.Tif2Compress = 0; c.JpgQuality = 1; }),
       24, "scan.TIF", {146, 24, 130}},
      {"scan.TIF 4:2:2 takes the JPEG quality",
       with([](Compress& c) { c.Tif2Compress = 2; c.Tif2Quality = 2; c.JpgQuality = 1; }), 24,
       "scan.TIF", {151, 24, 130}},
      {"tif 4:4:4", with([](Compress& c) { c.Tif2Compress = 1; }), 8, "a.tif", {150, 8, 15}},
      {"tif 4:1:1", with([](Compress& c) { c.Tif2Compress = 3; }), 24, "a.tiff", {152, 24, 15}},
      {"tif LZW gives 146", with([](Compress& c) { c.Tif2Compress = 4; }), 24, "a.tif",
       {146, 24, 15}},
      {"jpg 4:4:4", with([](Compress& c) { c.JpgCompress = 0; }), 24, "a.jpg", {150, 24, 15}},
      {"jpg 4:2:2", with([](Compress& c) { c.JpgCompress = 1; }), 24, "A.JPG", {151, 24, 15}},
      {"jpg 4:1:1 custom",
       with([](Compress& c) { c.JpgCompress = 2; c.JpgQuality = 3; c.JpgQualityValue = 5; }), 24,
       "a.jpg", {152, 24, 238}},
      {"x.jpg.tif takes the TIFF mapping",
       with([](Compress& c) { c.JpgCompress = 1; c.Tif2Compress = 3; }), 24, "x.jpg.tif",
       {152, 24, 15}},
      {"path with both substrings takes the TIFF mapping",
       with([](Compress& c) { c.JpgCompress = 1; c.Tif2Compress = 0; }), 24,
       "D:\\scan.tif\\p1.jpg", {146, 24, 15}},
      {"tif directory, jpg file: TIFF mapping",
       with([](Compress& c) { c.JpgCompress = 2; c.Tif2Compress = 1; }), 24, "/in/a.jpg/b.tif",
       {150, 24, 15}},
      {"page.jpeg keeps 146", with([](Compress& c) { c.JpgCompress = 1; }), 24, "page.jpeg",
       {146, 24, 15}},
      {"page.bmp keeps 146", with([](Compress& c) { c.Tif2Compress = 1; }), 24, "page.bmp",
       {146, 24, 15}},
      {"Tif2Compress 7 leaves 146", with([](Compress& c) { c.Tif2Compress = 7; }), 24, "a.tif",
       {146, 24, 15}},
      {"JpgCompress 7 leaves 146", with([](Compress& c) { c.JpgCompress = 7; }), 24, "a.jpg",
       {146, 24, 15}},
      {"JpgQuality 8 keeps the previous factor", with([](Compress& c) { c.JpgQuality = 8; }), 24,
       "a.jpg", {150, 24, 77}},
      {"4-bit page at 8 bits", Defaults(), 4, "a.tif", {146, 8, 15}},
      {"32-bit page at 24 bits", Defaults(), 32, "a.tif", {146, 24, 15}},
  };
  for (const Case& c : cases) {
    SaveParameters p = Previous();
    ChoosePdfSaveFormat(p, c.settings, c.bits, c.name);
    ExpectParams(p, c.expect, c.what);
  }
}

// A value outside its table keeps the code the previous page left while
// that code can save the page; otherwise the item fails naming the setting.
TEST(SaveChoice, OutOfTableValueKeepsAFittingFormatAndNamesTheSettingOtherwise) {
  struct Case {
    std::string what;
    Compress settings;
    int bits;
    int16_t kind;
    int16_t previous;
    Expect expect;         // when the previous code fits
    const char* setting;   // when it does not: the setting named
  };
  auto with = [](auto change) { Compress c = Defaults(); change(c); return c; };
  const std::vector<Case> cases = {
      {"bitonal keeps LZW", with([](Compress& c) { c.Tif1Compress = 9; }), 1, 1, 17,
       {17, 1, 128}, nullptr},
      {"bitonal keeps a JPEG code", with([](Compress& c) { c.Tif1Compress = -1; }), 1, 2, 23,
       {23, 1, 128}, nullptr},
      {"tif keeps JPEG 4:2:2", with([](Compress& c) { c.Tif2Compress = 7; }), 24, 1, 24,
       {24, 24, 15}, nullptr},
      {"jpg keeps 4:1:1", with([](Compress& c) { c.JpgCompress = 3; }), 8, 2, 21, {21, 8, 15},
       nullptr},
      {"colour page after a G4 page", with([](Compress& c) { c.JpgCompress = 3; }), 24, 2, 29,
       {}, "[ImageCompress] JpgCompress"},
      {"grey page after a G3 page", with([](Compress& c) { c.Tif2Compress = 5; }), 8, 1, 27,
       {}, "[ImageCompress] Tif2Compress"},
      {"first page of a run", with([](Compress& c) { c.Tif2Compress = -3; }), 24, 1, 0, {},
       "[ImageCompress] Tif2Compress"},
      {"bitonal page after a PDF code", with([](Compress& c) { c.Tif1Compress = 5; }), 1, 1, 150,
       {}, "[ImageCompress] Tif1Compress"},
      {"unknown code", with([](Compress& c) { c.JpgCompress = 3; }), 24, 2, 77, {},
       "[ImageCompress] JpgCompress"},
  };
  for (const Case& c : cases) {
    SaveParameters p = Previous();
    p.m_nSaveFormat = c.previous;
    if (c.setting == nullptr) {
      ChooseTifSaveFormat(p, c.settings, c.bits, c.kind);
      ExpectParams(p, c.expect, c.what);
      continue;
    }
    try {
      ChooseTifSaveFormat(p, c.settings, c.bits, c.kind);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const SaveSettingError& error) {
      EXPECT_NE(std::string(error.what()).find(c.setting), std::string::npos)
          << c.what << ": " << error.what();
    }
  }
  // Inside the table the chosen code always fits, whatever came before.
  SaveParameters p = Previous();
  p.m_nSaveFormat = 29;
  EXPECT_NO_THROW(ChooseTifSaveFormat(p, Defaults(), 24, kSaveAsJpg));
  EXPECT_EQ(p.m_nSaveFormat, 10);
}

TEST(SaveChoice, TifChooserKeepsFormatOfThePreviousCallNotAFixedValue) {
  Compress c = Defaults();
  c.Tif2Compress = 2;
  SaveParameters p;
  ChooseTifSaveFormat(p, c, 24, kSaveAsTif);
  ASSERT_EQ(p.m_nSaveFormat, 24);
  c.Tif2Compress = 7;
  ChooseTifSaveFormat(p, c, 24, kSaveAsTif);
  EXPECT_EQ(p.m_nSaveFormat, 24);
}

}  // namespace
}  // namespace zelk
