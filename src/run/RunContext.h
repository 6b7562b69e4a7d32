#pragma once
// What a job sees of the run it is part of: the run's own copy of the
// settings, the work list, the roots and the ways to show progress.

#include <cstddef>
#include <functional>
#include <string>

#include "run/JobTexts.h"
#include "run/RunControl.h"
#include "run/RunObserver.h"
#include "scan/WorkList.h"
#include "settings/Settings.h"
#include "settings/SettingsChangeSet.h"

namespace zelk {

class ProgressMeter;

class RunContext {
 public:
  RunContext(Settings& settings, const JobTexts& texts, WorkList& rows, RunObserver& observer,
             const RunControl& control, SettingsChangeSet& changes);

  // The run's copy of the settings.  [Common] ImageSrcDir and ConvertDstDir
  // hold the roots of this run without trailing separators.
  Settings& RunSettings() { return settings_; }
  const JobTexts& Texts() const { return texts_; }
  const std::string& SourceRoot() const { return settings_.Common.ImageSrcDir; }
  const std::string& TargetRoot() const { return settings_.Common.ConvertDstDir; }

  const WorkList& Rows() const { return rows_; }
  const WorkRow& Row(std::size_t index) const { return rows_.at(index); }

  // The target root followed by the part of `sourcePath` below the source root.
  std::string MirrorPath(const std::string& sourcePath) const;
  // The same below <target root>/Error.
  std::string ErrorTreePath(const std::string& sourcePath) const;

  void SetStatus(const std::string& text);
  void SetRowStatus(std::size_t index, const std::string& text);
  // PageWord & path & "  第" & page & PageOf & pageCount & "页", and the
  // run's progress with the pages before `page` done.
  void ShowPageProgress(std::size_t index, long long page, long long pageCount);
  void ClearFileList();
  void AddFileListEntry(const std::string& path, const std::string& name);
  void ShowMessage(const UserMessage& message);

  // Hands an in-memory change of the run's settings back to the window's
  // record at the end of the run (the settings file is not written).
  void KeepSettingChange(SettingId key);

  // A cancel or close was requested.  The frame tests it after every
  // successful item; a job may test it too where stopping early is safe.
  bool StopRequested() const { return !control_.KeepRunning(); }

  RunObserver& Observer() { return observer_; }

  // Something the operator should know of an item that succeeded (its
  // result falls short of what the run normally makes); the frame writes
  // it to the day's reasons list.
  void NoteOnItem(std::size_t index, const std::string& note);
  using NoteSink = std::function<void(std::size_t index, const std::string& note)>;
  void AttachNotes(NoteSink sink) { notes_ = std::move(sink); }

  // The frame's meter, which page progress feeds (none: status only).
  void AttachProgress(ProgressMeter* meter) { meter_ = meter; }

 private:
  Settings& settings_;
  const JobTexts& texts_;
  WorkList& rows_;
  RunObserver& observer_;
  const RunControl& control_;
  SettingsChangeSet& changes_;
  ProgressMeter* meter_ = nullptr;
  NoteSink notes_;
};

}  // namespace zelk
