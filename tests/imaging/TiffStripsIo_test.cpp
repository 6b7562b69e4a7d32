// The check that stored strips decode: a page whose header declares far
// more than its strips hold is refused before any scratch buffer is made.

#include "imaging/TiffStripsIo.h"

#include "imaging/Toolkit_helpers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <tiffio.h>

namespace zelk {
namespace {

using namespace toolkittest;

// One strip of `data` under a header declaring `width` x `height` RGB.
void WriteDeclaredPage(const std::string& path, uint32_t width, uint32_t height,
                       uint16_t compression, std::vector<uint8_t> data) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  ASSERT_NE(tif, nullptr);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
  TIFFWriteRawStrip(tif, 0, data.data(), static_cast<tmsize_t>(data.size()));
  TIFFWriteDirectory(tif);
  TIFFClose(tif);
}

TEST(TiffStripsIo, AHugeDeclaredPageOverAFewBytesIsRefusedAndARealPageDecodes) {
  test::TempDir dir;
  struct Case {
    uint16_t compression;
    uint32_t side;
    bool decodes;
  };
  // 20,000 x 20,000 RGB is 1.2 GB of scratch for 600 stored bytes.
  for (const Case& c : {Case{COMPRESSION_LZW, 20000, false}, Case{COMPRESSION_PACKBITS, 20000, false},
                        Case{COMPRESSION_NONE, 10, true}}) {
    SCOPED_TRACE(c.compression);
    const std::string path = dir.File("declared.tif");
    WriteDeclaredPage(path, c.side, c.side, c.compression, std::vector<uint8_t>(600, 0x80));
    TiffFile file(path, "r");
    const std::shared_ptr<TiffStrips> strips = ReadTiffStrips(file);
    ASSERT_NE(strips, nullptr);
    EXPECT_EQ(TiffStripsDecode(*strips), c.decodes);
  }
  TiffSource g4;
  g4.compression = COMPRESSION_CCITTFAX4;
  WriteTiffPage(dir.File("g4.tif"), BitonalPix(1700, 2200).get(), g4, false);
  TiffFile file(dir.File("g4.tif"), "r");
  EXPECT_TRUE(TiffStripsDecode(*ReadTiffStrips(file)));
}

}  // namespace
}  // namespace zelk
