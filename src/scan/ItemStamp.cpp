#include "scan/ItemStamp.h"

#include <filesystem>
#include <system_error>

namespace zelk {
namespace {

namespace fs = std::filesystem;

// Adds what `path` itself says (not following a link) to `stamp`.
void Include(const fs::path& path, ItemStamp& stamp) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (error || fs::is_symlink(status)) return;
  const fs::file_time_type written = fs::last_write_time(path, error);
  if (error) return;
  stamp.Newest = std::max(stamp.Newest, std::chrono::file_clock::to_sys(written));
  ++stamp.Entries;
  if (fs::is_regular_file(status)) {
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error) stamp.Bytes += static_cast<long long>(size);
  }
}

}  // namespace

std::optional<ItemStamp> StampOf(const std::string& path) {
  std::error_code error;
  const fs::path root(path);
  ItemStamp stamp{std::chrono::system_clock::time_point::min(), 0, 0};
  if (!fs::is_directory(fs::symlink_status(root, error))) {
    const fs::file_time_type written = fs::last_write_time(root, error);
    if (error) return std::nullopt;
    stamp.Newest = std::chrono::file_clock::to_sys(written);
    stamp.Entries = 1;
    const std::uintmax_t size = fs::file_size(root, error);
    if (!error) stamp.Bytes = static_cast<long long>(size);
    return stamp;
  }
  Include(root, stamp);
  fs::directory_iterator it(root, error);
  if (error) return stamp.Entries > 0 ? std::optional<ItemStamp>(stamp) : std::nullopt;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    Include(it->path(), stamp);
  }
  return stamp;
}

}  // namespace zelk
