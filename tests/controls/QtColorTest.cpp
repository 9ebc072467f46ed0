// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtColor.h"

#include <gtest/gtest.h>

namespace dravello {
namespace {

TEST(ToQColor, ColourBytesAreBlueGreenRed) {
  EXPECT_EQ(ToQColor(0x58BEEF), QColor(0xEF, 0xBE, 0x58));
  EXPECT_EQ(ToQColor(0x80000014), QColor(0x14, 0x00, 0x00));  // the top byte ignored
}

}  // namespace
}  // namespace dravello
