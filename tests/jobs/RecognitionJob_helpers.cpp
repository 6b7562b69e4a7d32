#include "jobs/RecognitionJob_helpers.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "TextPageRenderer.h"
#include "imaging/PdfTest_helpers.h"
#include "support/PortablePlaces.h"
#include "support/TempDir.h"

namespace zelk::test {
namespace fs = std::filesystem;

void WritePageJpeg(const std::string& path, const PixPtr& pix) {
  fs::create_directories(fs::path(path).parent_path());
  if (pixWrite(path.c_str(), pix.get(), IFF_JFIF_JPEG) != 0) {
    throw std::runtime_error("cannot write " + path);
  }
}

void WritePageTiff(const std::string& path, const std::vector<PixPtr>& pages) {
  fs::create_directories(fs::path(path).parent_path());
  ocrtest::WriteMultipageTiff(path, pages);
}

std::vector<PixPtr> PageList(PixPtr first, PixPtr second) {
  std::vector<PixPtr> pages;
  pages.push_back(std::move(first));
  if (second) pages.push_back(std::move(second));
  return pages;
}

void WriteSourceBytes(const std::string& path, std::string_view bytes) {
  fs::create_directories(fs::path(path).parent_path());
  WriteBytes(path, bytes);
}

void UsePlainDualLayerPdf(Settings& settings) {
  settings.TwoPDF.KeepDir = 0;
  settings.TwoPDF.OutputTxt = 0;
  settings.TwoPDF.OutputTif = 0;
  settings.TwoPDF.Grouping.clear();
  settings.TwoPDF.PaperSize = 1;
  settings.TwoPDF.ImageQuality = 1;
  settings.TwoPDF.ImageResolution = 0;
  settings.TwoPDF.TextOutputMode = 1;
}

std::string PdfText(const std::string& pdf, int page) {
  const std::string pages =
      page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
  const pdftest::CommandResult result =
      pdftest::RunCommand("pdftotext -enc UTF-8" + pages + " " + pdftest::Quote(pdf) + " -");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  return result.out;
}

bool InOrder(const std::string& text, const std::vector<std::string>& words) {
  std::size_t at = 0;
  for (const std::string& word : words) {
    at = text.find(word, at);
    if (at == std::string::npos) return false;
    at += word.size();
  }
  return true;
}

void RecognitionJobTest::SetUp() {
  JobRunTest::SetUp();
  settings_.Merge.Tif = 1;
  settings_.Merge.Jpg = 1;
  engine_.workers = 2;
}

RunResult RecognitionJobTest::RunJob(Job& job) {
  RunRequest request;
  request.RunSettings = settings_;
  request.SourceDir = in_;
  request.TargetDir = out_;
  request.LogsDir = test::PortablePlacesIn(dir_.Path()).LogsDir;
  request.TimeSource = &clock_;
  observer_ = RecordingObserver();
  observer_.StatusHook = onStatus_;
  control_.BeginRun();
  return zelk::RunJob(job, request, observer_, control_);
}

bool RecognitionJobTest::ShowedStatus(const std::string& text) const {
  return std::find(observer_.Statuses.begin(), observer_.Statuses.end(), text) !=
         observer_.Statuses.end();
}

}  // namespace zelk::test
