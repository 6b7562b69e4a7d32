#include "imaging/JpegStreamInfo.h"

#include "imaging/Toolkit_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace zelk {
namespace {

// How a test stream is encoded with libjpeg.
struct Encoding {
  int components = 3;  // 1 grey, 3 YCbCr
  int quality = 75;
  int lumaH = 2, lumaV = 2;
  int chromaH = 1, chromaV = 1;
  bool progressive = false;
  bool arithmetic = false;
  bool storedAsRgb = false;  // colour kept as RGB (Adobe marker) instead of YCbCr
  // Non-zero: instead of the quality, libjpeg's base tables scaled by this
  // percentage and nudged by one up and down, so no quality reproduces them.
  int tableScale = 0;
  bool separateTables = false;  // tables in a stream of their own, as in a TIFF
};

struct Encoded {
  std::vector<uint8_t> image;
  std::vector<uint8_t> tables;  // only with separateTables
};

void UseNudgedTables(jpeg_compress_struct& cinfo, int scale) {
  jpeg_set_quality(&cinfo, 50, TRUE);  // the unscaled base tables
  for (int slot = 0; slot < 2; ++slot) {
    unsigned int table[DCTSIZE2];
    for (int i = 0; i < DCTSIZE2; ++i) {
      const int scaled = (cinfo.quant_tbl_ptrs[slot]->quantval[i] * scale + 50) / 100;
      table[i] = static_cast<unsigned>(std::clamp(scaled + (i % 2 ? 1 : -1), 1, 255));
    }
    jpeg_add_quant_table(&cinfo, slot, table, 100, TRUE);
  }
}

std::vector<uint8_t> TakeBuffer(unsigned char*& buffer, unsigned long size) {
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  buffer = nullptr;
  return bytes;
}

// A 48 x 32 image of gradients and texture.  libjpeg's own error handler
// ends the process: the settings here are always valid.
Encoded Encode(const Encoding& how) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  cinfo.image_width = 48;
  cinfo.image_height = 32;
  cinfo.input_components = how.components;
  cinfo.in_color_space = how.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  if (how.storedAsRgb) jpeg_set_colorspace(&cinfo, JCS_RGB);
  if (how.tableScale > 0) {
    UseNudgedTables(cinfo, how.tableScale);
  } else {
    jpeg_set_quality(&cinfo, how.quality, TRUE);
  }
  cinfo.comp_info[0].h_samp_factor = how.components == 1 ? 1 : how.lumaH;
  cinfo.comp_info[0].v_samp_factor = how.components == 1 ? 1 : how.lumaV;
  for (int c = 1; c < how.components; ++c) {
    cinfo.comp_info[c].h_samp_factor = how.chromaH;
    cinfo.comp_info[c].v_samp_factor = how.chromaV;
  }
  if (how.progressive) jpeg_simple_progression(&cinfo);
  cinfo.arith_code = how.arithmetic;
  Encoded out;
  if (how.separateTables) {
    jpeg_mem_dest(&cinfo, &buffer, &size);
    jpeg_write_tables(&cinfo);
    out.tables = TakeBuffer(buffer, size);
  }
  jpeg_mem_dest(&cinfo, &buffer, &size);
  jpeg_start_compress(&cinfo, how.separateTables ? FALSE : TRUE);
  std::vector<JSAMPLE> row(cinfo.image_width * how.components);
  while (cinfo.next_scanline < cinfo.image_height) {
    const unsigned y = cinfo.next_scanline;
    for (size_t i = 0; i < row.size(); ++i) {
      row[i] = static_cast<JSAMPLE>((i * 5 + y * 7 + (i * y) % 23 * 3) & 0xFF);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  out.image = TakeBuffer(buffer, size);
  return out;
}

std::optional<JpegStreamInfo> Read(const std::vector<uint8_t>& stream) {
  return ReadJpegStreamInfo(stream.data(), stream.size());
}

// The stream without its segments of `marker` (they all come before the
// first scan in these test streams).
std::vector<uint8_t> WithoutSegments(std::vector<uint8_t> stream, uint8_t marker) {
  for (size_t at = 2; at + 4 <= stream.size() && stream[at + 1] != 0xDA;) {
    const size_t length = stream[at + 2] << 8 | stream[at + 3];
    if (stream[at + 1] == marker) {
      stream.erase(stream.begin() + at, stream.begin() + at + 2 + length);
    } else {
      at += 2 + length;
    }
  }
  return stream;
}

struct Sampling {
  const char* name;
  int components, lumaH, lumaV;
};
constexpr Sampling kSamplings[] = {
    {"4:4:4", 3, 1, 1}, {"4:2:2", 3, 2, 1}, {"4:2:0", 3, 2, 2},
    {"4:1:1", 3, 4, 1}, {"4:4:0", 3, 1, 2}, {"grey", 1, 1, 1},
};

TEST(JpegStreamInfo, LibjpegStreamsGiveTheirExactQualityAndSampling) {
  for (const Sampling& s : kSamplings) {
    for (int quality = 1; quality <= 100; ++quality) {
      Encoding how;
      how.components = s.components;
      how.lumaH = s.lumaH;
      how.lumaV = s.lumaV;
      how.quality = quality;
      const std::optional<JpegStreamInfo> info = Read(Encode(how).image);
      ASSERT_TRUE(info) << s.name << " at " << quality;
      EXPECT_EQ(info->estimatedQuality, quality) << s.name;
      if (quality % 25 != 0) continue;  // the layout once per few qualities is enough
      EXPECT_EQ(info->width, 48) << s.name;
      EXPECT_EQ(info->height, 32) << s.name;
      EXPECT_EQ(info->components, s.components) << s.name;
      EXPECT_TRUE(info->plainColours && info->baseline && info->chromaOneByOne) << s.name;
      EXPECT_EQ(info->lumaH, s.lumaH) << s.name;
      EXPECT_EQ(info->lumaV, s.lumaV) << s.name;
    }
  }
}

TEST(JpegStreamInfo, OwnTablesAreEstimatedFromTheirScale) {
  for (const int components : {1, 3}) {
    for (const int scale : {20, 60, 100, 150, 250}) {
      Encoding how;
      how.components = components;
      how.tableScale = scale;
      const std::optional<JpegStreamInfo> info = Read(Encode(how).image);
      ASSERT_TRUE(info) << scale;
      const double quality = scale <= 100 ? (200.0 - scale) / 2 : 5000.0 / scale;
      EXPECT_NEAR(info->estimatedQuality, quality, 3) << components << " components, " << scale;
    }
  }
}

TEST(JpegStreamInfo, TablesFromASeparateStreamAreUsed) {
  Encoding how;
  how.quality = 85;
  how.separateTables = true;
  const Encoded encoded = Encode(how);
  const std::optional<JpegStreamInfo> info = ReadJpegStreamInfo(
      encoded.image.data(), encoded.image.size(), encoded.tables.data(), encoded.tables.size());
  ASSERT_TRUE(info);
  EXPECT_EQ(info->estimatedQuality, 85);
  EXPECT_TRUE(info->baseline);
  // Without its tables the abbreviated stream cannot be judged.
  EXPECT_FALSE(Read(encoded.image));
  // A whole image where only tables belong is refused, not half read.
  const std::vector<uint8_t> whole = Encode(Encoding{}).image;
  EXPECT_FALSE(ReadJpegStreamInfo(encoded.image.data(), encoded.image.size(), whole.data(),
                                  whole.size()));
}

TEST(JpegStreamInfo, StreamsThatAreNotPlainBaselineAreNeverCopied) {
  const auto withSettings = [](auto change) {
    Encoding how;
    how.quality = 50;
    change(how);
    return Encode(how).image;
  };
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  cases.emplace_back("progressive", withSettings([](Encoding& e) { e.progressive = true; }));
  cases.emplace_back("arithmetic", withSettings([](Encoding& e) { e.arithmetic = true; }));
  cases.emplace_back("stored as RGB", withSettings([](Encoding& e) { e.storedAsRgb = true; }));
  cases.emplace_back("chroma 2x1", withSettings([](Encoding& e) { e.chromaH = 2, e.lumaV = 1; }));
  cases.emplace_back("no Huffman tables", WithoutSegments(withSettings([](Encoding&) {}), 0xC4));
  for (const auto& [name, stream] : cases) {
    const std::optional<JpegStreamInfo> info = Read(stream);
    ASSERT_TRUE(info) << name;
    EXPECT_FALSE(JpegCopyServes(*info, ChromaSubsampling::S444, 100)) << name;
  }
  EXPECT_FALSE(Read(cases[0].second)->baseline);
  EXPECT_FALSE(Read(cases[2].second)->plainColours);
  EXPECT_FALSE(Read(cases[3].second)->chromaOneByOne);
}

TEST(JpegStreamInfo, UnreadableHeadersGiveNothing) {
  const std::vector<uint8_t> good = Encode(Encoding{}).image;
  // The same stream marked as 12-bit extended sequential (SOF1): this
  // libjpeg reads 8-bit samples only.
  std::vector<uint8_t> twelveBit = good;
  const uint8_t baselineFrame[] = {0xFF, 0xC0};
  const auto sof = std::search(twelveBit.begin(), twelveBit.end(), std::begin(baselineFrame),
                               std::end(baselineFrame));
  ASSERT_NE(sof, twelveBit.end());
  sof[1] = 0xC1;
  sof[4] = 12;
  const std::optional<JpegStreamInfo> twelve = Read(twelveBit);
  EXPECT_TRUE(!twelve || !JpegCopyServes(*twelve, ChromaSubsampling::S444, 100));

  EXPECT_FALSE(Read(WithoutSegments(good, 0xDB))) << "no quantisation tables";
  EXPECT_FALSE(Read(std::vector<uint8_t>(good.begin(), good.begin() + 120))) << "truncated";
  EXPECT_FALSE(Read({})) << "empty";
  EXPECT_FALSE(Read(std::vector<uint8_t>(500, 0x42))) << "not a JPEG";
}

TEST(JpegStreamInfo, ACopyServesOnlyAtNoFinerQualityOrChroma) {
  const auto stream = [](int components, int lumaH, int lumaV) {
    JpegStreamInfo info;
    info.components = components;
    info.plainColours = info.baseline = true;
    info.lumaH = lumaH;
    info.lumaV = lumaV;
    info.estimatedQuality = 75;
    return info;
  };
  using S = ChromaSubsampling;
  EXPECT_FALSE(JpegCopyServes(stream(3, 2, 2), S::S411, 74)) << "finer quality";
  EXPECT_TRUE(JpegCopyServes(stream(3, 2, 2), S::S411, 75)) << "4:2:0 keeps as little as 4:1:1";
  EXPECT_TRUE(JpegCopyServes(stream(3, 4, 1), S::S411, 90));
  EXPECT_TRUE(JpegCopyServes(stream(3, 2, 2), S::S422, 90));
  EXPECT_TRUE(JpegCopyServes(stream(3, 1, 2), S::S422, 90)) << "4:4:0 keeps as much as 4:2:2";
  EXPECT_FALSE(JpegCopyServes(stream(3, 2, 1), S::S411, 90)) << "finer chroma";
  EXPECT_FALSE(JpegCopyServes(stream(3, 1, 1), S::S422, 90));
  EXPECT_TRUE(JpegCopyServes(stream(3, 1, 1), S::S444, 75));
  EXPECT_TRUE(JpegCopyServes(stream(1, 1, 1), S::S411, 75)) << "grey";
  EXPECT_FALSE(JpegCopyServes(stream(1, 1, 1), S::S411, 60)) << "grey, finer quality";
}

TEST(JpegStreamInfo, TheEncodersOwnOutputServesItsOwnSettings) {
  const PixPtr colour = toolkittest::RgbPix(61, 40);
  const PixPtr grey = toolkittest::GreyPix(61, 40);
  for (const ChromaSubsampling subsampling :
       {ChromaSubsampling::S444, ChromaSubsampling::S422, ChromaSubsampling::S411}) {
    for (PIX* pix : {colour.get(), grey.get()}) {
      const std::optional<JpegStreamInfo> info = Read(EncodeJpeg(pix, subsampling, 53));
      ASSERT_TRUE(info);
      EXPECT_TRUE(JpegCopyServes(*info, subsampling, 53));
      EXPECT_FALSE(JpegCopyServes(*info, subsampling, 52));
    }
  }
}

}  // namespace
}  // namespace zelk
