#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(Utf8, DecodesEveryLengthAndReplacesMalformedSequences) {
  EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), U"a\u00E9\u4E2D\U0001F600");
  // A cut three-byte sequence, a stray continuation byte, an invalid lead.
  EXPECT_EQ(DecodeUtf8("\xE4\xB8z\x80\xFFy"), U"\uFFFDz\uFFFD\uFFFDy");
  EXPECT_EQ(DecodeUtf8("\xE4"), U"\uFFFD");
}

// The two ways of decoding agree on well-formed text and differ only in
// what an ill-formed sequence turns into.
TEST(Utf8, StrictDecodingReplacesEveryByteThatStartsNoWellFormedSequence) {
  const std::string wellFormed = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
  EXPECT_EQ(DecodeUtf8(wellFormed, Utf8Decoding::Strict), U"aé中😀");
  EXPECT_EQ(DecodeUtf8(wellFormed, Utf8Decoding::Strict), DecodeUtf8(wellFormed));

  // An overlong slash, a surrogate, an invalid lead, a cut sequence.
  const std::string illFormed = "\xC0\xAF|\xED\xA0\x80|\xF8|\xE4\xB8";
  EXPECT_EQ(DecodeUtf8(illFormed, Utf8Decoding::Strict),
            U"\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD|\uFFFD\uFFFD");
  const std::u32string lenient{U'/', U'|', char32_t{0xD800}, U'|', U'\uFFFD', U'|', U'\uFFFD'};
  EXPECT_EQ(DecodeUtf8(illFormed, Utf8Decoding::Lenient), lenient);
  EXPECT_EQ(DecodeUtf8(illFormed), lenient) << "lenient unless asked otherwise";
}

TEST(Utf8, EncodingRoundTripsAndReplacesWhatIsNoCharacter) {
  const std::u32string text = U"a\u00E9\u4E2D\U0001F600\uFF1B";
  EXPECT_EQ(DecodeUtf8(EncodeUtf8(text)), text);
  EXPECT_EQ(EncodeUtf8(std::u32string{char32_t{0xD800}, char32_t{0x110000}}), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace zelk
