// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "CalculatorView.h"
#include "ViewState.h"

namespace dravello {

class Monedas;
class TapeLines;

// The view of a session's engine. It keeps the last of every output (ViewState) and counts
// the lines and message boxes of each command, and it hands everything on to the view that
// shows it: the window's in a running session; none in a replay, whose lines go to a list of
// its own and whose boxes are only counted.
class SessionView : public CalculatorView {
 public:
  // `shown`: the view that shows the outputs, or nullptr (a replay).
  explicit SessionView(CalculatorView* shown = nullptr) : shown_(shown) {}

  // A replay's lines go to `tape`, written in the current currency of `monedas`.
  void SetTape(TapeLines* tape, const Monedas* monedas) {
    tape_ = tape;
    monedas_ = monedas;
  }

  const ViewState& State() const { return state_; }
  // Takes `state` as what is shown, without showing it (the start of a replay).
  void SetState(const ViewState& state) { state_ = state; }
  // Takes `state` and shows all of it.
  void ShowState(const ViewState& state);

  // Lines written in the session so far, hidden ones included.
  std::uint64_t LinesWritten() const { return lines_; }
  void SetLinesWritten(std::uint64_t lines) { lines_ = lines; }

  // Before each command. A replay's lines of the command whose bit is set in `marks` are
  // marked as corrected.
  void BeginCommand(std::uint8_t marks = 0) {
    marks_ = marks;
    command_lines_ = 0;
    boxes_ = 0;
    changed_ = false;
  }
  // The command changed something shown, or wrote a line.
  bool Changed() const { return changed_; }
  // Message boxes the command showed, and the text of the first.
  int Boxes() const { return boxes_; }
  const std::string& FirstBox() const { return first_box_; }

  void SetPanel1(const std::string& caption) override;
  void SetPanel6(const std::string& caption) override;
  void SetPanel7(const std::string& caption) override;
  void SetMemoryPanel(int memory, const std::string& caption, WinColor colour) override;
  void SetRecallButton(int memory, bool enabled, WinColor font_colour) override;
  void SetPanel5(const std::string& caption, WinColor colour, const std::string& hint) override;
  void AppendListLine(const std::string& line) override;
  void ShowMessage(MessageKind kind, const std::string& caption, const std::string& text) override;
  void SetPanelMoneda(const std::string& caption) override;
  void SetStaticText2(const std::string& caption) override;
  void SetPanelDeci(const std::string& caption) override;
  void SetPanelEqui(const std::string& caption) override;
  void SetPanelEquiHint(const std::string& hint) override;
  void SetCurrencyButton(int tag, const std::string& caption, bool enabled) override;
  void SetAmountCell(int slot, const std::string& text) override;
  void SetAbbreviationCell(int slot, const std::string& text) override;

 private:
  template <typename T>
  void Keep(T& field, const T& value) {
    if (!(field == value)) {
      field = value;
      changed_ = true;
    }
  }

  CalculatorView* shown_;
  TapeLines* tape_ = nullptr;
  const Monedas* monedas_ = nullptr;
  ViewState state_;
  std::uint64_t lines_ = 0;
  std::uint8_t marks_ = 0;
  int command_lines_ = 0;
  int boxes_ = 0;
  bool changed_ = false;
  std::string first_box_;
};

}  // namespace dravello
