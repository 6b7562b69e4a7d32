// The pool and documents with a stand-in recognizer: ordering, errors,
// cancellation and the bound on pages in flight, without Tesseract.
#include "ocr/RecognitionPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <stdexcept>
#include <thread>
#include <vector>

#include "ocr/OcrEngine.h"
#include "ocr/OcrError.h"
#include "ocr/RecognitionWorkers.h"

namespace zelk {
namespace {

using namespace std::chrono_literals;

// Page i of a fake file is a Page whose xDpi is i; recognising it yields one
// word "p<i>".  Early pages take longest, so that later pages finish first.
class FakeRecognizer : public PageRecognizer {
 public:
  PageLayout Recognise(const Page& page) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::max(0, 40 - 5 * page.xDpi)));
    if (page.xDpi == kBadPage) throw RecognitionError("unreadable text");
    PageLayout layout;
    LayoutLine& line = layout.blocks.emplace_back().paragraphs.emplace_back().lines.emplace_back();
    line.words.push_back(LayoutWord{"p" + std::to_string(page.xDpi), {}, 100, false});
    return layout;
  }
  static constexpr int kBadPage = 3;
};

std::unique_ptr<RecognitionPool> FakePool(int workers) {
  return std::make_unique<RecognitionPool>(workers, [] { return std::make_unique<FakeRecognizer>(); });
}

std::string WordOf(const RecognisedPage& page) { return page.text.lines.at(0).words.at(0).text; }

// Files named by their page count ("9" has nine pages); loads are counted.
struct CountingReader {
  std::atomic<int> loads{0};
  PageReader Reader() {
    return PageReader{[](const std::string& path) { return std::stoi(path); },
                      [this](const std::string&, int index) {
                        ++loads;
                        Page page;
                        page.xDpi = index;
                        return page;
                      }};
  }
};

TEST(RecognitionPool, DeliversPagesInSubmissionOrderAndKeepsPageErrorsToTheirPage) {
  CountingReader counting;
  OcrEngine engine(FakePool(3), counting.Reader());
  OcrDocument document = engine.CreateDocument();
  document.AddImageFile("6");
  document.AddImageFile("2");
  ASSERT_EQ(document.PageCount(), 8);
  document.BeginProcess();
  std::vector<std::string> words;
  while (document.HasNextPage()) {
    try {
      words.push_back(WordOf(document.NextPage()));
    } catch (const RecognitionError&) {
      words.push_back("error");
    }
  }
  EXPECT_EQ(words, (std::vector<std::string>{"p0", "p1", "p2", "error", "p4", "p5", "p0", "p1"}));
  ASSERT_EQ(document.Layouts().size(), 8u);
  EXPECT_TRUE(document.Layouts()[3].blocks.empty());
}

TEST(RecognitionPool, ProcessRaisesTheFirstPageErrorAfterTheOtherPages) {
  CountingReader counting;
  OcrEngine engine(FakePool(2), counting.Reader());
  OcrDocument document = engine.CreateDocument();
  document.AddImageFile("5");
  EXPECT_THROW(document.Process(), RecognitionError);
  EXPECT_EQ(document.Layouts().size(), 5u);
  EXPECT_FALSE(document.HasNextPage());
}

TEST(RecognitionPool, LoadFailuresReachTheCallerAndTheDocumentStaysUnchanged) {
  PageReader reader{[](const std::string& path) -> int {
                      if (path == "missing") throw ImageError(ErrorKind::NotFound, "missing", "cannot read");
                      return 1;
                    },
                    [](const std::string&, int) -> Page { throw ImageError(ErrorKind::Damaged, "", "corrupt page"); }};
  OcrEngine engine(FakePool(1), reader);
  OcrDocument document = engine.CreateDocument();
  EXPECT_THROW(document.AddImageFile("missing"), ImageError);
  EXPECT_EQ(document.PageCount(), 0);
  document.AddImageFile("one");
  EXPECT_THROW(document.NextPage(), ImageError);
}

TEST(RecognitionPool, ADocumentKeepsAtMostTwoPagesPerWorkerInFlight) {
  CountingReader counting;
  OcrEngine engine(FakePool(2), counting.Reader());
  OcrDocument document = engine.CreateDocument();
  document.AddImageFile("40");
  document.BeginProcess();
  std::this_thread::sleep_for(200ms);  // time enough to load every page if it could
  EXPECT_LE(counting.loads, 4);
  int delivered = 0;
  while (document.HasNextPage()) {
    try {
      document.NextPage();
    } catch (const RecognitionError&) {
    }
    ++delivered;
    EXPECT_LE(counting.loads, delivered + 4);
  }
  EXPECT_EQ(counting.loads, 40);
}

