#pragma once
// The actions the operator chooses between, numbered as [Common]
// ConvertAction stores them; the window's option optAction(i) is action
// i + 1.  Which job an action runs is each job's own entry in the job
// catalog (JobCatalog.h).  The window's options, `zelk-batch --help` and
// the manual page list the actions from this table.

#include <cstddef>
#include <iterator>

namespace zelk {

struct JobAction {
  int Number;
  const char* Caption;        // the caption of the window's option
  const char* Tooltip;        // the option's tooltip
  const char* SettingsTitle;  // its settings dialog's title; null for an action without options
  const char* ManualName;     // how the manual page names it
};

inline constexpr JobAction kJobActions[] = {
    {1, "单页合并", "单页图像合并为多页TIF", "单页合并设置", "merge"},
    {2, "多页拆分", "多页TIF拆分为单页图像", "多页拆分设置", "split"},
    {3, "单层PDF", "转换为单层PDF", "单层PDF转换设置", "image-only PDF"},
    {4, "双层PDF", "转换为双层PDF", "双层PDF转换设置", "dual-layer PDF"},
    {5, "Word文档", "OCR为Word文档", "OCR为Word设置", "Word document"},
    {6, "批量更名", "批量更名", "批量更名设置", "batch rename"},
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
