#include "filesafety/UserFiles.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "filesafety/DurableFiles.h"
#include "filesafety/OutputTransaction.h"

namespace zelk {
namespace fs = std::filesystem;
namespace {

// Copies `from` to `to` unless `to` exists, through a temporary name.
bool CopyWhenMissing(const std::string& from, const std::string& to) {
  std::error_code error;
  if (fs::exists(to, error)) return true;
  fs::create_directories(fs::path(to).parent_path(), error);
  const fs::path temporary = TemporaryPathBeside(to);
  if (CopyFileSynced(from, temporary)) return false;
  // Another start of the program may have made it meanwhile: keep that one.
  const int renamed = RenameWithoutReplacing(temporary.string(), to);
  if (renamed != 0) ::unlink(temporary.c_str());
  // A flush that fails costs only durability: the copy is there, and a
  // start of the program must not end on it.
  try {
    SyncDirectory(fs::path(to).parent_path());
  } catch (const fs::filesystem_error&) {
  }
  return fs::exists(to, error);
}

}  // namespace

bool PrepareUserSettings(const ProgramPlaces& places) {
  if (places.Portable) return true;
  return CopyWhenMissing(places.ShippedSettingsFile(), places.SettingsFile());
}

bool PrepareUserTemplateWorkbook(const ProgramPlaces& places) {
  if (places.Portable) return true;
  return CopyWhenMissing(places.ShippedTemplateWorkbook(), places.TemplateWorkbook());
}

}  // namespace zelk
