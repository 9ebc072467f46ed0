// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utiles.h"

namespace dravello {

std::string RellenaEspacios(std::string_view texto, int n) {
  if (n <= 0) return std::string();
  const auto width = static_cast<std::size_t>(n);
  if (texto.size() >= width) return std::string(texto.substr(0, width));
  std::string result(width - texto.size(), ' ');
  result.append(texto);
  return result;
}

std::string RellenaCeros(std::string_view texto, int n) {
  return CambiaCaracter(RellenaEspacios(texto, n), ' ', '0');
}

std::string CambiaCaracter(std::string_view texto, char viejo, char nuevo) {
  std::string result(texto);
  if (viejo == nuevo) return result;
  for (char& c : result) {
    if (c == viejo) c = nuevo;
  }
  return result;
}

std::string AgregaBarra(std::string_view texto) {
  std::string result(texto);
  if (!result.empty() && result.back() != kSeparadorCarpeta) result.push_back(kSeparadorCarpeta);
  return result;
}
}  // namespace dravello
