// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtColor.h"

#include <iterator>

namespace dravello {

QColor ToQColor(WinColor c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QColor ResolveColor(WinColor c, const QPalette& widget_palette) {
  if (!IsSystemColor(c)) return ToQColor(c);
  // System colours do not depend on the state of the control that shows them: a disabled
  // control, or one in an inactive window, shows the same colours.
  QPalette palette = widget_palette;
  palette.setCurrentColorGroup(QPalette::Active);
  switch (c & 0xFF) {
    case 0x00:  // scroll bar
    case 0x0C:  // application workspace
      return palette.color(QPalette::Mid);
    case 0x01:  // desktop
    case 0x04:  // menu
    case 0x0A:  // active border
    case 0x0B:  // inactive border
      return palette.color(QPalette::Window);
    case 0x02:  // active caption
    case 0x0D:  // highlight
      return palette.color(QPalette::Highlight);
    case 0x03:  // inactive caption
      return palette.color(QPalette::Inactive, QPalette::Highlight);
    case 0x05:  // window (the background of edits and lists)
      return palette.color(QPalette::Base);
    case 0x09:  // caption text
    case 0x0E:  // highlight text
      return palette.color(QPalette::HighlightedText);
    case 0x0F:  // button face
      return palette.color(QPalette::Button);
    case 0x10:  // button shadow
      return palette.color(QPalette::Dark);
    case 0x11:  // grey text
      return palette.color(QPalette::Disabled, QPalette::Text);
    case 0x12:  // button text
      return palette.color(QPalette::ButtonText);
    case 0x14:  // button highlight
      return palette.color(QPalette::Light);
    case 0x15:  // 3-D dark shadow
      return palette.color(QPalette::Shadow);
    case 0x16:  // 3-D light
      return palette.color(QPalette::Midlight);
    case 0x17:  // tooltip text
      return palette.color(QPalette::ToolTipText);
    case 0x18:  // tooltip background
      return palette.color(QPalette::ToolTipBase);
    default:  // window frame, window text, menu text and the rest
      return palette.color(QPalette::WindowText);
  }
}

QColor ClassicColor(WinColor c) {
  if (!IsSystemColor(c)) return ToQColor(c);
  // 0x00BBGGRR values of the system colours by index.
  static constexpr WinColor kClassic[] = {
      0xC0C0C0,  // 0x00 scroll bar
      0x808000,  // 0x01 desktop
      0x800000,  // 0x02 active caption
      0x808080,  // 0x03 inactive caption
      0xC0C0C0,  // 0x04 menu
      0xFFFFFF,  // 0x05 window
      0x000000,  // 0x06 window frame
      0x000000,  // 0x07 menu text
      0x000000,  // 0x08 window text
      0xFFFFFF,  // 0x09 caption text
      0xC0C0C0,  // 0x0A active border
      0xC0C0C0,  // 0x0B inactive border
      0x808080,  // 0x0C application workspace
      0x800000,  // 0x0D highlight
      0xFFFFFF,  // 0x0E highlight text
      0xC0C0C0,  // 0x0F button face
      0x808080,  // 0x10 button shadow
      0x808080,  // 0x11 grey text
      0x000000,  // 0x12 button text
      0xC0C0C0,  // 0x13 inactive caption text
      0xFFFFFF,  // 0x14 button highlight
      0x000000,  // 0x15 3-D dark shadow
      0xC0C0C0,  // 0x16 3-D light
      0x000000,  // 0x17 tooltip text
      0xE1FFFF,  // 0x18 tooltip background
  };
  const WinColor index = c & 0xFF;
  if (index < std::size(kClassic)) return ToQColor(kClassic[index]);
  return ToQColor(0x000000);
}

QPalette ClassicPalette() {
  const auto sys = [](WinColor index) { return ClassicColor(0x80000000 | index); };
  QPalette palette;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    const bool disabled = group == QPalette::Disabled;
    const QColor text = disabled ? sys(0x11) : sys(0x08);
    palette.setColor(group, QPalette::Window, sys(0x0F));
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Base, disabled ? sys(0x0F) : sys(0x05));
    palette.setColor(group, QPalette::AlternateBase, sys(0x05));
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::PlaceholderText, sys(0x11));
    palette.setColor(group, QPalette::Button, sys(0x0F));
    palette.setColor(group, QPalette::ButtonText, disabled ? sys(0x11) : sys(0x12));
    palette.setColor(group, QPalette::BrightText, sys(0x14));
    palette.setColor(group, QPalette::Light, sys(0x14));
    palette.setColor(group, QPalette::Midlight, sys(0x16));
    palette.setColor(group, QPalette::Dark, sys(0x10));
    palette.setColor(group, QPalette::Mid, sys(0x10));
    palette.setColor(group, QPalette::Shadow, sys(0x15));
    palette.setColor(group, QPalette::Highlight, disabled ? sys(0x10) : sys(0x0D));
    palette.setColor(group, QPalette::HighlightedText, sys(0x0E));
    palette.setColor(group, QPalette::ToolTipBase, sys(0x18));
    palette.setColor(group, QPalette::ToolTipText, sys(0x17));
    palette.setColor(group, QPalette::Link, ToQColor(0xFF0000));
    palette.setColor(group, QPalette::LinkVisited, ToQColor(0x800080));
  }
  return palette;
}

WinColor ToWinColor(const QColor& c) {
  const QColor rgb = c.toRgb();
  return static_cast<WinColor>(rgb.red()) | static_cast<WinColor>(rgb.green()) << 8 |
         static_cast<WinColor>(rgb.blue()) << 16;
}

}  // namespace dravello
