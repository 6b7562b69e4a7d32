// The table of every key of ZELK.conf with its shipped default.  The same
// table writes the shipped file and supplies the value of an integer key
// that is missing or damaged, so the two can never disagree.

#include "settings/SettingKeys.h"

#include <algorithm>
#include <array>

#include "settings/SettingsFile.h"

namespace zelk {
namespace {

constexpr std::array kSectionNames = {
#define ZELK_SECTION_NAME(id, name) name,
    ZELK_SETTING_SECTIONS(ZELK_SECTION_NAME)
#undef ZELK_SECTION_NAME
};

// One row per KEY of the list; `type` picks the integer or the text form of
// the default and the field accessor.
#define ZELK_KEY_ROW(section, key, type, value)                                        \
  SettingKey{SettingId::section##_##key, SettingSection::section,                      \
             kSectionNames[static_cast<std::size_t>(SettingSection::section)], #key,   \
             ZELK_##type##_PARTS(section, key, value)},
#define ZELK_Int_PARTS(section, key, value) \
  true, value, nullptr, [](Settings& s) -> int16_t* { return &s.section.key; }, nullptr
#define ZELK_Text_PARTS(section, key, value) \
  false, 0, value, nullptr, [](Settings& s) -> std::string* { return &s.section.key; }

constexpr std::array kSettingKeys = {ZELK_SETTING_KEYS(ZELK_KEY_ROW)};

#undef ZELK_KEY_ROW
#undef ZELK_Int_PARTS
#undef ZELK_Text_PARTS

// Row i is the row of handle i, and the sections follow each other in
// their own order, each with its keys together (the shipped file names
// every section once).
constexpr bool RowsAreInHandleAndSectionOrder() {
  for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
    if (static_cast<std::size_t>(kSettingKeys[i].Id) != i) return false;
    if (i > 0 && kSettingKeys[i].SectionId < kSettingKeys[i - 1].SectionId) return false;
  }
  return true;
}
static_assert(RowsAreInHandleAndSectionOrder());

}  // namespace

std::span<const SettingKey> SettingKeys() { return kSettingKeys; }

const SettingKey& SettingKeyOf(SettingId id) { return kSettingKeys.at(static_cast<std::size_t>(id)); }

std::span<const SettingKey> SettingKeysOf(SettingSection section) {
  const auto inSection = [section](const SettingKey& row) { return row.SectionId == section; };
  const auto first = std::find_if(kSettingKeys.begin(), kSettingKeys.end(), inSection);
  return {first, std::find_if_not(first, kSettingKeys.end(), inSection)};
}

std::string DefaultSettingsFileText() {
  std::string text;
  const SettingKey* previous = nullptr;
  for (const SettingKey& entry : kSettingKeys) {
    if (previous == nullptr || previous->SectionId != entry.SectionId) {
      if (previous != nullptr) text += "\r\n";
      text += "[" + std::string(entry.Section) + "]\r\n";
    }
    previous = &entry;
    text += std::string(entry.Key) + "=" +
            (entry.IsInteger ? std::to_string(entry.DefaultInt) : std::string(entry.DefaultText)) +
            "\r\n";
  }
  return text;
}

}  // namespace zelk
