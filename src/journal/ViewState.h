// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "WinColor.h"

namespace dravello {

// The last of everything the calculator has shown, as its view receives it, except the lines
// of the list and the equivalence cells (both made again from the state when needed).
struct ViewState {
  struct Panel {
    std::string caption;
    WinColor colour = 0;
    bool operator==(const Panel&) const = default;
  };
  struct Recall {
    bool enabled = false;
    WinColor font = 0;
    bool operator==(const Recall&) const = default;
  };
  struct CurrencyButton {
    std::string caption;
    bool enabled = false;
    bool operator==(const CurrencyButton&) const = default;
  };

  std::string panel1, panel6, panel7;  // the display and the two indicators
  std::array<Panel, 3> memory;         // PanelMemA, PanelMemB, PanelMemC
  std::array<Recall, 4> recall;        // the recall buttons, the accumulating memory's last
  Panel panel5;
  std::string panel5_hint;
  std::string moneda, static_text2, deci, equi;  // the currency strip
  std::array<CurrencyButton, 7> buttons;         // by tag

  bool operator==(const ViewState&) const = default;
};

}  // namespace dravello
