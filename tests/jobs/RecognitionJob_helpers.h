#pragma once
// Running the recognition jobs on real trees with pages rendered from
// known text: writing the pages, running a job object through the frame
// with the engine options of the test, and reading what came out.

#include <string>
#include <string_view>
#include <vector>

#include "imaging/Page.h"
#include "jobs/JobRun_helpers.h"
#include "ocr/OcrEngine.h"
#include "run/Job.h"

namespace zelk::test {

// The pages as a JPEG (the first one) or a multi-page TIFF, directories
// created as needed.
void WritePageJpeg(const std::string& path, const PixPtr& pix);
void WritePageTiff(const std::string& path, const std::vector<PixPtr>& pages);
// One or two pages as a list, for WritePageTiff.
std::vector<PixPtr> PageList(PixPtr first, PixPtr second = nullptr);

// The bytes as a file, directories created as needed.
void WriteSourceBytes(const std::string& path, std::string_view bytes);

// Dual-layer PDF settings with nothing beside the PDF: no mirrored
// directories, no text or TIFF twin, no grouping, pages at the image's size
// and the text over the image.
void UsePlainDualLayerPdf(Settings& settings);

// pdftotext of the whole document, or of one page (counted from 1).
std::string PdfText(const std::string& pdf, int page = 0);

// Whether `text` holds the words in this order.
bool InOrder(const std::string& text, const std::vector<std::string>& words);

class RecognitionJobTest : public JobRunTest {
 protected:
  void SetUp() override;

  // Runs the job object through the frame with the test's settings; the
  // observer is fresh for every run and calls onStatus_.
  RunResult RunJob(Job& job);
  bool ShowedStatus(const std::string& text) const;

  OcrEngineOptions engine_;
};

}  // namespace zelk::test
