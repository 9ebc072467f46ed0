// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace dravello {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const auto back = Utf8ToCp1252(Cp1252ToUtf8(byte));
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, byte) << b;
  }
  EXPECT_EQ(Cp1252ToUtf8("\x80\xBD\xF3"), "\u20AC\u00BD\u00F3");
}

TEST(Cp1252, TextThatIsNotValidUtf8OrHasNoByteIsRefused) {
  const char* const cases[] = {
      "\xFF",      "\xC3",   "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
      "a\xE2\x82", "\u4E94", "\u221A",   "\U0001F600"};
  for (const char* text : cases) {
    EXPECT_FALSE(Utf8ToCp1252(text).has_value()) << text;
  }
}

TEST(Cp1252, LossyConversionReplacesWhatItCannotKeep) {
  EXPECT_EQ(Utf8ToCp1252Lossy("12,5 \u20AC", '?'), "12,5 \x80");
  EXPECT_EQ(Utf8ToCp1252Lossy("5\u4E94", '?'), "5?");
  EXPECT_EQ(Utf8ToCp1252Lossy("\U0001F600x", '?'), "?x");
  EXPECT_EQ(Utf8ToCp1252Lossy("a\xFF\xC3", '?'), "a??");
  EXPECT_EQ(Utf8ToCp1252Lossy("", '?'), "");
}

}  // namespace
}  // namespace dravello
