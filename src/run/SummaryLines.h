#pragma once
// The two summary lines that end a run's result lists, in the order they
// are written.

#include <array>
#include <cstddef>
#include <string>

#include "run/JobTexts.h"

namespace zelk {

struct SummaryLine {
  bool ToFailureList = false;
  std::string Text;  // ends with CR LF, so that an empty line follows it
};

// Success list: the success head (the second one after a failed last row,
// where the job has one), the count, the unit, " 共历时" and the elapsed
// time.  Failure list: "本次执行共有", the count and the failure tail.
std::array<SummaryLine, 2> SummaryLines(const JobTexts& texts, std::size_t successes,
                                        std::size_t failures, const std::string& elapsed,
                                        bool lastRowFailed);

}  // namespace zelk
