// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utiles.h"

namespace dravello {

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
