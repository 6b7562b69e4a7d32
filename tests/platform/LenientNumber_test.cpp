#include "platform/LenientNumber.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelk {
namespace {

TEST(LenientNumberTest, LeadingNumberOfTypedText) {
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("  1 2 3x4"), 123);  // blanks anywhere are ignored
  EXPECT_EQ(LeadingNumber("\t-4.5kg"), -4.5);
  EXPECT_EQ(LeadingNumber("+.5"), 0.5);
  EXPECT_EQ(LeadingNumber("7."), 7);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("2E-1x"), 0.2);
  EXPECT_EQ(LeadingNumber("5e"), 5);    // no digits after the letter: no exponent
  EXPECT_EQ(LeadingNumber("5e+"), 5);
  EXPECT_EQ(LeadingNumber("1,5"), 1);   // only "." is a decimal point
  EXPECT_EQ(LeadingNumber("１２"), 0);  // full-width digits are not digits
}

TEST(LenientNumberTest, MagnitudesBeyondDouble) {
  EXPECT_TRUE(std::isinf(LeadingNumber("1e400")));
  EXPECT_LT(LeadingNumber("-1e99999999999999999999"), 0);
  EXPECT_TRUE(std::isinf(LeadingNumber("-1e99999999999999999999")));
  EXPECT_EQ(LeadingNumber("1e-400"), 0);
  EXPECT_EQ(LeadingNumber("0.0001e-99999999999"), 0);
  EXPECT_EQ(LeadingNumber("0e99999"), 0);
}

TEST(LenientNumberTest, RoundsHalfToEvenWithin16Bits) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(-3.5), -4);
  EXPECT_EQ(RoundToInt16(2.4999), 2);
  EXPECT_EQ(RoundToInt16(-0.4), 0);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);  // 32768
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);       // the even neighbour fits
  EXPECT_EQ(RoundToInt16(-32769), std::nullopt);
  EXPECT_EQ(RoundToInt16(INFINITY), std::nullopt);
  EXPECT_EQ(RoundToInt16(NAN), std::nullopt);
  EXPECT_EQ(LeadingInt16("12abc"), 12);
  EXPECT_EQ(LeadingInt16("40000"), std::nullopt);
}

}  // namespace
}  // namespace zelk
