// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace dravello {
namespace {

std::string NameOf(const KeyButton* b) {
  return b ? std::string(b->name) : "(none)";
}

TEST(KeyTable, EveryButtonIsListedOnce) {
  std::set<std::string_view> names;
  for (const KeyButton& b : KeyButtons()) {
    EXPECT_TRUE(names.insert(b.name).second) << b.name;
    EXPECT_EQ(FindKeyButton(b.name), &b);
  }
  EXPECT_EQ(names.size(), 36u);
  EXPECT_EQ(FindKeyButton("HighButton35"), nullptr);
}

TEST(KeyTable, KeyDownsFlashTheirButtons) {
  const struct {
    int vk;
    const char* button;
  } cases[] = {
      {'X', "HighButton16"}, {'R', "HighButton20"}, {'S', "HighButton21"},
      {'A', "HighButton24"}, {'B', "HighButton29"}, {'C', "HighButton30"},
      {'M', "HighButton23"}, {'E', "HighButton27"}, {'D', "HighButton28"},
      {'L', "HighButton22"}, {'T', "HighButton25"}, {'V', "HighButtonVisi"},
      {'Z', "HighButton34"}, {46, "HighButton42"},  {0x100 + 'X', "HighButton16"},
      {'O', "(none)"},       {'U', "(none)"},       {'0', "(none)"},
      {'7', "(none)"},       {8, "(none)"},         {13, "(none)"},
      {0, "(none)"},         {0x100, "(none)"},     {'x', "(none)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameOf(KeyDownFlash(c.vk)), c.button) << "vk " << c.vk;
  }
}

TEST(KeyTable, TypedCharactersFlashTheirButtons) {
  const struct {
    char ch;
    const char* button;
  } cases[] = {
      {'0', "HighButton10"}, {'1', "HighButton7"},  {'2', "HighButton8"},  {'3', "HighButton9"},
      {'4', "HighButton4"},  {'5', "HighButton5"},  {'6', "HighButton6"},  {'7', "HighButton1"},
      {'8', "HighButton2"},  {'9', "HighButton3"},  {',', "HighButton11"}, {'.', "HighButton11"},
      {'+', "HighButton12"}, {'*', "HighButton13"}, {'/', "HighButton14"}, {'-', "HighButton15"},
      {'%', "HighButton17"}, {'=', "HighButton33"}, {'$', "(none)"},       {'x', "(none)"},
      {'A', "(none)"},       {'\r', "(none)"},      {'\b', "(none)"},      {'\xBD', "(none)"},
      {'\0', "(none)"},      {' ', "(none)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameOf(TypedFlash(c.ch)), c.button) << "char " << int(c.ch);
  }
}

TEST(KeyTable, TheAcceleratorIsTheLetterAfterALoneAmpersand) {
  const struct {
    const char* caption;
    char accel;
  } cases[] = {
      {"&X\xB2", 'X'},
      {"Minimi&zar", 'z'},
      {"Ejecutar <--- (=)", 0},
      {"", 0},
      {"&", 0},
      {"abc&", 0},
      {"a&&b", 0},
      {"&&&x", 'x'},
      {"&a&b", 'b'},
      {"&&", 0},
      {"%%", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AcceleratorOf(c.caption), c.accel) << c.caption;
  }
  EXPECT_TRUE(MatchesAccelerator('a', 'A'));
  EXPECT_TRUE(MatchesAccelerator('Z', 'z'));
  EXPECT_FALSE(MatchesAccelerator('\0', 0));
  EXPECT_FALSE(MatchesAccelerator('\x03', 'C'));     // Ctrl+C types code 3, no accelerator
  EXPECT_FALSE(MatchesAccelerator('\xE1', '\xC1'));  // only a to z ignore case
}

TEST(KeyTable, ACaptionGivesItsButtonsCommand) {
  EXPECT_EQ(CommandOfButton7("&Raiz"), 'R');
  EXPECT_EQ(CommandOfButton7("x"), 'X');
  EXPECT_EQ(CommandOfButton7("\xB1"), '\xB1');
  EXPECT_EQ(CommandOfButton7(""), 0);
  EXPECT_EQ(CommandOfButton7("&"), 0);
  EXPECT_EQ(CommandOfButton28("M(&a)"), 'A');
  EXPECT_EQ(CommandOfButton28("(c)->"), 'Q');
  EXPECT_EQ(CommandOfButton28("m(&a)"), 0);  // captions are compared exactly
  EXPECT_EQ(CommandOfButton28("M(&a) "), 0);
  EXPECT_EQ(CommandOfButton28(""), 0);
}

// Every key listed for a button names it in Spanish, as the keyboard shows it.
TEST(KeyTable, KeysAreNamedAsSpanishKeyboardsName) {
  const struct {
    const char* keys;
    const char* line;
  } cases[] = {
      {"M", "Tecla: M"},
      {"E U", "Teclas: E, U"},
      {"Return =", "Teclas: Intro, ="},
      {"Del Backspace", "Teclas: Supr, Retroceso"},
      {", .", "Teclas: ,, ."},
      {"+", "Tecla: +"},
      {"Ctrl+V Shift+Ins", "Teclas: Ctrl+V, May\xFAs+Insert"},
      {"Ctrl+,", "Tecla: Ctrl+,"},
      {"Ctrl++", "Tecla: Ctrl++"},
      {"Shift+F9", "Tecla: May\xFAs+F9"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(KeysLine(c.keys), c.line) << c.keys;
}

// The window's own keys (and those of the journal: undo, redo, correction) never take a key that
// a button of the keyboard table answers to, nor one another's, and each clicks one control,
// opens the manual or does one thing.
TEST(KeyTable, WindowKeysAreDistinctFromTheButtonsKeys) {
  std::set<std::string_view> taken;
  for (const KeyButton& b : KeyButtons()) {
    for (std::size_t begin = 0; begin < b.keys.size();) {
      std::size_t end = b.keys.find(' ', begin);
      if (end == std::string_view::npos) end = b.keys.size();
      EXPECT_TRUE(taken.insert(b.keys.substr(begin, end - begin)).second) << b.name;
      begin = end + 1;
    }
  }
  for (const WindowKey& k : WindowKeys()) {
    EXPECT_TRUE(taken.insert(k.keys).second) << k.keys;
    EXPECT_EQ(k.button.empty(), k.action == WindowAction::kManual) << k.keys;
    EXPECT_NE(k.keys.find_first_of("+F"), std::string_view::npos)
        << k.keys << ": a modifier or a function key, never a key that types";
  }
  for (const ListKey& k : ListKeys()) {
    EXPECT_TRUE(taken.insert(k.keys).second) << k.keys;
    EXPECT_FALSE(k.action.empty());
    EXPECT_NE(k.keys.find_first_of("+F"), std::string_view::npos) << k.keys;
  }
}

}  // namespace
}  // namespace dravello
