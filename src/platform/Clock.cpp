#include "platform/Clock.h"

#include <ctime>

namespace zelk {

LocalDateTime ToLocalDateTime(TimePoint moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm parts{};
  localtime_r(&seconds, &parts);
  return LocalDateTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                       parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

}  // namespace zelk
