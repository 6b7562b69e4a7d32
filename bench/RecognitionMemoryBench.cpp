// Resident memory of the recognition workers: each holds a Tesseract
// instance with the program's languages and recognises one full A4 page at
// 300 dpi (a colour scan, the largest page a worker holds).
//
//   recognition_memory_bench [workers]
//
// Prints VmRSS before the engine loads, after it loads, and the peak
// (VmHWM) after every worker has recognised its page, with the peak growth
// per worker.  Run it once per worker count, each in a process of its own,
// with OMP_THREAD_LIMIT=1 as the program runs.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "ocr/OcrEngine.h"
#include "RecognitionCorpus.h"
#include "TextPageRenderer.h"

namespace {

// A line of /proc/self/status ("VmRSS:  1234 kB"), in MiB.
double StatusMiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::atof(line.c_str() + key.size() + 1) / 1024.0;
  }
  return 0;
}

// An A4 colour page at 300 dpi filled with lines of the corpus.
zelk::PixPtr RenderA4Page() {
  zelk::ocrtest::LayoutPageSpec spec;
  zelk::ocrtest::TextBlockSpec block;
  block.left = 236;
  block.top = 250;
  block.lines = zelk::bench::CorpusText(1).at(0);
  spec.blocks.push_back(block);
  return zelk::ocrtest::RenderLayoutPage(spec);
}

}  // namespace

int main(int argc, char** argv) {
  const int workers = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const zelk::PixPtr a4 = RenderA4Page();
  const double before = StatusMiB("VmRSS");

  zelk::OcrEngineOptions options;
  options.workers = workers;
  zelk::OcrEngine engine = zelk::OcrEngine::Load(options);
  const double loaded = StatusMiB("VmRSS");

  std::vector<std::future<zelk::RecognisedPage>> pages;
  for (int i = 0; i < workers; ++i) {
    pages.push_back(engine.Pool().Submit([&a4] {
      zelk::Page page;
      page.pix.reset(pixCopy(nullptr, a4.get()));
      page.xDpi = page.yDpi = 300;
      return page;
    }));
  }
  std::size_t words = 0;
  for (auto& page : pages) {
    for (const auto& line : page.get().text.lines) words += line.words.size();
  }
  const double peak = StatusMiB("VmHWM");
  std::printf("%d worker%s, %zu words: VmRSS %.0f MiB before loading, %.0f MiB loaded, "
              "peak %.0f MiB; per worker %.0f MiB loaded, %.0f MiB at the peak\n",
              workers, workers == 1 ? "" : "s", words, before, loaded, peak,
              (loaded - before) / workers, (peak - before) / workers);
  return 0;
}
