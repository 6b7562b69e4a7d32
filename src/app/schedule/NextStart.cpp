#include "app/schedule/NextStart.h"

namespace zelk {
namespace {

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

std::string NextStartText(const NextStart& next) {
  const std::string lead = "下次转换：";
  switch (next.When) {
    case NextStart::Kind::None: return {};
    case NextStart::Kind::Never: return lead + "无（定时设置无效）";
    case NextStart::Kind::AfterRun:
      return lead + "本次转换结束后" +
             (next.MinutesAfter > 0 ? std::to_string(next.MinutesAfter) + "分钟" : "");
    case NextStart::Kind::At: {
      const LocalDateTime& at = next.At;
      std::string text = lead + std::to_string(at.Month) + "月" + std::to_string(at.Day) + "日 " +
                         TwoDigits(at.Hour) + ":" + TwoDigits(at.Minute);
      if (next.WithSeconds) text += ":" + TwoDigits(at.Second);
      return text;
    }
  }
  return {};
}

}  // namespace zelk
