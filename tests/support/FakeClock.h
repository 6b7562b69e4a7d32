#pragma once
// A clock the test sets and moves by hand, read in UTC so that expected
// dates and times do not depend on the machine's time zone.

#include <stdlib.h>
#include <time.h>

#include <chrono>

#include "platform/Clock.h"

namespace zelk::test {

// Makes local time UTC for the rest of the test process.
inline void UseUtc() {
  setenv("TZ", "UTC", 1);
  tzset();
}

inline TimePoint At(int year, unsigned month, unsigned day, int hour, int minute, int second) {
  using namespace std::chrono;
  return sys_days{std::chrono::year{year} / month / day} + hours(hour) + minutes(minute) +
         seconds(second);
}

class FakeClock final : public Clock {
 public:
  explicit FakeClock(TimePoint now) : now_(now) {}
  TimePoint Now() const override { return now_; }
  void Set(TimePoint now) { now_ = now; }
  void Advance(std::chrono::seconds by) { now_ += by; }

 private:
  TimePoint now_;
};

}  // namespace zelk::test
