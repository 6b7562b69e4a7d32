#pragma once
// The program's UTF-8 codec: sequence checks, decoding to code points and
// encoding code points.

#include <cstddef>
#include <string>
#include <string_view>

namespace zelk {

// How DecodeUtf8 treats bytes that are not well-formed UTF-8.
enum class Utf8Decoding {
  // The lead byte alone gives the sequence length, so overlong forms,
  // surrogates and values up to 0x1FFFFF decode as written.  A sequence cut
  // short becomes one U+FFFD and decoding resumes at the byte that broke
  // it; a stray continuation byte or a lead byte of 0xF8 and above becomes
  // U+FFFD.
  Lenient,
  // Only well-formed sequences decode (no overlong form, no surrogate,
  // nothing beyond U+10FFFF); every byte that does not start one becomes a
  // U+FFFD of its own.
  Strict,
};

// Length (1 to 4) of the well-formed UTF-8 sequence starting at text[pos],
// or 0 when none starts there.
std::size_t WellFormedUtf8Length(std::string_view text, std::size_t pos);

// The code points of a UTF-8 text; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(std::string_view text, Utf8Decoding decoding = Utf8Decoding::Lenient);

// Appends the UTF-8 form of one code point (U+FFFD for a value beyond
// Unicode or a surrogate).
void AppendUtf8(std::string& out, char32_t c);

// The UTF-8 form of code points, each as AppendUtf8 writes it.
std::string EncodeUtf8(std::u32string_view characters);

}  // namespace zelk
