#include "scan/Shard.h"

#include "platform/StableHash.h"

namespace zelk {
namespace {

// FNV-1a spreads similar names (p0001, p0002, ...) poorly over its low
// bits; a final mix (the splitmix64 finaliser) spreads them over all 64.
std::uint64_t Mixed(std::uint64_t h) {
  h ^= h >> 30;
  h *= 0xbf58476d1ce4e5b9ull;
  h ^= h >> 27;
  h *= 0x94d049bb133111ebull;
  h ^= h >> 31;
  return h;
}

std::string_view RelativePart(std::string_view path, std::string_view root) {
  while (!root.empty() && root.back() == '/') root.remove_suffix(1);
  if (path.substr(0, root.size()) == root) path.remove_prefix(root.size());
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  return path;
}

}  // namespace

int ShardOfItem(std::string_view relativePath, int count) {
  if (count <= 1) return 0;
  // The high half of a 64-by-32-bit product maps the hash onto 0..count-1
  // evenly.
  const std::uint64_t hash = Mixed(StableHash(relativePath)) >> 32;
  return static_cast<int>((hash * static_cast<std::uint64_t>(count)) >> 32);
}

bool InShard(const Shard& shard, const std::string& sourceRoot, const std::string& path,
             bool fileItem) {
  if (shard.Whole()) return true;
  std::string_view relative = RelativePart(path, sourceRoot);
  if (fileItem) {
    const std::size_t dot = relative.rfind('.');
    const std::size_t slash = relative.rfind('/');
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
      relative = relative.substr(0, dot);
    }
  }
  return ShardOfItem(relative, shard.Count) == shard.Index;
}

}  // namespace zelk
