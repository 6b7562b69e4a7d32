// The settings document: any bytes are read, written back unchanged, and
// take a one-key edit that reads back.

#include "settings/IniDocument.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelk;
  const std::string bytes = fuzz::Text(data, size);
  IniDocument document(bytes);
  fuzz::Require(document.Serialize() == bytes, "an unedited document is written back as read");
  document.FindValue("Common", "ImageSrcDir");
  document.SetValue("Merge", "Tif", "1");
  const IniDocument edited(document.Serialize());
  const auto value = edited.FindValue("Merge", "Tif");
  fuzz::Require(value && *value == "1", "an edited key reads back");
  return 0;
}
