// Pages per minute of recognition on 10 A4 pages at 300 dpi with one and
// with two worker threads, with the character error rate of the result.
//
//   recognition_bench [--keep] [--language NAMES] [worker counts...]
//
// Worker counts default to 1 2.  --keep leaves the corpus in the temporary
// directory for other tools; --language recognises with other languages
// than the program's "ChinesePRC+English", for comparison.
// Start it with OMP_THREAD_LIMIT=1, as the program runs.

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ocr/LayoutText.h"
#include "ocr/OcrEngine.h"
#include "RecognitionCorpus.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string KnownText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

void Measure(int workers, const std::string& languages, const std::vector<std::string>& files,
             const std::vector<std::vector<std::string>>& known) {
  const auto loadStart = Clock::now();
  zelk::OcrEngineOptions options;
  options.workers = workers;
  options.languages = languages;
  zelk::OcrEngine engine = zelk::OcrEngine::Load(options);
  const double loadSeconds = Seconds(loadStart);

  const auto start = Clock::now();
  const std::clock_t cpuStart = std::clock();
  zelk::OcrDocument document = engine.CreateDocument();
  for (const std::string& file : files) document.AddImageFile(file);
  document.Process();
  const double seconds = Seconds(start);
  const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

  zelk::bench::ErrorCount errors;
  long blanks = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string text = zelk::PlainText({document.Layouts()[i]});
    const auto page = zelk::bench::CharacterErrors(text, KnownText(known[i]));
    errors.errors += page.errors;
    errors.characters += page.characters;
    blanks += zelk::bench::BlanksInsideChinese(text);
  }
  const double pages = static_cast<double>(files.size());
  std::printf("%d worker%s: engine load %.2f s, %zu pages in %.1f s = %.1f pages/min "
              "(%.2f CPU s a page), character errors %.2f %% (%ld of %ld), blanks inside Chinese %ld\n",
              workers, workers == 1 ? " " : "s", loadSeconds, files.size(), seconds, 60.0 * pages / seconds,
              cpuSeconds / pages, 100.0 * errors.Rate(), errors.errors, errors.characters, blanks);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const char* limit = std::getenv("OMP_THREAD_LIMIT");
  if (limit == nullptr || *limit == '\0') {
    std::fprintf(stderr, "warning: OMP_THREAD_LIMIT is not set; the figures will not be the program's\n");
  }
  std::vector<int> workerCounts;
  bool keep = false;
  std::string languages(zelk::kDefaultRecognitionLanguage);
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--keep") {
      keep = true;
    } else if (std::string(argv[i]) == "--language" && i + 1 < argc) {
      languages = argv[++i];
    } else {
      workerCounts.push_back(std::atoi(argv[i]));
    }
  }
  if (workerCounts.empty()) workerCounts = {1, 2};

  const auto directory = std::filesystem::temp_directory_path() / "zelk-ocr-bench";
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  const auto known = zelk::bench::CorpusText(10);
  const auto files = zelk::bench::WriteCorpus(known, directory.string());
  std::printf("corpus: %zu bitonal A4 pages at 300 dpi (CCITT G4 TIFF) in %s; languages %s\n",
              files.size(), directory.c_str(), languages.c_str());

  for (int workers : workerCounts) {
    if (workers > 0) Measure(workers, languages, files, known);
  }
  if (!keep) std::filesystem::remove_all(directory);
  return 0;
}
