#include "run/FutureTimeMemory.h"

#include <filesystem>
#include <sstream>
#include <system_error>

#include "filesafety/ReplaceFile.h"
#include "platform/FileText.h"
#include "platform/StableHash.h"
#include "run/ResultLog.h"

namespace zelk {
namespace {

long long Nanoseconds(std::chrono::system_clock::time_point moment) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(moment.time_since_epoch()).count();
}

std::chrono::system_clock::time_point FromNanoseconds(long long count) {
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(
          std::chrono::nanoseconds(count)));
}

}  // namespace

std::string FutureTimeMemoryName(const Shard& shard) {
  const std::string name = ".zelk-future-times";
  if (shard.Whole()) return name;
  return name + ".shard-" + ShardIndexText(shard) + "-of-" + std::to_string(shard.Count);
}

// One line an item: path hash, first seen, newest time (ns), entries, bytes.
FutureTimeMemory::FutureTimeMemory(std::string file, std::chrono::seconds settleTime,
                                   TimePoint now)
    : file_(std::move(file)),
      settleTime_(settleTime),
      now_(std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count()) {
  const std::optional<std::string> text = ReadFileText(file_);
  existed_ = text.has_value();
  std::istringstream lines(text.value_or(""));
  std::uint64_t hash = 0;
  long long firstSeen = 0, newest = 0, entries = 0, bytes = 0;
  while (lines >> hash >> firstSeen >> newest >> entries >> bytes) {
    items_[hash] = {{FromNanoseconds(newest), entries, bytes}, firstSeen, false};
  }
}

FutureTimeMemory::Verdict FutureTimeMemory::Judge(const std::string& path,
                                                  const ItemStamp& stamp) {
  Sighting& seen = items_[StableHash(path)];
  if (seen.FirstSeen == 0 || !(seen.Stamp == stamp) || seen.FirstSeen > now_) {
    seen = {stamp, now_, true};
    return Verdict::FirstSeen;
  }
  if (now_ - seen.FirstSeen >= settleTime_.count()) {
    seen.Held = false;
    return Verdict::Settled;
  }
  seen.Held = true;
  return Verdict::Waiting;
}

void FutureTimeMemory::Save() const {
  std::string text;
  for (const auto& [hash, seen] : items_) {
    if (!seen.Held) continue;
    text += std::to_string(hash) + " " + std::to_string(seen.FirstSeen) + " " +
            std::to_string(Nanoseconds(seen.Stamp.Newest)) + " " +
            std::to_string(seen.Stamp.Entries) + " " + std::to_string(seen.Stamp.Bytes) + "\n";
  }
  std::error_code error;
  if (!text.empty()) {
    ReplaceFileContents(file_, text, error);
  } else if (existed_) {
    std::filesystem::remove(file_, error);
  }
}

}  // namespace zelk
