// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplayView.h"

#include <algorithm>
#include <charconv>

#include "Cp1252.h"

namespace dravello {

namespace {

std::string ColourText(WinColor colour) {
  // "0x" and six upper-case hexadecimal digits.
  char digits[8];
  const auto [end, ec] =
      std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(colour & 0xFFFFFF), 16);
  std::string text(digits, ec == std::errc() ? end : digits);
  for (char& c : text) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return "0x" + std::string(6 - std::min<std::size_t>(6, text.size()), '0') + text;
}

const char* EnabledText(bool enabled) {
  return enabled ? "enabled" : "disabled";
}

bool ValidSlot(int slot) {
  return slot >= 1 && slot <= 6;
}

}  // namespace

void ReplayView::SetMemoryPanel(int memory, const std::string& caption, WinColor colour) {
  if (memory < 0 || memory > 2) return;
  memory_panels_[static_cast<std::size_t>(memory)] = {caption, colour};
}

void ReplayView::SetRecallButton(int memory, bool enabled, WinColor font_colour) {
  if (memory < 0 || memory > 3) return;
  Button& b = recall_buttons_[static_cast<std::size_t>(memory)];
  b.enabled = enabled;
  b.font_colour = font_colour;
}

void ReplayView::SetPanel5(const std::string& caption, WinColor colour, const std::string& hint) {
  panel5_ = {caption, colour};
  panel5_hint_ = hint;
}

void ReplayView::AppendListLine(const std::string& line) {
  const bool corrected = line_of_command_ < 8 && ((marks_ >> line_of_command_) & 1) != 0;
  ++line_of_command_;
  out_ << (corrected ? "list*: " : "list: ") << Cp1252ToUtf8(line) << '\n';
}

void ReplayView::ShowMessage(MessageKind, const std::string& caption, const std::string& text) {
  out_ << "box: " << Cp1252ToUtf8(caption) << '|' << Cp1252ToUtf8(text) << '\n';
}

void ReplayView::SetCurrencyButton(int tag, const std::string& caption, bool enabled) {
  if (tag < 0 || tag > 6) return;
  Button& b = currency_buttons_[static_cast<std::size_t>(tag)];
  b.caption = caption;
  b.enabled = enabled;
}

void ReplayView::SetAmountCell(int slot, const std::string& text) {
  if (ValidSlot(slot)) amount_cells_[static_cast<std::size_t>(slot)] = text;
}

void ReplayView::SetAbbreviationCell(int slot, const std::string& text) {
  if (ValidSlot(slot)) abbreviation_cells_[static_cast<std::size_t>(slot)] = text;
}

void ReplayView::WriteIndicators(std::ostream& out) const {
  out << "display: " << Cp1252ToUtf8(panel1_) << '\n';
  out << "operator: " << Cp1252ToUtf8(panel6_) << '\n';
  out << "key: " << Cp1252ToUtf8(panel7_) << '\n';
  static const char* const kNames[3] = {"memA: ", "memB: ", "memC: "};
  for (std::size_t m = 0; m < 3; ++m) {
    out << kNames[m] << Cp1252ToUtf8(memory_panels_[m].caption) << '|'
        << ColourText(memory_panels_[m].colour) << '|' << EnabledText(recall_buttons_[m].enabled)
        << '\n';
  }
  out << "aux: " << Cp1252ToUtf8(panel5_.caption) << '|' << ColourText(panel5_.colour) << '|'
      << Cp1252ToUtf8(panel5_hint_) << '|' << EnabledText(recall_buttons_[3].enabled) << '\n';
}

void ReplayView::WriteCurrencyStrip(std::ostream& out, int moneda_actual) const {
  out << "currency: " << moneda_actual << '|' << Cp1252ToUtf8(panel_moneda_) << '|'
      << Cp1252ToUtf8(panel_deci_) << '|' << Cp1252ToUtf8(panel_equi_) << '|'
      << Cp1252ToUtf8(static_text2_) << '\n';
  out << "buttons: ";
  for (std::size_t tag = 0; tag < 7; ++tag) {
    if (tag > 0) out << '|';
    const Button& b = currency_buttons_[tag];
    out << (b.enabled ? Cp1252ToUtf8(b.caption) : std::string("-"));
  }
  out << '\n';
}

void ReplayView::WriteEquivalences(std::ostream& out) const {
  for (std::size_t slot = 1; slot <= 6; ++slot) {
    out << "equiv" << slot << ": " << Cp1252ToUtf8(amount_cells_[slot]) << '|'
        << Cp1252ToUtf8(abbreviation_cells_[slot]) << '\n';
  }
}

}  // namespace dravello
