// A TIFF file's pages taken as stored strips, and the check that the strips
// decode before they are copied: the first pages of a file held in memory.

#include "imaging/Page.h"
#include "imaging/TiffStripsIo.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelk;
  try {
    TiffFile file(TiffFile::InMemory{fuzz::Bytes(data, size)}, "r");
    for (int page = 0; page < 4; ++page) {
      if (const auto strips = ReadTiffStrips(file)) TiffStripsDecode(*strips);
      if (!TIFFReadDirectory(file.get())) break;
    }
  } catch (const ImageError&) {
  }
  return 0;
}
