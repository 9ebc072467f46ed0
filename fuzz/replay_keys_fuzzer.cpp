// SPDX-License-Identifier: GPL-3.0-or-later
// The key text of dravello-replay: any bytes are read or refused with a message, and the keys
// read run through the calculator and its currencies without a crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Calculadora.h"
#include "KeyReader.h"
#include "Monedas.h"
#include "NullView.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravello;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<ReplayInput> inputs;
  std::string error;
  if (!ReadReplayKeys(text, inputs, error)) return 0;

  // The defaults' table has the base alone; two more currencies make the clicks switch.
  NullView view;
  Calculadora calculadora(view, Separators{',', '.'});
  Monedas monedas(calculadora, view, "");
  CamposMonedas campos("", ',');
  campos.EditMoneda(1) = "Eur";
  campos.EditCambio(1) = "166,386";
  campos.EditMoneda(2) = "Mil";
  campos.EditDecimales(2) = "4";
  campos.EditCambio(2) = "0,001";
  monedas.IniciaCalculadora(campos);
  for (const ReplayInput& input : inputs) {
    RunCommand(view, [&] {
      if (input.kind == ReplayInput::Kind::kKey) {
        calculadora.ProcesaTecla(input.key);
      } else {
        monedas.SpeedButton0Click(input.tag);
      }
    });
  }
  return 0;
}
