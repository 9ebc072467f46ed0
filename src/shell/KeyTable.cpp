#include "KeyTable.h"

#include <array>

namespace dravello {
namespace {

using H = ClickHandler;

constexpr std::array<KeyButton, 36> kButtons = {{
    // The keypad.
    {"HighButton1", "7", H::kButton7, "Button7Click", '7', 0, "7"},
    {"HighButton2", "8", H::kButton7, "Button7Click", '8', 0, "8"},
    {"HighButton3", "9", H::kButton7, "Button7Click", '9', 0, "9"},
    {"HighButton4", "4", H::kButton7, "Button7Click", '4', 0, "4"},
    {"HighButton5", "5", H::kButton7, "Button7Click", '5', 0, "5"},
    {"HighButton6", "6", H::kButton7, "Button7Click", '6', 0, "6"},
    {"HighButton7", "1", H::kButton7, "Button7Click", '1', 0, "1"},
    {"HighButton8", "2", H::kButton7, "Button7Click", '2', 0, "2"},
    {"HighButton9", "3", H::kButton7, "Button7Click", '3', 0, "3"},
    {"HighButton10", "0", H::kButton7, "Button7Click", '0', 0, "0"},
    {"HighButton11", ",", H::kButton7, "Button7Click", ',', 0, ",."},
    {"HighButton12", "+", H::kButton7, "Button7Click", '+', 0, "+"},
    {"HighButton13", "*", H::kButton7, "Button7Click", '*', 0, "*"},
    {"HighButton14", "/", H::kButton7, "Button7Click", '/', 0, "/"},
    {"HighButton15", "-", H::kButton7, "Button7Click", '-', 0, "-"},
    {"HighButton16", "&X\xB2", H::kButton7, "Button7Click", 'X', 'X', ""},
    {"HighButton17", "%", H::kButton7, "Button7Click", '%', 0, "%"},
    {"HighButton18", "\xBD", H::kFixed, "Button22Click", '\xBD', 0, ""},
    {"HighButton19", "%%", H::kFixed, "Button23Click", '$', 0, ""},
    {"HighButton20", "&Raiz", H::kButton7, "Button7Click", 'R', 'R', ""},
    {"HighButton21", "&Sig\xB1", H::kButton7, "Button7Click", 'S', 'S', ""},
    // The function pad.
    {"HighButton22", "C&Lr", H::kFixed, "Button34Click", 'L', 'L', ""},
    {"HighButton23", "&Mem +", H::kFixed, "Button24Click", 'T', 'M', ""},
    {"HighButton24", "M(&a)", H::kButton28, "Button28Click", 'A', 'A', ""},
    {"HighButton25", "rs&t", H::kFixed, "Button27Click", 'E', 'T', ""},
    {"HighButton26", "(a)->", H::kButton28, "Button28Click", 'O', 0, ""},
    {"HighButton27", "M&em -", H::kFixed, "Button25Click", 'U', 'E', ""},
    {"HighButton28", "Mem-> &Dis", H::kFixed, "Button26Click", 'V', 'D', ""},
    {"HighButton29", "M(&b)", H::kButton28, "Button28Click", 'B', 'B', ""},
    {"HighButton30", "M(&c)", H::kButton28, "Button28Click", 'C', 'C', ""},
    {"HighButton31", "(b)->", H::kButton28, "Button28Click", 'P', 0, ""},
    {"HighButton32", "(c)->", H::kButton28, "Button28Click", 'Q', 0, ""},
    {"HighButton33", "Ejecutar <--- (=)", H::kButton17, "Button17Click", '=', 0, "="},
    {"HighButton42", "Del", H::kFixed, "Button21Click", '\b', kVkDelete, ""},
    // The window buttons.
    {"HighButtonVisi", "&Visible", H::kWindow, "HighButtonVisiClick", 0, 'V', ""},
    {"HighButton34", "Minimi&zar", H::kWindow, "HighButton34Click", 0, 'Z', ""},
}};

}  // namespace

std::span<const KeyButton> KeyButtons() {
  return kButtons;
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
