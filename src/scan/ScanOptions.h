#pragma once
// What a directory or file scan needs to know besides the directory it
// starts in.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "scan/ItemStamp.h"

namespace zelk {

struct ScanOptions {
  // The source and output roots, as NormalizeRoot leaves them.
  std::string SourceRoot;
  std::string TargetRoot;

  // Extension of the job's result without the dot ("tif", "pdf", "doc" ...),
  // or empty for a job whose result is a directory.
  std::string TargetType;

  // Directory scan: the result lies inside the mirrored directory (true) or
  // beside it (false).
  bool KeepDir = false;

  // Directory scan: which files count as pages in "页数" ([Merge] Tif, Jpg).
  bool CountTif = true;
  bool CountJpg = true;

  // Leave out a leaf directory or file changed within this time (scheduled
  // runs: a scanner may still be writing it).  Zero leaves nothing out.
  std::chrono::seconds SettleTime{0};
  // Told of each leaf directory or file the settle time leaves out, so a
  // run can say how many wait for the next one.
  std::function<void(const std::string& path)> HeldBack;
  // Told of each directory below the root that cannot be listed (no
  // permission: lost+found on a mounted volume).  It is passed over: no
  // row, nothing below it; the run reports it without failing an item.
  std::function<void(const std::string& path)> Unreadable;
  // Decides for an item dated in the future (a scanner or share whose clock
  // runs ahead), which would never grow older than the settle time: true
  // when it counts as settled.  Unset: such an item is held back.
  std::function<bool(const std::string& path, const ItemStamp& stamp)> FutureTimeSettled;

  // Directory scan: replaces the standard "result exists" test of a leaf
  // (arguments: the leaf path and its mirrored path).  Jobs whose outputs
  // are named otherwise (a grouping workbook) set it.
  std::function<bool(const std::string& leaf, const std::string& mirrored)> ResultExists;

  // Names the output writers use for their temporary files; such files are
  // never taken as sources.
  std::function<bool(std::string_view fileName)> IsTemporaryOutput;

  // File scan: the page count of an image file; throws when it cannot be
  // read (the row then shows an unknown count).
  std::function<int(const std::string& path)> PageCount;

  // This process's share of the work when several divide it (Shard.h): a
  // leaf directory or file it does not admit is passed over.  Unset: all.
  std::function<bool(const std::string& path)> Admits;

  // Tested after every entry; when it turns true the scan ends early.
  std::function<bool()> StopRequested;
};

}  // namespace zelk
