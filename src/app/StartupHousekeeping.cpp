#include "app/StartupHousekeeping.h"

#include <filesystem>
#include <system_error>

namespace zelk {

namespace fs = std::filesystem;

void StartupHousekeeping(const std::string& programDir) {
  std::error_code ignored;
  const fs::path dir(programDir);
  const fs::path logo = dir / "Logo.tif";
  if (fs::is_regular_file(logo, ignored)) fs::remove(logo, ignored);
  const fs::path logs = dir / "Logs";
  if (!fs::is_directory(logs, ignored)) fs::create_directory(logs, ignored);
}

std::string ExecutablePathIn(const std::string& programDir) {
  std::error_code error;
  fs::path name = fs::read_symlink("/proc/self/exe", error).filename();
  if (error || name.empty()) name = "zelk";
  return (fs::path(programDir) / name).string();
}

}  // namespace zelk
