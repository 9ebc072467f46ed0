// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

#include "WinColor.h"

// The colours that Windows colour values (WinColor.h) show in Qt.
namespace dravello {

// The plain colour 0x00BBGGRR, the top byte ignored.
QColor ToQColor(WinColor c);

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
