// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

#include "CalculatorView.h"

namespace dravello {

// The calculator's view as text: list lines and message boxes are printed as they happen, every
// other output is kept for the state block.
class ReplayView : public CalculatorView {
 public:
  explicit ReplayView(std::ostream& out) : out_(out) {}

  void SetPanel1(const std::string& caption) override { panel1_ = caption; }
  void SetPanel6(const std::string& caption) override { panel6_ = caption; }
  void SetPanel7(const std::string& caption) override { panel7_ = caption; }
  void SetMemoryPanel(int memory, const std::string& caption, WinColor colour) override;
  void SetRecallButton(int memory, bool enabled, WinColor font_colour) override;
  void SetPanel5(const std::string& caption, WinColor colour, const std::string& hint) override;
  void AppendListLine(const std::string& line) override;
  void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
  void SetPanelMoneda(const std::string& caption) override { panel_moneda_ = caption; }
  void SetStaticText2(const std::string& caption) override { static_text2_ = caption; }
  void SetPanelDeci(const std::string& caption) override { panel_deci_ = caption; }
  void SetPanelEqui(const std::string& caption) override { panel_equi_ = caption; }
  void SetCurrencyButton(int tag, const std::string& caption, bool enabled) override;
  void SetAmountCell(int slot, const std::string& text) override;
  void SetAbbreviationCell(int slot, const std::string& text) override;

  // Writes the view's part of the state block, in the order of the transcript format.
  void WriteIndicators(std::ostream& out) const;  // display, operator, key, memA..memC, aux
  void WriteCurrencyStrip(std::ostream& out, int moneda_actual) const;  // currency, buttons
  void WriteEquivalences(std::ostream& out) const;                      // equiv1 .. equiv6

  // The lines of the next command whose bit is set in `marks` print as corrected.
  void SetMarks(std::uint8_t marks) {
    marks_ = marks;
    line_of_command_ = 0;
  }
  // "Borrar la cinta".
  void ClearTape() { out_ << "clear:\n"; }

 private:
  struct Panel {
    std::string caption;
    WinColor colour = 0;
  };
  struct Button {
    std::string caption;
    bool enabled = false;
    WinColor font_colour = 0;
  };

  std::ostream& out_;
  std::uint8_t marks_ = 0;
  int line_of_command_ = 0;
  std::string panel1_, panel6_, panel7_;
  std::array<Panel, 3> memory_panels_;
  std::array<Button, 4> recall_buttons_;
  Panel panel5_;
  std::string panel5_hint_;
  std::string panel_moneda_, static_text2_, panel_deci_, panel_equi_;
  std::array<Button, 7> currency_buttons_;
  std::array<std::string, 7> amount_cells_, abbreviation_cells_;
};

}  // namespace dravello
