#include "run/RunProgress.h"

#include <algorithm>

#include "run/ResultLog.h"

namespace zelk {

double RunProgress::Fraction() const {
  if (ItemCount == 0) return 0;
  const double done = static_cast<double>(ItemsFinished) + std::clamp(ItemFraction, 0.0, 1.0);
  return std::clamp(done / static_cast<double>(ItemCount), 0.0, 1.0);
}

std::string RemainingText(std::chrono::seconds remaining) {
  const long long seconds = remaining.count();
  if (seconds < 60) return "不到1分钟";
  const long long minutes = (seconds + 59) / 60;
  std::string text = "约";
  if (minutes >= 60) text += std::to_string(minutes / 60) + "时";
  if (minutes % 60 > 0) text += std::to_string(minutes % 60) + "分";
  return text;
}

std::string ProgressText(const RunProgress& progress) {
  std::string text = "已完成" + std::to_string(progress.ItemsFinished) + "/" +
                     std::to_string(progress.ItemCount) + "项，已用" +
                     FormatElapsedSeconds(progress.Elapsed.count());
  if (progress.Remaining) text += "，剩余" + RemainingText(*progress.Remaining);
  return text;
}

}  // namespace zelk
