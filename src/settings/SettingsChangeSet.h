#pragma once
// Keys of the settings record that a run changed.  A run works on its own
// copy of the record; at its end the window copies exactly these keys back
// into its record, so that what the option dialogs changed meanwhile stays.

#include <string>
#include <vector>

#include "settings/SettingKeys.h"
#include "settings/Settings.h"

namespace zelk {

class SettingsChangeSet {
 public:
  // Remembers the current value of `key` in `from`.  A later capture of the
  // same key replaces the earlier one.
  void Capture(const Settings& from, SettingId key);

  // Writes every captured value into `to`.
  void ApplyTo(Settings& to) const;

  bool Empty() const { return changes_.empty(); }
  bool Contains(SettingId key) const;

 private:
  struct Change {
    SettingId Key;
    int16_t Number = 0;
    std::string Text;
  };
  std::vector<Change> changes_;
};

}  // namespace zelk
