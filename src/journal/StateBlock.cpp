// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateBlock.h"

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

std::string FlagText(bool flag) {
  return flag ? "1" : "0";
}

}  // namespace

void WriteStateBlock(std::ostream& out, const ViewState& view, const EstadoCalculadora& e,
                     int moneda_actual, const EquivalenceCells& cells) {
  out << "display: " << Cp1252ToUtf8(view.panel1) << '\n';
  out << "operator: " << Cp1252ToUtf8(view.panel6) << '\n';
  out << "key: " << Cp1252ToUtf8(view.panel7) << '\n';
  static const char* const kNames[3] = {"memA: ", "memB: ", "memC: "};
  for (std::size_t m = 0; m < 3; ++m) {
    out << kNames[m] << Cp1252ToUtf8(view.memory[m].caption) << '|'
        << ColourText(view.memory[m].colour) << '|' << EnabledText(view.recall[m].enabled) << '\n';
  }
  out << "aux: " << Cp1252ToUtf8(view.panel5.caption) << '|' << ColourText(view.panel5.colour)
      << '|' << Cp1252ToUtf8(view.panel5_hint) << '|' << EnabledText(view.recall[3].enabled)
      << '\n';
  // Counts through std::to_string, whatever locale a stream may carry.
  out << "X: " << std::to_string(e.Numeros[kAccumulator].count) << '\n';
  out << "Y: " << std::to_string(e.Numeros[kDisplayRegister].count) << '\n';
  out << "entry: " << Cp1252ToUtf8(e.TextoEntrada) << '\n';
  out << "flags: HayNumero=" << FlagText(e.HayNumero)
      << " HayOperacion=" << FlagText(e.HayOperacion)
      << " NuevaEntrada=" << FlagText(e.NuevaEntrada) << " Operacion="
      << (e.Operacion == '\0' ? std::string() : Cp1252ToUtf8(std::string(1, e.Operacion))) << '\n';
  out << "memories: " << std::to_string(e.MemoriaA.count) << ' ' << std::to_string(e.MemoriaB.count)
      << ' ' << std::to_string(e.MemoriaC.count) << ' ' << std::to_string(e.MemoriaAux.count)
      << '\n';
  out << "currency: " << std::to_string(moneda_actual) << '|' << Cp1252ToUtf8(view.moneda) << '|'
      << Cp1252ToUtf8(view.deci) << '|' << Cp1252ToUtf8(view.equi) << '|'
      << Cp1252ToUtf8(view.static_text2) << '\n';
  out << "buttons: ";
  for (std::size_t tag = 0; tag < view.buttons.size(); ++tag) {
    if (tag > 0) out << '|';
    const ViewState::CurrencyButton& b = view.buttons[tag];
    out << (b.enabled ? Cp1252ToUtf8(b.caption) : std::string("-"));
  }
  out << '\n';
  for (std::size_t slot = 1; slot <= 6; ++slot) {
    out << "equiv" << slot << ": " << Cp1252ToUtf8(cells.amounts[slot]) << '|'
        << Cp1252ToUtf8(cells.abbreviations[slot]) << '\n';
  }
  out << "end\n";
}

}  // namespace dravello
