// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace dravello {

// A colour as the window layouts and the calculator give it: a Windows colour value 0x00BBGGRR,
// red in the lowest byte, or, with 0x80 in the top byte, a reference to a system colour whose
// index is the low byte (0x80000014 button highlight, 0x80000010 button shadow, 0x8000000F button
// face, 0x80000008 window text, 0x80000006 window frame). QtColor.h (src/controls) turns it into
// the colour Qt paints.
using WinColor = std::uint32_t;

inline constexpr WinColor kSysBtnFace = 0x8000000F;
inline constexpr WinColor kSysWindowText = 0x80000008;
inline constexpr WinColor kSysWindowFrame = 0x80000006;
inline constexpr WinColor kSysBtnShadow = 0x80000010;
inline constexpr WinColor kSysBtnHighlight = 0x80000014;
inline constexpr WinColor kSys3DDkShadow = 0x80000015;
inline constexpr WinColor kSys3DLight = 0x80000016;

inline constexpr bool IsSystemColor(WinColor c) {
  return (c >> 24) == 0x80;
}

}  // namespace dravello
