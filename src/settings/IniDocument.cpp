#include "settings/IniDocument.h"

#include "platform/AsciiCase.h"

namespace zelk {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

IniDocument::IniDocument(std::string bytes)
    : encoding_(IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gbk) {
  std::string_view rest(bytes);
  if (encoding_ == TextEncoding::Utf8 && rest.starts_with(kUtf8Bom)) {
    bom_ = kUtf8Bom;
    rest.remove_prefix(kUtf8Bom.size());
  }
  while (!rest.empty()) {
    const std::size_t newline = rest.find('\n');
    if (newline == std::string_view::npos) {
      lines_.push_back({std::string(rest), ""});
      break;
    }
    std::string_view text = rest.substr(0, newline);
    std::string end = "\n";
    if (text.ends_with('\r')) {
      text.remove_suffix(1);
      end = "\r\n";
    }
    lines_.push_back({std::string(text), std::move(end)});
    rest.remove_prefix(newline + 1);
  }
}

// Names are compared without regard to ASCII case.  Only the first byte of
// each character is folded, so the trail bytes of a GBK character are never
// mistaken for letters.
bool IniDocument::SameName(std::string_view a, std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t pos = 0; pos < a.size();) {
    const std::size_t length = CharacterLength(a, pos, encoding_);
    if (length == 1) {
      if (AsciiLower(a[pos]) != AsciiLower(b[pos])) return false;
    } else if (a.substr(pos, length) != b.substr(pos, length)) {
      return false;
    }
    pos += length;
  }
  return true;
}

std::optional<std::string_view> IniDocument::SectionName(const Line& line) const {
  std::string_view text = Trim(line.text);
  if (!text.starts_with('[')) return std::nullopt;
  text.remove_prefix(1);
  // The closing bracket must start a character: in GBK it can be a trail byte.
  for (std::size_t pos = 0; pos < text.size(); pos += CharacterLength(text, pos, encoding_)) {
    if (text[pos] == ']') return Trim(text.substr(0, pos));
  }
  return Trim(text);
}

// "key = value"; comment lines start with ';' or '#'.  '=' is never part of
// a multi-byte character in UTF-8 or GBK, so a plain search finds it.
std::optional<IniDocument::KeyLine> IniDocument::ParseKeyLine(const Line& line) const {
  const std::string_view text = Trim(line.text);
  if (text.empty() || text.front() == ';' || text.front() == '#' || text.front() == '[') {
    return std::nullopt;
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  const std::string_view key = Trim(text.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, Trim(text.substr(equals + 1))};
}

std::optional<std::size_t> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (name && SameName(*name, section)) return i;
  }
  return std::nullopt;
}

// One past the last line that belongs to the section whose header is at
// `header`.
std::size_t IniDocument::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && !SectionName(lines_[i])) ++i;
  return i;
}

std::optional<std::string_view> IniDocument::FindValue(std::string_view section,
                                                       std::string_view key) const {
  const auto header = FindSection(section);
  if (!header) return std::nullopt;
  const std::size_t end = SectionEnd(*header);
  for (std::size_t i = *header + 1; i < end; ++i) {
    const auto parsed = ParseKeyLine(lines_[i]);
    if (parsed && SameName(parsed->key, key)) return parsed->value;
  }
  return std::nullopt;
}

// New lines end like the file's first line does; a file without any line
// end gets CR LF.
std::string IniDocument::DefaultLineEnd() const {
  for (const Line& line : lines_) {
    if (!line.end.empty()) return line.end;
  }
  return "\r\n";
}

// Inserts a line before `index`; the line before it gets a line end first
// when it had none (the last line of a file not ended by a newline).
void IniDocument::InsertLine(std::size_t index, std::string text) {
  const std::string end = DefaultLineEnd();
  if (index > 0 && lines_[index - 1].end.empty()) lines_[index - 1].end = end;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), Line{std::move(text), end});
}

void IniDocument::SetValue(std::string_view section, std::string_view key,
                           std::string_view rawValue) {
  const auto header = FindSection(section);
  if (!header) {
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::string(key) + "=" + std::string(rawValue));
    return;
  }
  const std::size_t end = SectionEnd(*header);
  std::size_t lastFilled = *header;
  for (std::size_t i = *header + 1; i < end; ++i) {
    const auto parsed = ParseKeyLine(lines_[i]);
    if (parsed && SameName(parsed->key, key)) {
      // The key keeps the spelling the file gives it.
      lines_[i].text = std::string(parsed->key) + "=" + std::string(rawValue);
      return;
    }
    if (!Trim(lines_[i].text).empty()) lastFilled = i;
  }
  InsertLine(lastFilled + 1, std::string(key) + "=" + std::string(rawValue));
}

std::string IniDocument::Serialize() const {
  std::string bytes = bom_;
  for (const Line& line : lines_) {
    bytes += line.text;
    bytes += line.end;
  }
  return bytes;
}

}  // namespace zelk