// A recognizer that holds its page until released, to catch the pool with
// work queued behind busy workers.
class BlockingRecognizer : public PageRecognizer {
 public:
  explicit BlockingRecognizer(std::latch& release) : release_(release) {}
  PageLayout Recognise(const Page&) override {
    release_.wait();
    return {};
  }

 private:
  std::latch& release_;
};

TEST(RecognitionPool, CancelDropsQueuedPagesWhileRunningPagesFinish) {
  std::latch release(1);
  auto pool = std::make_unique<RecognitionPool>(
      2, [&release] { return std::make_unique<BlockingRecognizer>(release); });
  std::atomic<int> loaded{0};
  auto load = [&loaded] { ++loaded; return Page{}; };
  std::vector<std::future<RecognisedPage>> results;
  for (int i = 0; i < 5; ++i) results.push_back(pool->Submit(load));
  while (loaded < 2) std::this_thread::sleep_for(1ms);
  pool->CancelPending();
  release.count_down();
  EXPECT_NO_THROW(results[0].get());
  EXPECT_NO_THROW(results[1].get());
  for (int i = 2; i < 5; ++i) EXPECT_THROW(results[i].get(), RecognitionCancelled);
  EXPECT_EQ(loaded, 2);
  // The pool takes new pages after a cancel.
  EXPECT_NO_THROW(pool->Submit(load).get());
}

// A recognizer that works until its cancel check says stop, as Tesseract's
// progress monitor lets it.
class CancellableRecognizer : public PageRecognizer {
 public:
  PageLayout Recognise(const Page& page) override { return RecogniseUnlessCancelled(page, {}); }
  PageLayout RecogniseUnlessCancelled(const Page&, const RecognitionCancelCheck& cancelled) override {
    ++started;
    while (!(cancelled && cancelled())) std::this_thread::sleep_for(1ms);
    throw RecognitionCancelled();
  }
  static inline std::atomic<int> started{0};
};

TEST(RecognitionPool, AStopCutsThePagesInProgressShortAndDropsTheQueuedOnes) {
  std::atomic<bool> stop{false};
  RecognitionPool pool(
      2, [] { return std::make_unique<CancellableRecognizer>(); }, [&stop] { return stop.load(); });
  std::atomic<int> loaded{0};
  auto load = [&loaded] { ++loaded; return Page{}; };
  std::vector<std::future<RecognisedPage>> results;
  for (int i = 0; i < 6; ++i) results.push_back(pool.Submit(load));
  while (CancellableRecognizer::started < 2) std::this_thread::sleep_for(1ms);
  stop = true;
  for (auto& result : results) EXPECT_THROW(result.get(), RecognitionCancelled);
  EXPECT_EQ(loaded, 2);  // the queued pages were never loaded
  // While the stop lasts, new pages are dropped too.
  EXPECT_THROW(pool.Submit(load).get(), RecognitionCancelled);
}

TEST(RecognitionPool, ClosingADocumentDropsItsWaitingPagesOnly) {
  std::latch release(1);
  auto pool = std::make_unique<RecognitionPool>(
      1, [&release] { return std::make_unique<BlockingRecognizer>(release); });
  std::atomic<int> loaded{0};
  PageReader reader{[](const std::string& path) { return std::stoi(path); },
                    [&loaded](const std::string&, int) { ++loaded; return Page{}; }};
  OcrDocument closed(*pool, reader);
  closed.AddImageFile("3");
  closed.BeginProcess();
  OcrDocument kept(*pool, reader);
  kept.AddImageFile("1");
  kept.BeginProcess();
  while (loaded < 1) std::this_thread::sleep_for(1ms);
  closed.Close();
  release.count_down();
  EXPECT_NO_THROW(kept.NextPage());
  EXPECT_EQ(loaded, 2);  // the first page of the closed document, then the kept one
}

TEST(RecognitionPool, AFailingRecognizerFailsThePoolAndHasAtLeastOneWorker) {
  std::atomic<int> made{0};
  EXPECT_THROW(RecognitionPool(3,
                               [&made]() -> std::unique_ptr<PageRecognizer> {
                                 if (++made == 2) throw EngineLoadError("no data");
                                 return std::make_unique<FakeRecognizer>();
                               }),
               EngineLoadError);
  EXPECT_EQ(made, 3);
  EXPECT_EQ(FakePool(0)->WorkerCount(), 1);
  EXPECT_GE(DefaultWorkerCount(), 1);
}

}  // namespace
}  // namespace zelk
