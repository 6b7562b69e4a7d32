#include "workbook/XlsReader.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "platform/ProgramPlaces.h"
#include "workbook/ChildProgramCall.h"
#include "workbook/SheetRowCodec.h"

namespace zelk {
namespace {

// A workbook of grouping rows reads in well under a second; a reader still
// busy after this long is stuck and is stopped.
constexpr std::chrono::seconds kReadTimeout{60};

std::string ProgramIn(const std::string& directory) {
  return directory + "/" + kXlsReaderProgramName;
}

bool IsRunnable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

}  // namespace

std::string XlsReaderProgram() {
  const std::string own = ProgramIn(ThisProgramsPlaces().HelperDir);
  if (IsRunnable(own)) return own;
  const char* binDir = std::getenv("ZELK_BIN_DIR");
  if (binDir != nullptr && *binDir != '\0' && IsRunnable(ProgramIn(binDir))) {
    return ProgramIn(binDir);
  }
  return own;
}

std::vector<SheetRow> ReadXlsRows(const std::string& path) {
  try {
    return DecodeSheetRows(CallChildProgram(XlsReaderProgram(), {path}, kReadTimeout));
  } catch (const ChildProcessError& error) {
    throw SheetReadError("cannot read " + path + ": " + error.what());
  }
}

}  // namespace zelk
