#include "platform/TextEncoding.h"

#include "platform/Utf8.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace zelk {
namespace {

constexpr const char* kGbkCodec = "GB18030";

// Length of the GB18030 character starting at text[pos]: one byte for
// ASCII, four for the lead/digit/lead/digit form, two otherwise.
std::size_t GbkSequenceLength(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x81 || lead == 0xFF) return 1;
  if (pos + 1 >= text.size()) return 1;
  const unsigned char second = byte(1);
  if (second >= 0x30 && second <= 0x39 && pos + 3 < text.size()) return 4;
  return 2;
}

// Runs iconv over the whole input; an invalid or incomplete sequence is
// skipped (one byte at a time) and replaced by `replacement`.
std::string Convert(std::string_view input, const char* from, const char* to,
                    std::string_view replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("text conversion not available: ") + from + " to " + to);
  }
  std::string output;
  output.reserve(input.size() * 3 / 2 + 16);
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    const int error = errno;
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (result != static_cast<std::size_t>(-1)) break;
    if (error == E2BIG) continue;
    // EILSEQ or EINVAL: skip the offending byte.
    output.append(replacement);
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return output;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = WellFormedUtf8Length(bytes, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::string GbkToUtf8(std::string_view gbk) { return Convert(gbk, kGbkCodec, "UTF-8", "\xEF\xBF\xBD"); }

std::string Utf8ToGbk(std::string_view utf8) { return Convert(utf8, "UTF-8", kGbkCodec, "?"); }

std::string ToUtf8(std::string_view text, TextEncoding encoding) {
  return encoding == TextEncoding::Gbk ? GbkToUtf8(text) : std::string(text);
}

std::string FromUtf8(std::string_view utf8, TextEncoding encoding) {
  return encoding == TextEncoding::Gbk ? Utf8ToGbk(utf8) : std::string(utf8);
}

std::size_t CharacterLength(std::string_view text, std::size_t pos, TextEncoding encoding) {
  if (encoding == TextEncoding::Gbk) return GbkSequenceLength(text, pos);
  const std::size_t length = WellFormedUtf8Length(text, pos);
  return length == 0 ? 1 : length;
}

std::string_view CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes,
                                        TextEncoding encoding) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharacterLength(text, end, encoding);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

}  // namespace zelk
