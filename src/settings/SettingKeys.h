#pragma once
// Handles for the sections and keys of ZELK.conf, and the key table they
// refer to.  Callers name a key by its handle, e.g. SettingId::Common_ImageSrcDir,
// so a misspelt key fails to build instead of being ignored at run time.
// Handles and table rows are generated from the one list in SettingKeyList.h.

#include <cstdint>
#include <span>
#include <string>

#include "settings/SettingKeyList.h"
#include "settings/Settings.h"

namespace zelk {

// A section of the file; named as the section's member of Settings.
enum class SettingSection : uint8_t {
#define ZELK_SECTION_ID(id, name) id,
  ZELK_SETTING_SECTIONS(ZELK_SECTION_ID)
#undef ZELK_SECTION_ID
};

// A key of the file: <section member>_<key>.
enum class SettingId : uint8_t {
#define ZELK_KEY_ID(section, key, type, value) section##_##key,
  ZELK_SETTING_KEYS(ZELK_KEY_ID)
#undef ZELK_KEY_ID
};

// One row of the table: the key's handle, where it lives in the file, its
// type, the shipped default and the record field that holds it.
struct SettingKey {
  SettingId Id;
  SettingSection SectionId;
  const char* Section;  // the section's name in the file
  const char* Key;      // the key's name in the file
  bool IsInteger;
  int16_t DefaultInt;       // integer keys
  const char* DefaultText;  // text keys
  int16_t* (*IntField)(Settings&);
  std::string* (*TextField)(Settings&);
};

// Every row, in the order of the shipped file (the order LoadSettings reads
// the keys in).
std::span<const SettingKey> SettingKeys();
// The row of `id`.
const SettingKey& SettingKeyOf(SettingId id);
// The rows of `section`, in file order.
std::span<const SettingKey> SettingKeysOf(SettingSection section);

}  // namespace zelk
