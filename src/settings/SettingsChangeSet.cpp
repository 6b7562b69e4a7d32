#include "settings/SettingsChangeSet.h"

#include <algorithm>

#include "settings/SettingsFile.h"

namespace zelk {

void SettingsChangeSet::Capture(const Settings& from, const std::string& section,
                                const std::string& key) {
  const SettingKey* entry = FindSettingKey(section, key);
  if (entry == nullptr) return;
  // The field accessors take a mutable record; they are only read here.
  Settings& record = const_cast<Settings&>(from);
  Change change{entry->Section, entry->Key, entry->IsInteger, 0, {}};
  if (entry->IsInteger) {
    change.Number = *entry->IntField(record);
  } else {
    change.Text = *entry->TextField(record);
  }
  std::erase_if(changes_, [&](const Change& old) {
    return old.Section == change.Section && old.Key == change.Key;
  });
  changes_.push_back(std::move(change));
}

void SettingsChangeSet::ApplyTo(Settings& to) const {
  for (const Change& change : changes_) {
    const SettingKey* entry = FindSettingKey(change.Section, change.Key);
    if (entry == nullptr) continue;
    if (change.IsInteger) {
      *entry->IntField(to) = change.Number;
    } else {
      *entry->TextField(to) = change.Text;
    }
  }
}

bool SettingsChangeSet::Contains(const std::string& section, const std::string& key) const {
  const SettingKey* entry = FindSettingKey(section, key);
  return entry != nullptr && std::any_of(changes_.begin(), changes_.end(), [&](const Change& c) {
           return c.Section == entry->Section && c.Key == entry->Key;
         });
}

}  // namespace zelk
