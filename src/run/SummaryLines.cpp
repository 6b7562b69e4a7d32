#include "run/SummaryLines.h"

namespace zelk {

std::array<SummaryLine, 2> SummaryLines(const JobTexts& texts, std::size_t successes,
                                        std::size_t failures, const std::string& elapsed,
                                        bool lastRowFailed) {
  const bool secondHead = lastRowFailed && *texts.SecondSuccessHead != '\0';
  SummaryLine success{false, std::string(secondHead ? texts.SecondSuccessHead : texts.SuccessHead) +
                                 std::to_string(successes) + texts.Unit + " 共历时" + elapsed +
                                 "\r\n"};
  SummaryLine failure{true, "本次执行共有" + std::to_string(failures) + texts.FailureTail + "\r\n"};
  const bool failureFirst =
      texts.Order == SummaryOrder::FailureFirst ||
      (texts.Order == SummaryOrder::FailureFirstAfterFailedLast && lastRowFailed);
  if (failureFirst) return {std::move(failure), std::move(success)};
  return {std::move(success), std::move(failure)};
}

}  // namespace zelk
