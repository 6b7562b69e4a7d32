#include "run/ScanRequest.h"

#include "run/ImagingHooks.h"
#include "scan/DirTraversal.h"
#include "scan/FileTraversal.h"
#include "scan/MirroredPath.h"

namespace zelk {

void RunScan(const ScanRequest& request, const Settings& settings, const ScanPlace& place,
             WorkList& rows, ScanObserver* observer) {
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
  AttachImagingHooks(options);
  if (request.ScanMode == ScanRequest::Mode::Directories) {
    DirTraversal(options.SourceRoot, options, rows, observer);
  } else {
    FileTraversal(options.SourceRoot, options, rows, observer);
  }
}

}  // namespace zelk
