#include "settings/SettingsFile.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>

#include "filesafety/ReplaceFile.h"
#include "platform/DirectoryLock.h"
#include "platform/PathSeparator.h"
#include "settings/IniDocument.h"

namespace zelk {
namespace {

// A value holds at most this many bytes of the file's encoding.
constexpr std::size_t kMaxValueBytes = 1023;

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

// The value as the program sees it: cut at the first NUL and at 1023 bytes
// (never inside a character), then converted to UTF-8.
std::string DecodeValue(std::string_view raw, TextEncoding encoding) {
  raw = raw.substr(0, raw.find('\0'));
  return ToUtf8(CutAtCharacterBoundary(raw, kMaxValueBytes, encoding), encoding);
}

// Section and key are given as UTF-8 and looked up in the file's encoding.
std::string ReadValue(const IniDocument& document, std::string_view section, std::string_view key) {
  const TextEncoding encoding = document.Encoding();
  const auto raw = document.FindValue(FromUtf8(section, encoding), FromUtf8(key, encoding));
  return raw ? DecodeValue(*raw, document.Encoding()) : std::string();
}

// A decimal 16-bit integer, optionally signed; anything else is no number.
std::optional<int16_t> ParseInt16(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  int16_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Names that would break the line structure of the file are refused.
bool IsUsableName(std::string_view name, std::string_view forbidden) {
  if (name.empty() || name.find_first_of(forbidden) != std::string_view::npos) return false;
  const char first = name.front();
  const char last = name.back();
  return first != ' ' && first != '\t' && last != ' ' && last != '\t' && first != ';' &&
         first != '#';
}

}  // namespace

bool LoadSettings(const std::string& settingsDir, Settings& settings) {
  settings.IniPath = settingsDir + kPathSeparator + kSettingsFileName;
  std::error_code error;
  if (!std::filesystem::is_regular_file(settings.IniPath, error)) return false;
  const auto bytes = ReadWholeFile(settings.IniPath);
  if (!bytes) return false;
  const IniDocument document(*bytes);
  for (const SettingKey& entry : SettingKeys()) {
    const std::string text = ReadValue(document, entry.Section, entry.Key);
    if (entry.IsInteger) {
      *entry.IntField(settings) = ParseInt16(text).value_or(entry.DefaultInt);
    } else {
      *entry.TextField(settings) = text;
    }
  }
  return true;
}

std::string ReadIniString(const std::string& filePath, const std::string& section,
                          const std::string& key) {
  const auto bytes = ReadWholeFile(filePath);
  if (!bytes) return {};
  return ReadValue(IniDocument(*bytes), section, key);
}

bool WriteIniString(const std::string& filePath, const std::string& section,
                    const std::string& key, const std::string& value) {
  if (!IsUsableName(section, std::string_view("]\r\n\0", 4)) ||
      !IsUsableName(key, std::string_view("=[\r\n\0", 5)) || !IsValidUtf8(section) ||
      !IsValidUtf8(key)) {
    return false;
  }
  // The value ends at its first NUL, as a C string would.  A line break
  // cannot be stored on one line, and text that is not UTF-8 would turn a
  // UTF-8 file into one that reads as GBK: both are refused and the file
  // stays as it was.
  const std::string_view text = std::string_view(value).substr(0, value.find('\0'));
  if (text.find_first_of("\r\n") != std::string_view::npos || !IsValidUtf8(text)) return false;

  // A run writes its keys on its worker thread while the window's dialogs
  // may write theirs, and zelk-batch may start at the same moment: each
  // write reads, changes and replaces the whole file, so writers take turns
  // (threads by the mutex, processes by a lock on the settings file's
  // directory) or one of two keys would be lost.
  static std::mutex writers;
  const std::lock_guard<std::mutex> turn(writers);
  const DirectoryLock otherProcesses(std::filesystem::path(filePath).parent_path().string());

  // Only a file that is really absent starts empty; one that cannot be
  // looked at or read is never replaced by a file holding one key.
  std::error_code error;
  const bool exists = std::filesystem::exists(filePath, error);
  if (error) return false;
  std::optional<std::string> bytes = exists ? ReadWholeFile(filePath) : std::string();
  if (!bytes) return false;
  IniDocument document(std::move(*bytes));
  const TextEncoding encoding = document.Encoding();
  document.SetValue(FromUtf8(section, encoding), FromUtf8(key, encoding), FromUtf8(text, encoding));
  return ReplaceFileContents(filePath, document.Serialize(), error);
}

bool WriteSettingKey(const Settings& settings, SettingId key) {
  const SettingKey& entry = SettingKeyOf(key);
  // The field accessors take a mutable record; they are only read here.
  Settings& record = const_cast<Settings&>(settings);
  const std::string value = entry.IsInteger ? std::to_string(*entry.IntField(record))
                                            : *entry.TextField(record);
  return WriteIniString(settings.IniPath, entry.Section, entry.Key, value);
}

}  // namespace zelk
