// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard's text: any bytes are pasted, refused or reported as too large, and a pasted
// value copied back to the clipboard pastes as the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Calculadora.h"
#include "Currency.h"
#include "NullView.h"
#include "Portapapeles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravello;
  // The first byte picks the regional separators: '.' English ones, 'f' French (a no-break
  // space), 's' a blank, else Spanish; the rest is the clipboard's text.
  if (size == 0) return 0;
  const Separators separators = data[0] == '.'   ? Separators{'.', ','}
                                : data[0] == 'f' ? Separators{',', '\xA0'}
                                : data[0] == 's' ? Separators{',', ' '}
                                                 : Separators{',', '.'};
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  NullView view;
  Calculadora calculadora(view, separators);
  bool pasted = false;
  try {
    pasted = PegaDisplay(calculadora, text);
  } catch (const EngineError&) {
    return 0;  // beyond the range of amounts: the error box
  }
  if (!pasted) return 0;
  const Currency value = calculadora.Estado().Numeros[kDisplayRegister];
  Calculadora again(view, separators);
  if (!PegaDisplay(again, CopiaDisplay(calculadora)) ||
      again.Estado().Numeros[kDisplayRegister] != value) {
    std::abort();  // the copy of a pasted value does not paste back as it
  }
  return 0;
}
