#pragma once
// Notes when a recognition job's engine starts loading and when its first
// row is taken, so that a benchmark can tell the engine start apart from
// the work on the pages.

#include <chrono>
#include <string>
#include <utility>

#include "run/RunObserver.h"

namespace zelk::bench {

class EngineStartWatch : public RunObserver {
 public:
  using Clock = std::chrono::steady_clock;

  // `startingStatus`: the status the job shows while its engine loads.
  explicit EngineStartWatch(std::string startingStatus) : startingStatus_(std::move(startingStatus)) {}

  void OnStatus(const std::string& text) override {
    if (text == startingStatus_) starting_ = Clock::now();
  }
  void OnRowSelected(std::size_t index) override {
    if (index == 0) firstRow_ = Clock::now();
  }

  double EngineSeconds() const { return std::chrono::duration<double>(firstRow_ - starting_).count(); }

 private:
  std::string startingStatus_;
  Clock::time_point starting_, firstRow_;
};

}  // namespace zelk::bench
