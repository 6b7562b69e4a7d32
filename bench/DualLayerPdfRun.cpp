#include "DualLayerPdfRun.h"

#include "jobs/ConvertFiles22PdfJob.h"
#include "platform/ProgramPlaces.h"

namespace zelk::bench {

RunResult RunDualLayerPdfJob(const std::string& in, const std::string& out, const std::string& programDir,
                             int workers, RunObserver& observer) {
  RunRequest request;
  request.SourceDir = in;
  request.TargetDir = out;
  request.LogsDir = programDir + "/" + kLogsDirName;
  request.RunSettings.TwoPDF.ImageQuality = 0;
  request.RunSettings.TwoPDF.TextOutputMode = 1;
  OcrEngineOptions engine;
  engine.workers = workers;
  ConvertFiles22PdfJob job(engine);
  RunControl control;
  control.BeginRun();
  return RunJob(job, request, observer, control);
}

}  // namespace zelk::bench
