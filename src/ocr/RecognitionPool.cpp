#include "ocr/RecognitionPool.h"

#include <algorithm>
#include <exception>

#include "ocr/LayoutText.h"
#include "ocr/OcrError.h"

namespace zelk {
namespace {

void Drop(std::promise<RecognisedPage>& result) {
  result.set_exception(std::make_exception_ptr(RecognitionCancelled()));
}

}  // namespace

RecognitionPool::RecognitionPool(int workers, const RecognizerFactory& factory,
                                 RecognitionCancelCheck cancelled)
    : cancelled_(std::move(cancelled)) {
  workers = std::max(1, workers);
  std::vector<std::future<std::unique_ptr<PageRecognizer>>> created;
  for (int i = 0; i < workers; ++i) created.push_back(std::async(std::launch::async, factory));
  std::exception_ptr failure;
  for (auto& recognizer : created) {
    try {
      recognizers_.push_back(recognizer.get());
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
  threads_.reserve(recognizers_.size());
  for (auto& recognizer : recognizers_) {
    threads_.emplace_back([this, &recognizer = *recognizer] { Work(recognizer); });
  }
}

RecognitionPool::~RecognitionPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    for (Task& task : queue_) Drop(task.result);
    queue_.clear();
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

std::future<RecognisedPage> RecognitionPool::Submit(PageLoader load, AbandonFlag abandoned) {
  Task task{std::move(load), std::move(abandoned), {}};
  std::future<RecognisedPage> future = task.result.get_future();
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
  }
  wake_.notify_one();
  return future;
}

void RecognitionPool::CancelPending() {
  std::deque<Task> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(queue_);
  }
  for (Task& task : dropped) Drop(task.result);
}

void RecognitionPool::Work(PageRecognizer& recognizer) {
  for (;;) {
    Task task;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      task = std::move(queue_.front());
      queue_.pop_front();
    }
    if ((task.abandoned && task.abandoned->load()) || Cancelled()) {
      Drop(task.result);
      continue;
    }
    try {
      RecognisedPage page;
      page.image = task.load();
      page.layout = recognizer.RecogniseUnlessCancelled(page.image, cancelled_);
      page.text = TextLayerOf(page.layout);
      task.result.set_value(std::move(page));
    } catch (...) {
      task.result.set_exception(std::current_exception());
    }
  }
}

}  // namespace zelk
