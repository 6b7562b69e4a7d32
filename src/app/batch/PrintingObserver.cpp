#include "app/batch/PrintingObserver.h"

#include <ostream>
#include <string_view>

namespace zelk {

void PrintingObserver::OnStatus(const std::string& text) {
  if (text == lastStatus_) return;
  lastStatus_ = text;
  out_ << text << std::endl;
}

void PrintingObserver::OnItemFailed(std::size_t index, const std::string& reason) {
  err_ << (index < paths_.size() ? paths_[index] : std::string()) << "：" << reason << std::endl;
}

void PrintingObserver::OnDirectorySkipped(const std::string& path, const std::string& reason) {
  err_ << path << "：" << reason << std::endl;
}

// Page progress within an item is left to the status lines: a line per
// finished item is what a log of the run needs.
void PrintingObserver::OnProgress(const RunProgress& progress) {
  if (progress.ItemsFinished == 0 || progress.ItemsFinished == itemsShown_) return;
  itemsShown_ = progress.ItemsFinished;
  out_ << ProgressText(progress) << std::endl;
}

void PrintingObserver::OnMessage(const UserMessage& message) {
  // Blanks that pad a message box's text mean nothing on a terminal.
  std::string_view text = message.Text;
  for (;;) {
    if (text.ends_with(' ')) {
      text.remove_suffix(1);
    } else if (text.ends_with("\u3000")) {
      text.remove_suffix(std::string_view("\u3000").size());
    } else {
      break;
    }
  }
  err_ << text << std::endl;
}

}  // namespace zelk
