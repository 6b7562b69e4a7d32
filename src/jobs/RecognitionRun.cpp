#include "jobs/RecognitionRun.h"

#include <string>

#include "jobs/SourceFile.h"
#include "run/Job.h"
#include "run/RunContext.h"

namespace zelk {

void RecognitionRun::ThrowStartFailure(const std::exception& error) const {
  throw JobStartError({UserMessage::Icon::Warning, std::string(error.what()) + "    "},
                      texts_.Failed);
}

void RecognitionRun::Start(RunContext& context, RecognitionAhead::DocumentStarter starter) {
  context.SetStatus(texts_.Starting);
  // A stop request cuts the page in progress short instead of waiting for
  // its item to end: recognising one page can take many seconds.
  options_.cancelled = [&context] { return context.StopRequested(); };
  try {
    engine_.emplace(OcrEngine::Load(options_));
  } catch (const std::exception& error) {
    ThrowStartFailure(error);
  }
  ahead_ = std::make_unique<RecognitionAhead>(*engine_, context.Rows().size(), std::move(starter));
}

void RecognitionRun::StartFiles(RunContext& context) {
  Start(context, [this, &context](std::size_t index) -> std::optional<OcrDocument> {
    OcrDocument document = Engine().CreateDocument();
    document.AddImageFile(PageSourceFile(context, index));
    return document;
  });
}

void RecognitionRun::Close(RunContext& context) {
  context.SetStatus(texts_.Closing);
  ahead_.reset();
  engine_.reset();
}

}  // namespace zelk
