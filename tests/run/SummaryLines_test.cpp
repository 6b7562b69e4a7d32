#include "run/SummaryLines.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

using enum SummaryOrder;

// The texts the summary reads, with heads of the test's own.
JobTexts TextsWith(SummaryOrder order, const char* secondSuccessHead) {
  JobTexts texts{};
  texts.SuccessHead = "本次总共处理了";
  texts.SecondSuccessHead = secondSuccessHead;
  texts.Unit = "个项目";
  texts.FailureTail = "个项目没有处理成功。";
  texts.Order = order;
  return texts;
}

// Which list's line comes first and which success head it has, by the
// job's order, its second head and whether the last row failed.
TEST(SummaryLinesTest, TheOrderAndTheSuccessHeadFollowTheTextsAndTheLastRow) {
  constexpr const char* kFirstHead = "本次总共处理了2个项目 共历时1秒\r\n";
  constexpr const char* kSecondHead = "本次执行总共处理了2个项目 共历时1秒\r\n";
  struct Case {
    SummaryOrder order;
    const char* secondSuccessHead;
    bool lastRowFailed;
    bool failureFirst;
    const char* success;
  };
  const Case cases[] = {
      {SuccessFirst, "", false, false, kFirstHead},
      {SuccessFirst, "", true, false, kFirstHead},
      {SuccessFirst, "本次执行总共处理了", true, false, kSecondHead},
      {FailureFirst, "本次执行总共处理了", false, true, kFirstHead},
      {FailureFirst, "本次执行总共处理了", true, true, kSecondHead},
      {FailureFirstAfterFailedLast, "", false, false, kFirstHead},
      {FailureFirstAfterFailedLast, "", true, true, kFirstHead},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.order) << " second head \""
                                    << c.secondSuccessHead << "\" last failed " << c.lastRowFailed);
    const auto lines =
        SummaryLines(TextsWith(c.order, c.secondSuccessHead), 2, 1, "1秒", c.lastRowFailed);
    EXPECT_EQ(lines[0].ToFailureList, c.failureFirst);
    EXPECT_NE(lines[0].ToFailureList, lines[1].ToFailureList);
    const SummaryLine& success = lines[c.failureFirst ? 1 : 0];
    const SummaryLine& failure = lines[c.failureFirst ? 0 : 1];
    EXPECT_EQ(success.Text, c.success);
    EXPECT_EQ(failure.Text, "本次执行共有1个项目没有处理成功。\r\n");
  }
}

}  // namespace
}  // namespace zelk
