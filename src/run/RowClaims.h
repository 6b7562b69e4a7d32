#pragma once
// Claims on the items of one run, so that runs sharing a destination (the
// window and zelk-batch, or zelk-batch processes on several machines)
// never convert one item at the same time, and an item another run has
// finished since this run's scan is not done a second time.

#include <optional>
#include <set>
#include <string>

#include "filesafety/ItemClaim.h"
#include "run/ScanRequest.h"
#include "scan/ScanOptions.h"

namespace zelk {

// The "状态" cell of an item passed by because another run holds it or has
// finished it meanwhile.  Neither counts as a success or a failure.
inline constexpr const char* kHeldByAnotherRun = "其他进程正在转换";
inline constexpr const char* kDoneByAnotherRun = "已由其他进程转换";

class RowClaims {
 public:
  RowClaims(ScanRequest request, ScanOptions options);

  enum class Verdict { Claimed, HeldByAnotherRun, DoneByAnotherRun };

  // Claims the item of the row at `rowPath`; on Claimed, `claim` holds the
  // claim until it is released or destroyed.  Throws
  // std::filesystem_error when the claim cannot be written.
  Verdict Claim(const std::string& rowPath, std::optional<ItemClaim>& claim);

  // The row's result was written by this run: a later row with the same
  // result (b.tif and b.jpg both give b.pdf) adds to it.
  void MarkWritten(const std::string& rowPath);

 private:
  ScanRequest request_;
  ScanOptions options_;
  std::set<std::string> written_;
};

}  // namespace zelk
