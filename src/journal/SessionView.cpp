// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionView.h"

#include "Monedas.h"
#include "TapeLines.h"

namespace dravello {

void SessionView::ShowState(const ViewState& state) {
  state_ = state;
  if (shown_ == nullptr) return;
  shown_->SetPanel1(state.panel1);
  shown_->SetPanel6(state.panel6);
  shown_->SetPanel7(state.panel7);
  for (int m = 0; m < 3; ++m) {
    const ViewState::Panel& panel = state.memory[static_cast<std::size_t>(m)];
    shown_->SetMemoryPanel(m, panel.caption, panel.colour);
  }
  for (int m = 0; m < 4; ++m) {
    const ViewState::Recall& recall = state.recall[static_cast<std::size_t>(m)];
    shown_->SetRecallButton(m, recall.enabled, recall.font);
  }
  shown_->SetPanel5(state.panel5.caption, state.panel5.colour, state.panel5_hint);
  shown_->SetPanelMoneda(state.moneda);
  shown_->SetStaticText2(state.static_text2);
  shown_->SetPanelDeci(state.deci);
  shown_->SetPanelEqui(state.equi);
  for (int tag = 0; tag < 7; ++tag) {
    const ViewState::CurrencyButton& button = state.buttons[static_cast<std::size_t>(tag)];
    shown_->SetCurrencyButton(tag, button.caption, button.enabled);
  }
}

void SessionView::SetPanel1(const std::string& caption) {
  Keep(state_.panel1, caption);
  if (shown_) shown_->SetPanel1(caption);
}

void SessionView::SetPanel6(const std::string& caption) {
  Keep(state_.panel6, caption);
  if (shown_) shown_->SetPanel6(caption);
}

void SessionView::SetPanel7(const std::string& caption) {
  Keep(state_.panel7, caption);
  if (shown_) shown_->SetPanel7(caption);
}

void SessionView::SetMemoryPanel(int memory, const std::string& caption, WinColor colour) {
  if (memory >= 0 && memory < 3) {
    Keep(state_.memory[static_cast<std::size_t>(memory)], ViewState::Panel{caption, colour});
  }
  if (shown_) shown_->SetMemoryPanel(memory, caption, colour);
}

void SessionView::SetRecallButton(int memory, bool enabled, WinColor font_colour) {
  if (memory >= 0 && memory < 4) {
    Keep(state_.recall[static_cast<std::size_t>(memory)], ViewState::Recall{enabled, font_colour});
  }
  if (shown_) shown_->SetRecallButton(memory, enabled, font_colour);
}

void SessionView::SetPanel5(const std::string& caption, WinColor colour, const std::string& hint) {
  Keep(state_.panel5, ViewState::Panel{caption, colour});
  Keep(state_.panel5_hint, hint);
  if (shown_) shown_->SetPanel5(caption, colour, hint);
}

void SessionView::AppendListLine(const std::string& line) {
  changed_ = true;
  if (tape_ != nullptr) {
    // Each line knows its currency and that currency's rate, as in the window.
    const TTablaMonedas& tabla = monedas_->TablaMonedas();
    const std::string rate = monedas_->CurrentRateText();
    tape_->SetCurrency(tabla[static_cast<std::size_t>(monedas_->MonedaActual())].Moneda, rate,
                       rate.empty() ? std::string_view() : std::string_view(tabla[0].Moneda));
    tape_->Append(line);
    if (command_lines_ < 8 && ((marks_ >> command_lines_) & 1) != 0) {
      tape_->SetCorrected(tape_->Written() - 1, true);
    }
  }
  ++command_lines_;
  ++lines_;
  if (shown_) shown_->AppendListLine(line);
}

void SessionView::ShowMessage(MessageKind kind, const std::string& caption,
                              const std::string& text) {
  if (boxes_++ == 0) first_box_ = text;
  if (shown_) shown_->ShowMessage(kind, caption, text);
}

void SessionView::SetPanelMoneda(const std::string& caption) {
  Keep(state_.moneda, caption);
  if (shown_) shown_->SetPanelMoneda(caption);
}

void SessionView::SetStaticText2(const std::string& caption) {
  Keep(state_.static_text2, caption);
  if (shown_) shown_->SetStaticText2(caption);
}

void SessionView::SetPanelDeci(const std::string& caption) {
  Keep(state_.deci, caption);
  if (shown_) shown_->SetPanelDeci(caption);
}

void SessionView::SetPanelEquiHint(const std::string& hint) {
  // Not part of the state: it tells where the table's rates came from, which no replay changes.
  if (shown_) shown_->SetPanelEquiHint(hint);
}

void SessionView::SetPanelEqui(const std::string& caption) {
  Keep(state_.equi, caption);
  if (shown_) shown_->SetPanelEqui(caption);
}

void SessionView::SetCurrencyButton(int tag, const std::string& caption, bool enabled) {
  if (tag >= 0 && tag < 7) {
    Keep(state_.buttons[static_cast<std::size_t>(tag)],
         ViewState::CurrencyButton{caption, enabled});
  }
  if (shown_) shown_->SetCurrencyButton(tag, caption, enabled);
}

void SessionView::SetAmountCell(int slot, const std::string& text) {
  if (shown_) shown_->SetAmountCell(slot, text);
}

void SessionView::SetAbbreviationCell(int slot, const std::string& text) {
  if (shown_) shown_->SetAbbreviationCell(slot, text);
}

}  // namespace dravello
