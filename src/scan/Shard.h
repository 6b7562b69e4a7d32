#pragma once
// Work divided between processes without a shared list: each item belongs
// to one shard of N by a stable hash of its path relative to the source
// root, so every process that scans the same tree agrees on it, an item
// added later never moves an earlier one, and the shards come out about
// equally large.

#include <cstdint>
#include <string>
#include <string_view>

namespace zelk {

// The most shards a run accepts.
inline constexpr int kMaxShardCount = 1000000;

struct Shard {
  int Index = 0;  // 0 .. Count - 1
  int Count = 1;  // 1: the whole tree
  bool Whole() const { return Count <= 1; }
};

// The shard (0 .. count - 1) of the item at `relativePath` (its path below
// the source root, '/' separated, without a leading separator).
int ShardOfItem(std::string_view relativePath, int count);

// Whether the item at `path` under `sourceRoot` belongs to `shard`.  A
// file item is hashed without its extension: b.tif and b.jpg, which write
// one output (b.pdf), belong to the same shard.
bool InShard(const Shard& shard, const std::string& sourceRoot, const std::string& path,
             bool fileItem = false);

}  // namespace zelk
