#pragma once
// Reading and writing ZELK.conf.
//
// The file is an INI file with profile-API semantics: one key is written at
// a time, its line replaced in place or the key (and its section) added;
// every other line and the line endings stay as they were; sections and keys
// match without regard to case; a value reads back as at most 1023 bytes.
// The file's encoding is kept: UTF-8, or GBK when its bytes are not valid
// UTF-8 (a file carried over from a Windows installation).

#include <string>

#include "platform/ProgramPlaces.h"  // kSettingsFileName
#include "settings/SettingKeys.h"
#include "settings/Settings.h"

namespace zelk {

// Reads every key of <settingsDir>/ZELK.conf into `settings` and remembers the
// path in settings.IniPath.  Returns false when the file does not exist or
// cannot be read.
// An integer that is missing, empty, not a number or outside 16 bits reads
// as the key's shipped default.
bool LoadSettings(const std::string& settingsDir, Settings& settings);

// The value of [section] key as UTF-8, at most 1023 bytes of the file's
// encoding, cut at the first NUL; empty when the section or key is absent.
std::string ReadIniString(const std::string& filePath, const std::string& section,
                          const std::string& key);

// Writes one key (value given as UTF-8; it ends at its first NUL).  The file
// is created when missing and replaced whole, never left half-written; other
// processes' writes of the same file wait for it (a lock on its directory).
// Returns false on failure, and refuses (leaving the file as it was) a value
// holding a line break or bytes that are not UTF-8.  Callers that follow the
// program's rules ignore the result.
bool WriteIniString(const std::string& filePath, const std::string& section,
                    const std::string& key, const std::string& value);

// Writes the record's current value of `key` to settings.IniPath.
// Integers are written as plain decimal digits with no leading blank.
// Returns false for a failed write; callers that follow the program's
// rules ignore the result.
bool WriteSettingKey(const Settings& settings, SettingId key);

// The full text of a settings file holding every key with its shipped
// default (UTF-8, CR LF line ends).
std::string DefaultSettingsFileText();

}  // namespace zelk
