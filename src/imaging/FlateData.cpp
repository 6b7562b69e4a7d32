#include "imaging/FlateData.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/Pl_Flate.hh>

#include <cstdlib>

namespace zelk {

std::vector<uint8_t> FlateCompress(const uint8_t* data, size_t size) {
  Pl_Buffer buffer("flate output");
  Pl_Flate flate("flate", &buffer, Pl_Flate::a_deflate);
  flate.write(data, size);
  flate.finish();
  unsigned char* out = nullptr;
  size_t outSize = 0;
  buffer.getMallocBuffer(&out, &outSize);
  std::vector<uint8_t> result(out, out + outSize);
  free(out);
  return result;
}

std::vector<uint8_t> FlateCompress(const std::string& text) {
  return FlateCompress(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace zelk
