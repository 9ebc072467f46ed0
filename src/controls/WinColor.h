// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// Colours of the controls' properties are Windows colour values: 0x00BBGGRR with red in the
// lowest byte, or, with 0x80 in the top byte, a reference to a system colour whose index is the
// low byte (0x80000014 button highlight, 0x80000010 button shadow, 0x8000000F button face,
// 0x80000008 window text, 0x80000006 window frame).
namespace dravello {

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

// The plain colour 0x00BBGGRR, the top byte ignored.
QColor PlainColor(WinColor c);

// The colour that `c` shows: a plain colour as it stands, a system colour from the active group
// of `palette` whatever the control's state (button highlight is Light, button shadow Dark,
// button face Button, window text WindowText, and so on). An unknown system index gives the
// window text colour.
QColor ResolveColor(WinColor c, const QPalette& palette);

// The value of `c` on the classic light desktop (Windows' standard scheme: grey button face,
// black text, white fields, navy selection): a plain colour as it stands, a system colour by its
// index. An unknown index gives black, the window text.
QColor ClassicColor(WinColor c);

// A palette of those classic values in every colour group (button face behind windows and
// buttons, button highlight as Light, button shadow as Dark, 3-D dark shadow as Shadow, grey
// text where disabled). A window that carries it shows the system colours its layout names the
// same way under any desktop theme, a dark one included.
QPalette ClassicPalette();

// The Windows colour value of `c` (alpha dropped).
WinColor ToWinColor(const QColor& c);

}  // namespace dravello
