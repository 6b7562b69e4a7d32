#include "run/RunContext.h"

#include "run/ProgressMeter.h"
#include "scan/DirectoryListing.h"
#include "scan/MirroredPath.h"

namespace zelk {

RunContext::RunContext(Settings& settings, const JobTexts& texts, WorkList& rows,
                       RunObserver& observer, const RunControl& control, SettingsChangeSet& changes)
    : settings_(settings),
      texts_(texts),
      rows_(rows),
      observer_(observer),
      control_(control),
      changes_(changes) {}

std::string RunContext::MirrorPath(const std::string& sourcePath) const {
  return zelk::MirrorPath(sourcePath, SourceRoot(), TargetRoot());
}

std::string RunContext::ErrorTreePath(const std::string& sourcePath) const {
  return zelk::MirrorPath(sourcePath, SourceRoot(), JoinPath(TargetRoot(), "Error"));
}

void RunContext::SetStatus(const std::string& text) { observer_.OnStatus(text); }

void RunContext::SetRowStatus(std::size_t index, const std::string& text) {
  rows_.at(index).Status = text;
  observer_.OnRowStatus(index, text);
}

void RunContext::ShowPageProgress(std::size_t index, long long page, long long pageCount) {
  SetStatus(std::string(texts_.PageWord) + Row(index).Path + "  第" + std::to_string(page) +
            texts_.PageOf + std::to_string(pageCount) + "页");
  if (meter_ != nullptr) meter_->PageStarted(index, page, pageCount);
}

void RunContext::ClearFileList() { observer_.OnFileListCleared(); }

void RunContext::AddFileListEntry(const std::string& path, const std::string& name) {
  observer_.OnFileListEntry(path, name);
}

void RunContext::ShowMessage(const UserMessage& message) { observer_.OnMessage(message); }

void RunContext::NoteOnItem(std::size_t index, const std::string& note) {
  if (notes_) notes_(index, note);
}

void RunContext::KeepSettingChange(SettingId key) {
  changes_.Capture(settings_, key);
}

}  // namespace zelk
