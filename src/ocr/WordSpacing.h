#pragma once
// Whether a blank separates two neighbouring words of a recognised line.
//
// Latin words are separated by blanks; Chinese is written without them, so
// no blank goes between two words that meet at Chinese characters, however
// the recogniser split the run, nor between Chinese and a punctuation mark.
// Where Chinese meets a Latin letter or digit the gap on the page decides: a
// blank only when the words stand clearly apart.

#include <string_view>

namespace zelk {

// Characters written without blanks between them: CJK ideographs, kana,
// CJK punctuation and the fullwidth forms.
bool IsCjkCharacter(char32_t c);

// left and right are UTF-8 words; gap is the horizontal distance between
// their boxes and lineHeight the height of their line, in pixels.
bool BlankBetweenWords(std::string_view left, std::string_view right, int gap, int lineHeight);

}  // namespace zelk
