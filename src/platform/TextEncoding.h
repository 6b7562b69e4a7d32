#pragma once
// Conversions between UTF-8 (the program's own text) and GBK, the code page
// of files carried over from Chinese Windows installations.  GBK is read and
// written as GB18030, its superset, so every character has an encoding.

#include <cstddef>
#include <string>
#include <string_view>

namespace zelk {

enum class TextEncoding { Utf8, Gbk };

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// GBK to UTF-8; a byte sequence that is not GBK becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GBK; a byte sequence that is not UTF-8 becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);

// Converts between UTF-8 and `encoding` in either direction.
std::string ToUtf8(std::string_view text, TextEncoding encoding);
std::string FromUtf8(std::string_view utf8, TextEncoding encoding);

// The length in bytes of the next character of `text` starting at `pos`
// (at least 1, never past the end).
std::size_t CharacterLength(std::string_view text, std::size_t pos, TextEncoding encoding);

// The longest prefix of `text` of at most `maxBytes` bytes that does not
// cut a character in two.
std::string_view CutAtCharacterBoundary(std::string_view text, std::size_t maxBytes,
                                        TextEncoding encoding);

}  // namespace zelk
