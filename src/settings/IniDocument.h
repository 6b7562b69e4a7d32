#pragma once
// The lines of an INI file held as the file's own bytes, so that a one-key
// edit can write every other line back exactly as it was read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TextEncoding.h"

namespace zelk {

class IniDocument {
 public:
  // Splits `bytes` into lines; the encoding is UTF-8 when the bytes are
  // valid UTF-8, else GBK.  A UTF-8 byte-order mark is kept as it is.
  explicit IniDocument(std::string bytes);

  TextEncoding Encoding() const { return encoding_; }

  // The raw value of [section] key in the file's encoding, blanks around it
  // removed; nullopt when the section or key is absent.  Only the first
  // section of a name is looked at, and its first line for the key.
  std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;

  // Sets [section] key to `rawValue` (already in the file's encoding):
  // replaces the key's line, or adds the key after the last non-blank line
  // of the section, or adds the section and key at the end.
  void SetValue(std::string_view section, std::string_view key, std::string_view rawValue);

  std::string Serialize() const;

 private:
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n" or "" for a last line without one
  };
  struct KeyLine {
    std::string_view key;
    std::string_view value;
  };

  std::optional<std::string_view> SectionName(const Line& line) const;
  std::optional<KeyLine> ParseKeyLine(const Line& line) const;
  bool SameName(std::string_view a, std::string_view b) const;
  std::optional<std::size_t> FindSection(std::string_view section) const;
  std::size_t SectionEnd(std::size_t header) const;
  std::string DefaultLineEnd() const;
  void InsertLine(std::size_t index, std::string text);

  TextEncoding encoding_;
  std::string bom_;
  std::vector<Line> lines_;
};

}  // namespace zelk
