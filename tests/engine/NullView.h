// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "CalculatorView.h"

namespace dravello {

// A view that shows nothing: a test's view derives from it and keeps only what it checks.
class NullView : public CalculatorView {
 public:
  void SetPanel1(const std::string&) override {}
  void SetPanel6(const std::string&) override {}
  void SetPanel7(const std::string&) override {}
  void SetMemoryPanel(int, const std::string&, WinColor) override {}
  void SetRecallButton(int, bool, WinColor) override {}
  void SetPanel5(const std::string&, WinColor, const std::string&) override {}
  void AppendListLine(const std::string&) override {}
  void ShowMessage(MessageKind, const std::string&, const std::string&) override {}
  void SetPanelMoneda(const std::string&) override {}
  void SetStaticText2(const std::string&) override {}
  void SetPanelDeci(const std::string&) override {}
  void SetPanelEqui(const std::string&) override {}
  void SetCurrencyButton(int, const std::string&, bool) override {}
  void SetAmountCell(int, const std::string&) override {}
  void SetAbbreviationCell(int, const std::string&) override {}
};

}  // namespace dravello
