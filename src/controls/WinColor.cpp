#include "WinColor.h"

namespace dravello {

QColor PlainColor(WinColor c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QColor ResolveColor(WinColor c, const QPalette& widget_palette) {
  if (!IsSystemColor(c)) return PlainColor(c);
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

WinColor ToWinColor(const QColor& c) {
  const QColor rgb = c.toRgb();
  return static_cast<WinColor>(rgb.red()) | static_cast<WinColor>(rgb.green()) << 8 |
         static_cast<WinColor>(rgb.blue()) << 16;
}

}  // namespace dravello
