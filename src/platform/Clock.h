#pragma once
// Wall-clock time as the program shows it: a replaceable source of "now"
// (tests use a fake one and never sleep) and its reading in local time.

#include <chrono>

namespace zelk {

using TimePoint = std::chrono::system_clock::time_point;

// A moment in local time, the fields as a person reads them (month 1..12).
struct LocalDateTime {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;

  // Seconds since local midnight.
  int SecondOfDay() const { return Hour * 3600 + Minute * 60 + Second; }
  bool SameDate(const LocalDateTime& other) const {
    return Year == other.Year && Month == other.Month && Day == other.Day;
  }
};

// The local reading of a moment, in the process's time zone.
LocalDateTime ToLocalDateTime(TimePoint moment);

class Clock {
 public:
  virtual ~Clock() = default;
  virtual TimePoint Now() const = 0;
};

// The system's real-time clock.
class SystemClock final : public Clock {
 public:
  TimePoint Now() const override { return std::chrono::system_clock::now(); }
};

}  // namespace zelk
