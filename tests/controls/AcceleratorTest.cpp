// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accelerator.h"

#include <gtest/gtest.h>

namespace dravello {
namespace {

TEST(Accelerator, SplitsTheCaptionsOfTheKeypad) {
  struct Case {
    const char16_t* caption;
    const char16_t* shown;
    int underline;
    char16_t accelerator;  // 0: none
  };
  const Case cases[] = {
      {u"7", u"7", -1, 0},
      {u"&X\u00B2", u"X\u00B2", 0, u'X'},
      {u"C&Lr", u"CLr", 1, u'L'},
      {u"M(&a)", u"M(a)", 2, u'a'},
      {u"Mem-> &Dis", u"Mem-> Dis", 6, u'D'},
      {u"Minimi&zar", u"Minimizar", 6, u'z'},
      {u"%%", u"%%", -1, 0},
      {u"", u"", -1, 0},
      {u"&&x", u"&x", -1, 0},  // a doubled ampersand marks nothing
      {u"a&&b", u"a&b", -1, 0},
      {u"ab&", u"ab", -1, 0},  // an ampersand at the end marks nothing
      {u"&", u"", -1, 0},
      {u"&a&b", u"ab", 1, u'b'},  // the last marked character counts
      {u"&&&c", u"&c", 1, u'c'},
      {u"&&&&", u"&&", -1, 0},
      {u"&\u00F1o", u"\u00F1o", 0, u'\u00F1'},
      {u"x & y", u"x  y", 2, u' '},
  };
  for (const Case& k : cases) {
    const QString caption = QString::fromUtf16(k.caption);
    const CaptionParts parts = SplitCaption(caption);
    EXPECT_EQ(parts.shown, QString::fromUtf16(k.shown)) << caption.toStdString();
    EXPECT_EQ(parts.underline, k.underline) << caption.toStdString();
    EXPECT_EQ(parts.accelerator, QChar(k.accelerator)) << caption.toStdString();
  }
}

TEST(Accelerator, LettersMatchWithoutRegardToCaseOtherCharactersExactly) {
  struct Case {
    const char16_t* caption;
    char16_t typed;
    bool matches;
  };
  const Case cases[] = {
      {u"M(&a)", u'a', true},         {u"M(&a)", u'A', true},  {u"&X\u00B2", u'x', true},
      {u"&X\u00B2", u'X', true},      {u"M(&a)", u'b', false}, {u"&&a", u'a', false},
      {u"&&a", u'&', false},          {u"7", u'7', false},     {u"&7", u'7', true},
      {u"&\u00F1", u'\u00D1', false},  // only a-z fold
      {u"&\u00F1", u'\u00F1', true},  {u"&a&b", u'a', false},  {u"&a&b", u'B', true},
      {u"ab&", u'\0', false},         {u"", u'\0', false},     {u"&\u00E7", u'\u00C7', false},
  };
  for (const Case& k : cases) {
    const QString caption = QString::fromUtf16(k.caption);
    EXPECT_EQ(MatchesAccelerator(QChar(k.typed), caption), k.matches)
        << caption.toStdString() << " typed " << int(k.typed);
  }
}

}  // namespace
}  // namespace dravello
