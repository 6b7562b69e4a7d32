#include "settings/SettingsChangeSet.h"

#include <algorithm>

namespace zelk {

void SettingsChangeSet::Capture(const Settings& from, SettingId key) {
  const SettingKey& entry = SettingKeyOf(key);
  // The field accessors take a mutable record; they are only read here.
  Settings& record = const_cast<Settings&>(from);
  Change change{key, 0, {}};
  if (entry.IsInteger) {
    change.Number = *entry.IntField(record);
  } else {
    change.Text = *entry.TextField(record);
  }
  std::erase_if(changes_, [key](const Change& old) { return old.Key == key; });
  changes_.push_back(std::move(change));
}

void SettingsChangeSet::ApplyTo(Settings& to) const {
  for (const Change& change : changes_) {
    const SettingKey& entry = SettingKeyOf(change.Key);
    if (entry.IsInteger) {
      *entry.IntField(to) = change.Number;
    } else {
      *entry.TextField(to) = change.Text;
    }
  }
}

bool SettingsChangeSet::Contains(SettingId key) const {
  return std::any_of(changes_.begin(), changes_.end(),
                     [key](const Change& change) { return change.Key == key; });
}

}  // namespace zelk
