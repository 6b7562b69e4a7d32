#include "platform/Utf16.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(Utf16, SupplementaryCharactersBecomeSurrogatePairs) {
  EXPECT_EQ(Utf16Units(U'A'), u"A");
  EXPECT_EQ(Utf16Units(U'\uFFFF'), u"\uFFFF");
  EXPECT_EQ(Utf16Units(U'\U00020BB7'), (std::u16string{char16_t{0xD842}, char16_t{0xDFB7}}));
  EXPECT_EQ(Utf16Units(U'\U0010FFFF'), (std::u16string{char16_t{0xDBFF}, char16_t{0xDFFF}}));
  EXPECT_EQ(Utf16Units(0x110000), u"\uFFFD");
  EXPECT_EQ(Utf16Units(0xDC00), u"\uFFFD");
}

}  // namespace
}  // namespace zelk
