#include "run/ScanRequest.h"

#include "run/ImagingHooks.h"
#include "scan/DirTraversal.h"
#include "scan/FileTraversal.h"
#include "scan/MirroredPath.h"

namespace zelk {

ScanOptions ScanOptionsFor(const ScanRequest& request, const Settings& settings,
                           const ScanPlace& place) {
  ScanOptions options;
  options.SourceRoot = NormalizeRoot(place.SourceRoot);
  options.TargetRoot = NormalizeRoot(place.TargetRoot);
  options.TargetType = request.TargetType;
  options.KeepDir = request.KeepDir;
  options.CountTif = settings.Merge.Tif == 1;
  options.CountJpg = settings.Merge.Jpg == 1;
  options.SettleTime = place.SettleTime;
  options.ResultExists = request.ResultExists;
  options.StopRequested = place.StopRequested;
  options.HeldBack = place.HeldBack;
  options.FutureTimeSettled = place.FutureTimeSettled;
  options.Unreadable = place.Unreadable;
  if (!place.WorkShard.Whole()) {
    options.Admits = [shard = place.WorkShard, root = options.SourceRoot,
                      files = request.ScanMode == ScanRequest::Mode::Files](const std::string& path) {
      return InShard(shard, root, path, files);
    };
  }
  AttachImagingHooks(options);
  return options;
}

std::string ResultKeyOf(const ScanRequest& request, const ScanOptions& options,
                        const std::string& rowPath) {
  if (options.TargetRoot.empty()) return rowPath;
  const std::string base = request.ScanMode == ScanRequest::Mode::Directories
                               ? MirrorPath(rowPath, options.SourceRoot, options.TargetRoot)
                               : FileResultBase(rowPath, options);
  // The output's type keeps runs of different jobs on one destination (a
  // merge's b.tif, a PDF job's b.pdf) out of each other's way.
  return request.TargetType.empty() ? base : base + "." + request.TargetType;
}

bool ResultExistsNow(const ScanRequest& request, const ScanOptions& options,
                     const std::string& rowPath) {
  if (request.ScanMode == ScanRequest::Mode::Directories) return LeafIsDone(rowPath, options);
  return FileIsDone(rowPath, options);
}

void RunScan(const ScanRequest& request, const Settings& settings, const ScanPlace& place,
             WorkList& rows, ScanObserver* observer) {
  const ScanOptions options = ScanOptionsFor(request, settings, place);
  if (request.ScanMode == ScanRequest::Mode::Directories) {
    DirTraversal(options.SourceRoot, options, rows, observer);
  } else {
    FileTraversal(options.SourceRoot, options, rows, observer);
  }
}

}  // namespace zelk
