// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyEvent>
#include <QString>
#include <optional>

// One key press as the window's routing needs it, kept so that it can be routed later when it
// arrives during a flash (the QKeyEvent itself lives only as long as its delivery).
struct KeyInput {
  int key = 0;                      // Qt::Key
  Qt::KeyboardModifiers modifiers;  // as pressed
  QString text;                     // what the key types, as Qt reports it
  bool auto_repeat = false;

  static KeyInput From(const QKeyEvent& event);
  // A copy of the press for delivery to a control (the operations list's navigation keys).
  QKeyEvent ToEvent() const;

  bool Shift() const { return modifiers & Qt::ShiftModifier; }
  bool Control() const { return modifiers & Qt::ControlModifier; }
  bool Alt() const { return modifiers & Qt::AltModifier; }

  // The Windows virtual-key code of the key for the key-down stage: the letters as their
  // upper-case codes, the digits of the main keyboard, Delete 46, Backspace 8, Tab 9, Return
  // and keypad Enter 13, Escape 27, Space 32; 0 for every other key.
  int VirtualKey() const;

  // The character the key types, as a Windows-1252 byte: Ctrl with a letter types its control
  // code (Ctrl+C types 3), Ctrl+Return a line feed (10); Delete types nothing; a character
  // without a Windows-1252 byte types '?'. Nothing when the key types no character.
  std::optional<char> Typed() const;
};
