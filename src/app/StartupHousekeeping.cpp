#include "app/StartupHousekeeping.h"

#include <filesystem>
#include <system_error>

namespace zelk {

namespace fs = std::filesystem;

void StartupHousekeeping(const ProgramPlaces& places) {
  std::error_code ignored;
  if (places.Portable) {
    const fs::path logo = fs::path(places.ExecutableDir) / "Logo.tif";
    if (fs::is_regular_file(logo, ignored)) fs::remove(logo, ignored);
  }
  if (!fs::is_directory(places.LogsDir, ignored)) fs::create_directories(places.LogsDir, ignored);
}

std::string ExecutablePathIn(const std::string& executableDir) {
  std::error_code error;
  fs::path name = fs::read_symlink("/proc/self/exe", error).filename();
  if (error || name.empty()) name = "zelk";
  return (fs::path(executableDir) / name).string();
}

}  // namespace zelk
