// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyTable.h"

#include <array>
#include <string>

namespace dravello {
namespace {

using H = ClickHandler;

constexpr std::array<KeyButton, 36> kButtons = {{
    // The keypad.
    {"HighButton1", "7", H::kButton7, "Button7Click", '7', 0, "7", "7"},
    {"HighButton2", "8", H::kButton7, "Button7Click", '8', 0, "8", "8"},
    {"HighButton3", "9", H::kButton7, "Button7Click", '9', 0, "9", "9"},
    {"HighButton4", "4", H::kButton7, "Button7Click", '4', 0, "4", "4"},
    {"HighButton5", "5", H::kButton7, "Button7Click", '5', 0, "5", "5"},
    {"HighButton6", "6", H::kButton7, "Button7Click", '6', 0, "6", "6"},
    {"HighButton7", "1", H::kButton7, "Button7Click", '1', 0, "1", "1"},
    {"HighButton8", "2", H::kButton7, "Button7Click", '2', 0, "2", "2"},
    {"HighButton9", "3", H::kButton7, "Button7Click", '3', 0, "3", "3"},
    {"HighButton10", "0", H::kButton7, "Button7Click", '0', 0, "0", "0"},
    {"HighButton11", ",", H::kButton7, "Button7Click", ',', 0, ",.", ", ."},
    {"HighButton12", "+", H::kButton7, "Button7Click", '+', 0, "+", "+"},
    {"HighButton13", "*", H::kButton7, "Button7Click", '*', 0, "*", "*"},
    {"HighButton14", "/", H::kButton7, "Button7Click", '/', 0, "/", "/"},
    {"HighButton15", "-", H::kButton7, "Button7Click", '-', 0, "-", "-"},
    {"HighButton16", "&X\xB2", H::kButton7, "Button7Click", 'X', 'X', "", "X"},
    {"HighButton17", "%", H::kButton7, "Button7Click", '%', 0, "%", "%"},
    {"HighButton18", "\xBD", H::kFixed, "Button22Click", '\xBD', 0, "", ""},
    {"HighButton19", "%%", H::kFixed, "Button23Click", '$', 0, "", "$"},
    {"HighButton20", "&Raiz", H::kButton7, "Button7Click", 'R', 'R', "", "R"},
    {"HighButton21", "&Sig\xB1", H::kButton7, "Button7Click", 'S', 'S', "", "S"},
    // The function pad.
    {"HighButton22", "C&Lr", H::kFixed, "Button34Click", 'L', 'L', "", "L"},
    {"HighButton23", "&Mem +", H::kFixed, "Button24Click", 'T', 'M', "", "M"},
    {"HighButton24", "M(&a)", H::kButton28, "Button28Click", 'A', 'A', "", "A"},
    {"HighButton25", "rs&t", H::kFixed, "Button27Click", 'E', 'T', "", "T"},
    {"HighButton26", "(a)->", H::kButton28, "Button28Click", 'O', 0, "", "O"},
    {"HighButton27", "M&em -", H::kFixed, "Button25Click", 'U', 'E', "", "E U"},
    {"HighButton28", "Mem-> &Dis", H::kFixed, "Button26Click", 'V', 'D', "", "D"},
    {"HighButton29", "M(&b)", H::kButton28, "Button28Click", 'B', 'B', "", "B"},
    {"HighButton30", "M(&c)", H::kButton28, "Button28Click", 'C', 'C', "", "C"},
    {"HighButton31", "(b)->", H::kButton28, "Button28Click", 'P', 0, "", "P"},
    {"HighButton32", "(c)->", H::kButton28, "Button28Click", 'Q', 0, "", "Q"},
    {"HighButton33", "Ejecutar <--- (=)", H::kButton17, "Button17Click", '=', 0, "=", "Return ="},
    {"HighButton42", "Del", H::kFixed, "Button21Click", '\b', kVkDelete, "", "Del Backspace"},
    // The window buttons.
    {"HighButtonVisi", "&Visible", H::kWindow, "HighButtonVisiClick", 0, 'V', "", "V"},
    {"HighButton34", "Minimi&zar", H::kWindow, "HighButton34Click", 0, 'Z', "", "Z"},
}};

constexpr std::array<WindowKey, 14> kWindowKeys = {{
    {"Ctrl+C", "BitBtn1"},
    {"Ctrl+V", "BitBtn2"},
    {"Shift+Ins", "BitBtn2"},
    {"Ctrl+P", "BitBtn3"},
    {"Ctrl+0", "SpeedButton0"},
    {"Ctrl+1", "SpeedButton1"},
    {"Ctrl+2", "SpeedButton2"},
    {"Ctrl+3", "SpeedButton3"},
    {"Ctrl+4", "SpeedButton4"},
    {"Ctrl+5", "SpeedButton5"},
    {"Ctrl+6", "SpeedButton6"},
    {"Ctrl+,", "SpeedButton9"},
    {"F9", "GradBtn2"},        // the operations section
    {"Shift+F9", "GradBtn1"},  // the equivalences panel
}};

}  // namespace

std::span<const KeyButton> KeyButtons() {
  return kButtons;
}

std::span<const WindowKey> WindowKeys() {
  return kWindowKeys;
}

std::string KeyLabel(std::string_view keys) {
  static constexpr std::pair<std::string_view, std::string_view> kSpanish[] = {
      {"Shift", "May\xFAs"}, {"Ins", "Insert"},          {"Del", "Supr"},
      {"Return", "Intro"},   {"Backspace", "Retroceso"},
  };
  // Names are separated by '+'; a '+' where a name starts is the plus key itself.
  std::string label;
  std::size_t begin = 0;
  while (begin < keys.size()) {
    std::size_t end = keys.find('+', begin + 1);
    if (end == std::string_view::npos) end = keys.size();
    std::string_view name = keys.substr(begin, end - begin);
    for (const auto& [portable, spanish] : kSpanish) {
      if (name == portable) name = spanish;
    }
    label.append(name);
    if (end < keys.size()) label.push_back('+');
    begin = end + 1;
  }
  return label;
}

std::string KeysLine(std::string_view keys) {
  std::string labels;
  int count = 0;
  std::size_t begin = 0;
  while (begin < keys.size()) {
    std::size_t end = keys.find(' ', begin);
    if (end == std::string_view::npos) end = keys.size();
    if (end > begin) {
      if (count++ > 0) labels.append(", ");
      labels.append(KeyLabel(keys.substr(begin, end - begin)));
    }
    begin = end + 1;
  }
  if (count == 0) return {};
  return (count == 1 ? "Tecla: " : "Teclas: ") + labels;
}

const KeyButton* FindKeyButton(std::string_view name) {
  for (const KeyButton& b : kButtons) {
    if (b.name == name) return &b;
  }
  return nullptr;
}

const KeyButton* KeyDownFlash(int vk) {
  const int low = vk & 0xFF;
  if (low == 0) return nullptr;
  for (const KeyButton& b : kButtons) {
    if (b.key_down == low) return &b;
  }
  return nullptr;
}

const KeyButton* TypedFlash(char ch) {
  const char upper = UpperAscii(ch);
  if (upper == '\0') return nullptr;
  for (const KeyButton& b : kButtons) {
    if (b.typed.find(upper) != std::string_view::npos) return &b;
  }
  return nullptr;
}

char AcceleratorOf(std::string_view caption) {
  char accel = 0;
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    ++i;  // the marked character, or the second '&' of a literal ampersand
    if (caption[i] != '&') accel = caption[i];
  }
  return accel;
}

bool MatchesAccelerator(char ch, char accel) {
  return accel != 0 && UpperAscii(ch) == UpperAscii(accel);
}

char UpperAscii(char ch) {
  return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch;
}

char CommandOfButton7(std::string_view caption) {
  if (caption.empty()) return 0;
  char ch = caption[0];
  if (ch == '&') ch = caption.size() > 1 ? caption[1] : 0;
  return UpperAscii(ch);
}

char CommandOfButton28(std::string_view caption) {
  static constexpr std::pair<std::string_view, char> kCaptions[] = {
      {"M(&a)", 'A'}, {"M(&b)", 'B'}, {"M(&c)", 'C'},
      {"(a)->", 'O'}, {"(b)->", 'P'}, {"(c)->", 'Q'},
  };
  for (const auto& [text, command] : kCaptions) {
    if (caption == text) return command;
  }
  return 0;
}

}  // namespace dravello
