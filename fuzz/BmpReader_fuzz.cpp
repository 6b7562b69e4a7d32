// The BMP reader: the declared size checked before Leptonica decodes.

#include "imaging/BmpReader.h"
#include "imaging/Page.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    zelk::DecodeBmpPage(zelk::fuzz::Bytes(data, size), "fuzz.bmp");
  } catch (const zelk::ImageError&) {
  }
  return 0;
}
