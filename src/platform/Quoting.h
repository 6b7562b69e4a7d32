#pragma once
// How messages set off a name or value the user gave: in Chinese quotation
// marks, so that blanks and punctuation at its ends stay visible.

#include <string>
#include <string_view>

namespace zelk {

// `text` between “ and ”.
std::string Quoted(std::string_view text);

}  // namespace zelk
