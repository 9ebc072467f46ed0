// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplayView.h"

#include "Cp1252.h"

namespace dravello {

void ReplayView::AppendListLine(const std::string& line) {
  const bool corrected = line_of_command_ < 8 && ((marks_ >> line_of_command_) & 1) != 0;
  ++line_of_command_;
  out_ << (corrected ? "list*: " : "list: ") << Cp1252ToUtf8(line) << '\n';
}

void ReplayView::ShowMessage(MessageKind, const std::string& caption, const std::string& text) {
  out_ << "box: " << Cp1252ToUtf8(caption) << '|' << Cp1252ToUtf8(text) << '\n';
}

void ReplayView::SetAmountCell(int slot, const std::string& text) {
  if (slot >= 1 && slot <= 6) cells_.amounts[static_cast<std::size_t>(slot)] = text;
}

void ReplayView::SetAbbreviationCell(int slot, const std::string& text) {
  if (slot >= 1 && slot <= 6) cells_.abbreviations[static_cast<std::size_t>(slot)] = text;
}

}  // namespace dravello
