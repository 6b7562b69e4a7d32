#include "run/RowClaims.h"

namespace zelk {

RowClaims::RowClaims(ScanRequest request, ScanOptions options)
    : request_(std::move(request)), options_(std::move(options)) {}

RowClaims::Verdict RowClaims::Claim(const std::string& rowPath, std::optional<ItemClaim>& claim) {
  const std::string key = ResultKeyOf(request_, options_, rowPath);
  // Renaming in place has no destination: its claims lie in the source.
  const std::string& root = options_.TargetRoot.empty() ? options_.SourceRoot : options_.TargetRoot;
  claim = ItemClaim::Take(root, key);
  if (!claim) return Verdict::HeldByAnotherRun;
  // The scan saw no result; one there now, and not of this run, was made
  // by another run after the scan.
  if (!written_.count(key) && ResultExistsNow(request_, options_, rowPath)) {
    claim->Release();
    claim.reset();
    return Verdict::DoneByAnotherRun;
  }
  return Verdict::Claimed;
}

void RowClaims::MarkWritten(const std::string& rowPath) {
  written_.insert(ResultKeyOf(request_, options_, rowPath));
}

}  // namespace zelk
