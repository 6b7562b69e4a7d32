#pragma once
#include <string>
#include <string_view>

namespace zelk {

// The code points of a UTF-8 text; each malformed sequence becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view text);

}  // namespace zelk
