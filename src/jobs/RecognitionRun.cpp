#include "jobs/PdfRecognitionRun.h"

#include <string>

#include "jobs/Job.h"
#include "jobs/RunContext.h"

namespace zelk {

void ThrowPdfEngineFailure(const std::exception& error) {
  throw JobStartError({UserMessage::Icon::Warning, std::string(error.what()) + "    "},
                      kPdfEngineFailed);
}

void PdfRecognitionRun::Start(RunContext& context, RecognitionAhead::DocumentStarter starter) {
  context.SetStatus(kPdfEngineStarting);
  try {
    engine_.emplace(OcrEngine::Load(options_));
  } catch (const std::exception& error) {
    ThrowPdfEngineFailure(error);
  }
  ahead_ = std::make_unique<RecognitionAhead>(*engine_, context.Rows().size(), std::move(starter));
}

void PdfRecognitionRun::Close(RunContext& context) {
  context.SetStatus(kPdfEngineClosing);
  ahead_.reset();
  engine_.reset();
}

}  // namespace zelk
