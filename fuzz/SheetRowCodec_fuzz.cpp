// The rows the .xls reader program answers with: whatever decodes encodes
// back to the same bytes.

#include "workbook/SheetRowCodec.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelk;
  const std::string bytes = fuzz::Text(data, size);
  try {
    fuzz::Require(EncodeSheetRows(DecodeSheetRows(bytes)) == bytes,
                  "decoded rows encode back to the same bytes");
  } catch (const SheetReadError&) {
  }
  return 0;
}
