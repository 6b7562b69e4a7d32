#pragma once
#include <string>
#include <string_view>

namespace zelk {

// The code points of a UTF-8 text; each malformed sequence becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view text);

// The UTF-8 form of code points (U+FFFD for a value beyond Unicode or a surrogate).
std::string EncodeUtf8(std::u32string_view characters);

}  // namespace zelk
