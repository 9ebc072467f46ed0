// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyInput.h"

#include "Cp1252.h"

KeyInput KeyInput::From(const QKeyEvent& event) {
  return {event.key(), event.modifiers(), event.text(), event.isAutoRepeat()};
}

QKeyEvent KeyInput::ToEvent() const {
  return QKeyEvent(QEvent::KeyPress, key, modifiers, text, auto_repeat);
}

int KeyInput::VirtualKey() const {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && (modifiers & Qt::KeypadModifier)) return 0;
    return key;  // Qt's codes of letters and digits are their ASCII codes, as Windows'
  }
  switch (key) {
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    default:
      return 0;
  }
}

std::optional<char> KeyInput::Typed() const {
  if (key == Qt::Key_Delete) return std::nullopt;
  if (Control() && !Alt() && key >= Qt::Key_A && key <= Qt::Key_Z) {
    return static_cast<char>(key - Qt::Key_A + 1);
  }
  if (Control() && !Alt() && (key == Qt::Key_Return || key == Qt::Key_Enter)) return '\n';
  if (text.isEmpty()) return std::nullopt;
  const char32_t code_point = text.toUcs4().value(0);
  return dravello::CodePointToCp1252(code_point).value_or('?');
}
