// The .xlsx grouping workbook reader: zip package, workbook, relationships,
// shared strings and the first sheet.  libzip opens a path, so each input
// goes through one file in the temporary directory.

#include "workbook/SheetRows.h"
#include "workbook/XlsxReader.h"

#include "FuzzInput.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("zelk-fuzz-" + std::to_string(getpid()) + ".xlsx"))
          .string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  try {
    zelk::ReadXlsxRows(path);
  } catch (const zelk::SheetReadError&) {
  }
  std::remove(path.c_str());
  return 0;
}
