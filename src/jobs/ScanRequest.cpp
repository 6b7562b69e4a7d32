#include "jobs/ScanRequest.h"

#include "jobs/ImagingHooks.h"
#include "scan/DirTraversal.h"
#include "scan/FileTraversal.h"
#include "scan/MirroredPath.h"

namespace zelk {
namespace {

ScanRequest Directories(std::string targetType, bool keepDir) {
  return ScanRequest{ScanRequest::Mode::Directories, std::move(targetType), keepDir, {}};
}

ScanRequest Files(std::string targetType) {
  return ScanRequest{ScanRequest::Mode::Files, std::move(targetType), false, {}};
}

}  // namespace

std::string OcrExtension(const Settings& settings) {
  switch (settings.OCR.OutputType) {
    case 0: return "doc";
    case 1: return "docx";
    case 2: return "rtf";
    default: return {};
  }
}

ScanRequest DefaultScanRequest(JobId id, const Settings& settings) {
  switch (id) {
    case JobId::MergeFiles: return Directories("tif", settings.Merge.KeepDir != 0);
    case JobId::SplitFiles: return Files("");
    case JobId::BatchRename: return Directories("", false);
    case JobId::MergeFiles2PDF: return Directories("pdf", settings.PDF.KeepDir != 0);
    case JobId::ConvertFiles2PDF: return Files("pdf");
    case JobId::MergeFiles22PDF: return Directories("pdf", settings.TwoPDF.KeepDir != 0);
    case JobId::ConvertFiles22PDF: return Files("pdf");
    case JobId::MergeFiles2Word: return Directories(OcrExtension(settings), false);
    case JobId::ConvertFiles2Word: return Files(OcrExtension(settings));
  }
  return Files("");
}

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
