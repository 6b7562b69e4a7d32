#pragma once
// The recognition engine of a recognition run: started once before the
// first item, with the job's status texts and its start failure, and closed
// after the last, together with the documents recognised ahead of the items.

#include <exception>
#include <memory>
#include <optional>

#include "jobs/RecognitionAhead.h"
#include "ocr/OcrEngine.h"

namespace zelk {

class RunContext;

// The status texts a job shows around its engine.
struct EngineStatusTexts {
  const char* Starting;  // while the engine loads
  const char* Closing;   // while it is dropped at the end of the run
  const char* Failed;    // left in the status line when it cannot start
};

// The dual-layer PDF jobs.
inline constexpr const char* kPdfEngineStarting = "正在启动PDF转换引擎 . . . ";
inline constexpr const char* kPdfEngineClosing = "正在关闭PDF转换引擎 . . . . . . ";
inline constexpr const char* kPdfEngineFailed = "PDF文件转换错误！";
inline constexpr EngineStatusTexts kPdfEngineTexts{kPdfEngineStarting, kPdfEngineClosing,
                                                   kPdfEngineFailed};

// The Word jobs.
inline constexpr const char* kOcrEngineStarting = "正在启动OCR文本识别引擎 . . . ";
inline constexpr const char* kOcrEngineClosing = "正在关闭OCR文本识别引擎 . . . . . . ";
inline constexpr const char* kOcrEngineFailed = "OCR文本识别错误！";
inline constexpr EngineStatusTexts kOcrEngineTexts{kOcrEngineStarting, kOcrEngineClosing,
                                                   kOcrEngineFailed};

class RecognitionRun {
 public:
  RecognitionRun(OcrEngineOptions options, EngineStatusTexts texts)
      : options_(std::move(options)), texts_(texts) {}

  // Shows the starting status and loads the engine; the rows of the work
  // list are then recognised ahead through `starter`.  An engine that
  // cannot start ends the run (ThrowStartFailure).
  void Start(RunContext& context, RecognitionAhead::DocumentStarter starter);
  // Start for a file scan's work list: each row's image file, every page
  // of it, is one document.
  void StartFiles(RunContext& context);

  OcrEngine& Engine() { return *engine_; }
  RecognitionAhead& Ahead() { return *ahead_; }

  // Shows the closing status, drops the documents still open and the engine.
  void Close(RunContext& context);

  // Ends the run before its items because the engine, or what the run
  // prepares with it, could not start: JobStartError with the error's
  // description and four blanks (warning icon) and the job's failed status.
  [[noreturn]] void ThrowStartFailure(const std::exception& error) const;

 private:
  OcrEngineOptions options_;
  EngineStatusTexts texts_;
  std::optional<OcrEngine> engine_;
  std::unique_ptr<RecognitionAhead> ahead_;
};

}  // namespace zelk
