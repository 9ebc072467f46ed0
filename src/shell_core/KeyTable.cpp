// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyTable.h"

#include <array>
#include <string>

namespace dravello {
namespace {

constexpr std::array<KeyButton, 36> kButtons = {{
    // The keypad.
    {"HighButton1", 0, "7", "7"},
    {"HighButton2", 0, "8", "8"},
    {"HighButton3", 0, "9", "9"},
    {"HighButton4", 0, "4", "4"},
    {"HighButton5", 0, "5", "5"},
    {"HighButton6", 0, "6", "6"},
    {"HighButton7", 0, "1", "1"},
    {"HighButton8", 0, "2", "2"},
    {"HighButton9", 0, "3", "3"},
    {"HighButton10", 0, "0", "0"},
    {"HighButton11", 0, ",.", ", ."},
    {"HighButton12", 0, "+", "+"},
    {"HighButton13", 0, "*", "*"},
    {"HighButton14", 0, "/", "/"},
    {"HighButton15", 0, "-", "-"},
    {"HighButton16", 'X', "", "X"},
    {"HighButton17", 0, "%", "%"},
    {"HighButton18", 0, "", ""},  // halving: no key of its own
    {"HighButton19", 0, "", "$"},
    {"HighButton20", 'R', "", "R"},
    {"HighButton21", 'S', "", "S"},
    // The function pad.
    {"HighButton22", 'L', "", "L"},
    {"HighButton23", 'M', "", "M"},
    {"HighButton24", 'A', "", "A"},
    {"HighButton25", 'T', "", "T"},
    {"HighButton26", 0, "", "O"},
    {"HighButton27", 'E', "", "E U"},
    {"HighButton28", 'D', "", "D"},
    {"HighButton29", 'B', "", "B"},
    {"HighButton30", 'C', "", "C"},
    {"HighButton31", 0, "", "P"},
    {"HighButton32", 0, "", "Q"},
    {"HighButton33", 0, "=", "Return ="},
    {"HighButton42", kVkDelete, "", "Del Backspace"},
    // The window buttons.
    {"HighButtonVisi", 'V', "", "V"},
    {"HighButton34", 'Z', "", "Z"},
}};

constexpr std::array<WindowKey, 17> kWindowKeys = {{
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
    {"Ctrl+E", "PanelEqui"},     // the rate panel's menu
    {"F9", "GradBtn2"},          // the operations section
    {"Shift+F9", "GradBtn1"},    // the equivalences panel
    {"Ctrl+Q", "BitBtnCerrar"},  // the door, as desktop programs close
    {"F1", "", WindowAction::kManual},
}};

constexpr std::array<ListKey, 4> kListKeys = {{
    {"Ctrl+Z", "Deshacer"},
    {"Ctrl+Y", "Rehacer"},
    {"Ctrl+Shift+Z", "Rehacer"},
    {"F2", "Corregir"},
}};

}  // namespace

std::span<const KeyButton> KeyButtons() {
  return kButtons;
}

std::span<const WindowKey> WindowKeys() {
  return kWindowKeys;
}

std::span<const ListKey> ListKeys() {
  return kListKeys;
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
