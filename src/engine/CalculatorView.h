// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "WinColor.h"

namespace dravello {

enum class MessageKind { kWarning, kError, kInformation, kConfirm };

// Everything the calculator shows, named after the control that shows it. The Qt window binds
// each call to its control; the replay tool prints it. Texts are Windows-1252 bytes; the
// implementation converts them at its edge. Every call may be made at any time, in any order.
class CalculatorView {
 public:
  virtual ~CalculatorView() = default;

  virtual void SetPanel1(const std::string& caption) = 0;  // the display
  virtual void SetPanel6(const std::string& caption) = 0;  // the operator indicator
  virtual void SetPanel7(const std::string& caption) = 0;  // the key indicator

  // `memory` 0, 1, 2: PanelMemA, PanelMemB, PanelMemC.
  virtual void SetMemoryPanel(int memory, const std::string& caption, WinColor colour) = 0;
  // `memory` 0, 1, 2: the recall buttons HighButton26, HighButton31, HighButton32;
  // 3: HighButton28, the accumulating memory's. `font_colour` is the button's UpColorFont.
  virtual void SetRecallButton(int memory, bool enabled, WinColor font_colour) = 0;
  // Panel5, the accumulating-memory indicator, with its hint.
  virtual void SetPanel5(const std::string& caption, WinColor colour, const std::string& hint) = 0;

  // A new last line of the operations list (ListBox1), which then selects it.
  virtual void AppendListLine(const std::string& line) = 0;

  // A modal message box with one OK button; returns when the user has closed it.
  virtual void ShowMessage(MessageKind kind, const std::string& caption,
                           const std::string& text) = 0;

  // The currency strip: PanelMoneda, StaticText2, PanelDeci, PanelEqui.
  virtual void SetPanelMoneda(const std::string& caption) = 0;
  virtual void SetStaticText2(const std::string& caption) = 0;
  virtual void SetPanelDeci(const std::string& caption) = 0;
  virtual void SetPanelEqui(const std::string& caption) = 0;
  // What PanelEqui's hint says of the rate it shows: its date and source, or that it was typed
  // by hand. Views that show no hints leave it.
  virtual void SetPanelEquiHint(const std::string& hint) { (void)hint; }
  // The currency buttons SpeedButton0 to SpeedButton6, by tag.
  virtual void SetCurrencyButton(int tag, const std::string& caption, bool enabled) = 0;
  // The equivalence cells of slot 1 to 6: the amount cell StaticTextM<slot> and the
  // abbreviation cell StaticTextMT<slot>.
  virtual void SetAmountCell(int slot, const std::string& text) = 0;
  virtual void SetAbbreviationCell(int slot, const std::string& text) = 0;
};

}  // namespace dravello
