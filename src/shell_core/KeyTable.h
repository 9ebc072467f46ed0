// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace dravello {

// Windows virtual-key codes that the key-down stage looks at: the letters are their upper-case
// character codes, Delete is 46.
inline constexpr int kVkDelete = 46;

// One highlight button of the main window and every way the keyboard reaches it: the window's
// flash tables, accelerator buttons and tooltips are read from this one table. What a click
// does is the layout's: its connection to a click handler and its caption.
struct KeyButton {
  std::string_view name;   // the control's name in the window layout
  int key_down;            // virtual-key code whose key-down flashes it for 100 ms, or 0
  std::string_view typed;  // typed characters (upper-cased) that flash it for 100 ms
  // The keys that give its command (or its click) with the focus on a button, in Qt's
  // portable notation, separated by blanks ("Return =", "E U"); shown in its tooltip.
  std::string_view keys;
};

// All 36 highlight buttons, the 34 command buttons first.
std::span<const KeyButton> KeyButtons();

// The button named `name`, or nullptr.
const KeyButton* FindKeyButton(std::string_view name);

// The button whose key-down the virtual-key code `vk` flashes for 100 ms (only its low byte
// counts), or nullptr. Delete finds "Del", whose key-down also hands backspace to the engine.
const KeyButton* KeyDownFlash(int vk);

// The button that the typed character `ch` flashes in the character stage (after
// upper-casing), or nullptr.
const KeyButton* TypedFlash(char ch);

// The accelerator character of a caption: the character after a single '&'; "&&" is a literal
// ampersand and a final '&' marks nothing; when several are marked the last counts. 0 if none.
char AcceleratorOf(std::string_view caption);

// True when the typed character `ch` is the accelerator `accel` (letters a to z compared
// without regard to case, anything else exactly).
bool MatchesAccelerator(char ch, char accel);

// 'a' to 'z' become 'A' to 'Z'; every other byte is unchanged.
char UpperAscii(char ch);

// The command of Button7Click: the caption's first character, or its second when the first is
// '&', upper-cased. 0 for an empty caption.
char CommandOfButton7(std::string_view caption);

// What a key of the window does: click its button (or open its menu), or open the user's manual.
enum class WindowAction { kClick, kManual };

// A key of the window that clicks a button no letter reaches (the clipboard and print
// buttons, the currency buttons, "Configurar", the two collapse buttons and the door), opens the
// rate panel's menu (PanelEqui), or opens the user's manual (F1, which no control stands for).
// The window takes these keys before the key-down stage, wherever the focus is, so they light
// no keypad button and type nothing.
struct WindowKey {
  std::string_view keys;    // Qt's portable notation: "Ctrl+C", "Shift+Ins", "F9"
  std::string_view button;  // the control that the key clicks (or whose menu it opens); empty
                            // for the manual
  WindowAction action = WindowAction::kClick;
};

std::span<const WindowKey> WindowKeys();

// A key of the window that works on the journal of the session through the operations list:
// undo, redo, correcting the selected line. Taken, like the window keys, before the key-down
// stage, wherever the focus is.
struct ListKey {
  std::string_view keys;    // Qt's portable notation
  std::string_view action;  // "Deshacer", "Rehacer", "Corregir"
};

std::span<const ListKey> ListKeys();

// The Spanish label of keys in Qt's portable notation, as on Spanish keyboards: "Shift+Ins"
// gives "Mayús+Insert", "Return" "Intro", "Del" "Supr", "Backspace" "Retroceso".
std::string KeyLabel(std::string_view keys);

// The line that a button's tooltip adds after its hint: "Tecla: M", "Teclas: Intro, =" for the
// keys (blank-separated, portable notation); empty for none.
std::string KeysLine(std::string_view keys);

// The command of Button28Click: "M(&a)" 'A', "M(&b)" 'B', "M(&c)" 'C', "(a)->" 'O',
// "(b)->" 'P', "(c)->" 'Q'; 0 for any other caption.
char CommandOfButton28(std::string_view caption);

}  // namespace dravello
