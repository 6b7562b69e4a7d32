#pragma once
// The recognition engine of a dual-layer PDF run: started once before the
// first item, with its status text and its start failure, and closed after
// the last, together with the documents recognised ahead of the items.

#include <memory>
#include <optional>

#include "jobs/RecognitionAhead.h"
#include "ocr/OcrEngine.h"

namespace zelk {

class RunContext;

inline constexpr const char* kPdfEngineStarting = "正在启动PDF转换引擎 . . . ";
inline constexpr const char* kPdfEngineClosing = "正在关闭PDF转换引擎 . . . . . . ";
inline constexpr const char* kPdfEngineFailed = "PDF文件转换错误！";

class PdfRecognitionRun {
 public:
  explicit PdfRecognitionRun(OcrEngineOptions options) : options_(std::move(options)) {}

  // Shows the starting status and loads the engine; the rows of the work
  // list are then recognised ahead through `starter`.  An engine that
  // cannot start ends the run: JobStartError with the error's description
  // and four blanks (warning icon) and the status "PDF文件转换错误！".
  void Start(RunContext& context, RecognitionAhead::DocumentStarter starter);

  OcrEngine& Engine() { return *engine_; }
  RecognitionAhead& Ahead() { return *ahead_; }

  // Shows the closing status, drops the documents still open and the engine.
  void Close(RunContext& context);

 private:
  OcrEngineOptions options_;
  std::optional<OcrEngine> engine_;
  std::unique_ptr<RecognitionAhead> ahead_;
};

// The JobStartError of an engine (or what the run prepares with it) that
// could not start.
[[noreturn]] void ThrowPdfEngineFailure(const std::exception& error);

}  // namespace zelk
