// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravello {
namespace {

TEST(RellenaEspacios, RightAlignsShortTextsAndKeepsTheStartOfLongOnes) {
  const struct {
    std::string texto;
    int n;
    std::string expected;
  } cases[] = {
      {"abc", 5, "  abc"}, {"abc", 3, "abc"},  {"abc", 2, "ab"},
      {"abc", 0, ""},      {"abc", -4, ""},    {"", 3, "   "},
      {"", 0, ""},         {" a ", 4, "  a "}, {"\xBD", 2, " \xBD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RellenaEspacios(c.texto, c.n), c.expected) << '"' << c.texto << "\" " << c.n;
  }
}

TEST(RellenaCeros, EveryBlankBecomesZeroIncludingInnerOnes) {
  const struct {
    std::string texto;
    int n;
    std::string expected;
  } cases[] = {
      {"", 4, "0000"},     {"", 2, "00"},   {"", 0, ""},         {"", -1, ""},
      {"1 2", 5, "00102"}, {"7", 3, "007"}, {"12345", 3, "123"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RellenaCeros(c.texto, c.n), c.expected) << '"' << c.texto << "\" " << c.n;
  }
}

TEST(CambiaCaracter, ReplacesEveryOccurrenceByExactCode) {
  const struct {
    std::string texto;
    char viejo, nuevo;
    std::string expected;
  } cases[] = {
      {"1.234.5", '.', ',', "1,234,5"},
      {"166,386", ',', ',', "166,386"},  // the same character: unchanged
      {"", ',', '.', ""},
      {"a b c", ' ', '0', "a0b0c"},
      {"Aa", 'a', 'x', "Ax"},           // no case folding
      {"\xF3\xF3", '\xF3', 'o', "oo"},  // single-byte texts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CambiaCaracter(c.texto, c.viejo, c.nuevo), c.expected) << c.texto;
  }
}

TEST(AgregaBarra, EndsAFolderInOneSeparator) {
  const std::string s(1, kSeparadorCarpeta);
  const struct {
    std::string texto, expected;
  } cases[] = {
      {"", ""}, {"/opt/calc", "/opt/calc" + s}, {"/opt/calc" + s, "/opt/calc" + s},
      {s, s},   {"calc", "calc" + s},
  };
  for (const auto& c : cases) EXPECT_EQ(AgregaBarra(c.texto), c.expected) << c.texto;
}

class MessageView : public CalculatorView {
 public:
  struct Message {
    MessageKind kind;
    std::string caption, text;
  };
  void SetPanel1(const std::string&) override {}
  void SetPanel6(const std::string&) override {}
  void SetPanel7(const std::string&) override {}
  void SetMemoryPanel(int, const std::string&, Color) override {}
  void SetRecallButton(int, bool, Color) override {}
  void SetPanel5(const std::string&, Color, const std::string&) override {}
  void AppendListLine(const std::string&) override {}
  void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override {
    messages.push_back({kind, caption, text});
  }
  void SetPanelMoneda(const std::string&) override {}
  void SetStaticText2(const std::string&) override {}
  void SetPanelDeci(const std::string&) override {}
  void SetPanelEqui(const std::string&) override {}
  void SetCurrencyButton(int, const std::string&, bool) override {}
  void SetAmountCell(int, const std::string&) override {}
  void SetAbbreviationCell(int, const std::string&) override {}

  std::vector<Message> messages;
};

TEST(MuestraMensaje, TheKindChoosesTheTitle) {
  const struct {
    MessageKind kind;
    const char* caption;
  } cases[] = {
      {MessageKind::kWarning, "Warning"},
      {MessageKind::kError, "Error"},
      {MessageKind::kInformation, "Information"},
      {MessageKind::kConfirm, "Confirm"},
  };
  for (const auto& c : cases) {
    MessageView view;
    MuestraMensaje(view, " texto ", c.kind);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].kind, c.kind);
    EXPECT_EQ(view.messages[0].caption, c.caption);
    EXPECT_EQ(view.messages[0].text, " texto ");  // blanks kept
  }
}

}  // namespace
}  // namespace dravello
