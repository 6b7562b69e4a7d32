#pragma once
// Recognition on a fixed set of worker threads, one PageRecognizer each,
// created once and kept for the pool's life.  Pages start in the order they
// are submitted; each submission's future delivers that page's result, so a
// caller that waits on the futures in submission order receives the pages
// in that order.  A worker both loads (decodes) and recognises its page, so
// decoding runs in parallel too.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"
#include "ocr/PageLayout.h"
#include "ocr/PageRecognizer.h"

namespace zelk {

struct RecognisedPage {
  Page image;         // the page as loaded, for the PDF writer
  PageLayout layout;  // blocks, paragraphs, lines, words
  PageText text;      // the same lines and words as the text layer needs them
};

class RecognitionPool {
 public:
  using RecognizerFactory = std::function<std::unique_ptr<PageRecognizer>()>;
  using PageLoader = std::function<Page()>;
  // Set to true to drop a submitted page that no worker has taken yet.
  using AbandonFlag = std::shared_ptr<const std::atomic<bool>>;

  // Creates `workers` recognizers (at least one), in parallel since loading
  // language data takes a while, then starts one thread per recognizer.  An
  // exception from the factory is raised here once every call has ended.
  // Once `cancelled` returns true the pages being recognised stop early and
  // the queued ones are dropped, each raising RecognitionCancelled.
  RecognitionPool(int workers, const RecognizerFactory& factory,
                  RecognitionCancelCheck cancelled = {});
  // Drops the pages still queued and waits for the ones being recognised.
  ~RecognitionPool();
  RecognitionPool(const RecognitionPool&) = delete;
  RecognitionPool& operator=(const RecognitionPool&) = delete;

  int WorkerCount() const { return static_cast<int>(threads_.size()); }

  // Queues one page.  The future raises what loading or recognition raised,
  // or RecognitionCancelled when the page was dropped before it started.
  std::future<RecognisedPage> Submit(PageLoader load, AbandonFlag abandoned = nullptr);

  // Drops every page no worker has started; the running ones finish.
  void CancelPending();

 private:
  struct Task {
    PageLoader load;
    AbandonFlag abandoned;
    std::promise<RecognisedPage> result;
  };

  void Work(PageRecognizer& recognizer);
  bool Cancelled() const { return cancelled_ && cancelled_(); }

  RecognitionCancelCheck cancelled_;
  std::vector<std::unique_ptr<PageRecognizer>> recognizers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Task> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace zelk
