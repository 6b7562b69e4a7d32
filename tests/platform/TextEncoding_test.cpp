#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(TextEncodingTest, Utf8ValidityFollowsTheStrictDefinition) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("\xE6\x95\xB0\xF0\xA0\x80\x80"));  // BMP and supplementary
  EXPECT_FALSE(IsValidUtf8("\xC0\x80")) << "overlong NUL";
  EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF")) << "overlong slash";
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")) << "surrogate";
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")) << "above U+10FFFF";
  EXPECT_FALSE(IsValidUtf8("\xE6\x95")) << "cut short";
  // Typical GBK text is not UTF-8, which is how a carried-over file is told apart.
  EXPECT_FALSE(IsValidUtf8("/\xCA\xFD\xBE\xDD/\xC9\xA8\xC3\xE8"));
}

TEST(TextEncodingTest, GbkConvertsBothWaysAndDamagedBytesDoNotStopIt) {
  EXPECT_EQ(GbkToUtf8("a\xCA\xFD\xBE\xDD"), "a\xE6\x95\xB0\xE6\x8D\xAE");
  EXPECT_EQ(Utf8ToGbk("a\xE6\x95\xB0\xE6\x8D\xAE"), "a\xCA\xFD\xBE\xDD");
  // Characters outside GBK proper still have a four-byte encoding.
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk("\xF0\xA0\x80\x80")), "\xF0\xA0\x80\x80");
  EXPECT_EQ(GbkToUtf8("x\xFFy"), "x\xEF\xBF\xBDy");
  EXPECT_EQ(GbkToUtf8("x\xCA"), "x\xEF\xBF\xBD") << "lead byte at the end";
  EXPECT_EQ(Utf8ToGbk("x\xFFy"), "x?y");
}

TEST(TextEncodingTest, CutsNeverSplitACharacter) {
  const std::string utf8 = "ab\xE6\x95\xB0";
  EXPECT_EQ(CutAtCharacterBoundary(utf8, 4, TextEncoding::Utf8), "ab");
  EXPECT_EQ(CutAtCharacterBoundary(utf8, 5, TextEncoding::Utf8), utf8);
  const std::string gbk = "a\xCA\xFD\x95\x32\x82\x36";  // two-byte, then four-byte
  EXPECT_EQ(CutAtCharacterBoundary(gbk, 2, TextEncoding::Gbk), "a");
  EXPECT_EQ(CutAtCharacterBoundary(gbk, 6, TextEncoding::Gbk), "a\xCA\xFD");
  EXPECT_EQ(CutAtCharacterBoundary(gbk, 7, TextEncoding::Gbk), gbk);
}

}  // namespace
}  // namespace zelk
