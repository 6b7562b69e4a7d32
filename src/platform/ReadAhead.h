#pragma once
// Items loaded ahead of their use on a small, fixed set of threads and
// handed over one by one in index order.
//
// Loading (decoding an image, say) is often the slow part of a loop that
// must itself run in order on one thread.  The loader threads take the
// indices in order, never more than `ahead` past the next one the consumer
// takes, so however long the list, at most `ahead` loaded items are held
// at once.  What a load throws is kept with its item and thrown again when
// that item is taken: a bad item fails itself only, and in its place.
//
// Destruction stops the loaders: loads not yet begun never start, running
// ones finish, and every thread is joined, so no thread outlives the object
// and the consumer may stop after any item.

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace zelk {

template <typename T>
class ReadAhead {
 public:
  using Loader = std::function<T(std::size_t index)>;

  // Loads items 0 .. count - 1 with `load` on at most `threads` threads
  // (at least one while there is an item), holding at most `ahead` (at
  // least one) items that are loaded or loading but not yet taken.
  ReadAhead(std::size_t count, Loader load, std::size_t threads, std::size_t ahead)
      : count_(count), ahead_(std::max<std::size_t>(ahead, 1)), load_(std::move(load)) {
    const std::size_t wanted = std::min({std::max<std::size_t>(threads, 1), ahead_, count_});
    try {
      for (std::size_t i = 0; i < wanted; ++i) threads_.emplace_back([this] { Work(); });
    } catch (...) {
      Stop();
      throw;
    }
  }

  ~ReadAhead() { Stop(); }

  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  bool AtEnd() const { return taken_ == count_; }

  // Number of loader threads started (for tests).
  std::size_t ThreadCount() const { return threads_.size(); }

  // The next item in index order, once loaded.  Throws what its load threw,
  // and std::out_of_range past the end.
  T Next() {
    if (AtEnd()) throw std::out_of_range("no item left to take");
    Slot slot;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !slots_.empty() && slots_.front().done; });
      slot = std::move(slots_.front());
      slots_.pop_front();
      ++taken_;
    }
    // One more item may now be loaded ahead.
    changed_.notify_all();
    if (slot.error) std::rethrow_exception(slot.error);
    return std::move(*slot.value);
  }

 private:
  struct Slot {
    std::optional<T> value;
    std::exception_ptr error;
    bool done = false;
  };

  void Work() {
    for (;;) {
      std::size_t index = 0;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] {
          return stopping_ || claimed_ == count_ || claimed_ < taken_ + ahead_;
        });
        if (stopping_ || claimed_ == count_) return;
        index = claimed_++;
        slots_.emplace_back();
      }
      Slot loaded;
      try {
        loaded.value.emplace(load_(index));
      } catch (...) {
        loaded.error = std::current_exception();
      }
      loaded.done = true;
      {
        std::lock_guard lock(mutex_);
        // The consumer has not taken this index: it waits for it to be done.
        slots_[index - taken_] = std::move(loaded);
      }
      changed_.notify_all();
    }
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
    threads_.clear();
  }

  const std::size_t count_;
  const std::size_t ahead_;
  const Loader load_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Slot> slots_;    // items taken_ .. claimed_ - 1, in order
  std::size_t claimed_ = 0;   // items whose load has begun
  std::size_t taken_ = 0;     // written by the consumer only, under the lock
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace zelk
