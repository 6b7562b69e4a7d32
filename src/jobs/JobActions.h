#pragma once
// The actions the operator chooses between, numbered as [Common]
// ConvertAction stores them; the window's option optAction(i) is action
// i + 1.  Which job an action runs is each job's own entry in the job
// catalog (JobCatalog.h).

#include <cstddef>
#include <iterator>

namespace zelk {

struct JobAction {
  int Number;
  const char* Caption;  // the caption of the window's option
};

inline constexpr JobAction kJobActions[] = {
    {1, "单页合并"}, {2, "多页拆分"}, {3, "单层PDF"},
    {4, "双层PDF"},  {5, "Word文档"}, {6, "批量更名"},
};

inline constexpr std::size_t kActionCount = std::size(kJobActions);

constexpr bool ActionsNumberedFromOne() {
  for (std::size_t i = 0; i < kActionCount; ++i) {
    if (kJobActions[i].Number != static_cast<int>(i) + 1) return false;
  }
  return true;
}
static_assert(ActionsNumberedFromOne(), "actions are numbered 1, 2, ... in table order");

}  // namespace zelk
