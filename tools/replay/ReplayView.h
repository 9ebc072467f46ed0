// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "CalculatorView.h"
#include "StateBlock.h"

namespace dravello {

// What the transcript prints as it happens: list lines and message boxes. It keeps the
// equivalence cells for the state block; the rest of what is shown is kept by the session's
// SessionView, which hands everything on to this view.
class ReplayView : public CalculatorView {
 public:
  explicit ReplayView(std::ostream& out) : out_(out) {}

  void SetPanel1(const std::string&) override {}
  void SetPanel6(const std::string&) override {}
  void SetPanel7(const std::string&) override {}
  void SetMemoryPanel(int, const std::string&, WinColor) override {}
  void SetRecallButton(int, bool, WinColor) override {}
  void SetPanel5(const std::string&, WinColor, const std::string&) override {}
  void AppendListLine(const std::string& line) override;
  void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
  void SetPanelMoneda(const std::string&) override {}
  void SetStaticText2(const std::string&) override {}
  void SetPanelDeci(const std::string&) override {}
  void SetPanelEqui(const std::string&) override {}
  void SetCurrencyButton(int, const std::string&, bool) override {}
  void SetAmountCell(int slot, const std::string& text) override;
  void SetAbbreviationCell(int slot, const std::string& text) override;

  // The lines of the next command whose bit is set in `marks` print as corrected.
  void SetMarks(std::uint8_t marks) {
    marks_ = marks;
    line_of_command_ = 0;
  }
  // "Borrar la cinta".
  void ClearTape() { out_ << "clear:\n"; }

  const EquivalenceCells& Cells() const { return cells_; }

 private:
  std::ostream& out_;
  std::uint8_t marks_ = 0;
  int line_of_command_ = 0;
  EquivalenceCells cells_;
};

}  // namespace dravello
