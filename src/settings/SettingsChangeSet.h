#pragma once
// Keys of the settings record that a run changed.  A run works on its own
// copy of the record; at its end the window copies exactly these keys back
// into its record, so that what the option dialogs changed meanwhile stays.

#include <string>
#include <vector>

#include "settings/Settings.h"

namespace zelk {

class SettingsChangeSet {
 public:
  // Remembers the current value of [section] key in `from`.  Unknown keys
  // are ignored.  A later capture of the same key replaces the earlier one.
  void Capture(const Settings& from, const std::string& section, const std::string& key);

  // Writes every captured value into `to`.
  void ApplyTo(Settings& to) const;

  bool Empty() const { return changes_.empty(); }
  // Whether [section] key was captured (sections and keys without regard to case).
  bool Contains(const std::string& section, const std::string& key) const;

 private:
  struct Change {
    std::string Section;
    std::string Key;
    bool IsInteger = false;
    int16_t Number = 0;
    std::string Text;
  };
  std::vector<Change> changes_;
};

}  // namespace zelk
