#include "Portapapeles.h"

#include "Formato.h"

namespace dravello {

std::string CopiaDisplay(Calculadora& calculadora) {
  EstadoCalculadora& estado = calculadora.Estado();
  std::string text = FormatExact(estado.Numeros[2], calculadora.Separadores().decimal);
  calculadora.AnotarOperacion("Copiado a ClipBoard " + calculadora.DisplayText());
  estado.NuevaEntrada = true;
  return text;
}

void PegaDisplay(Calculadora& calculadora, std::string_view text) {
  // A single-line field keeps the first line of a text of several.
  text = text.substr(0, text.find_first_of("\r\n"));
  Currency value{};
  long double number = 0;
  switch (ParseExtended(text, calculadora.Separadores().decimal, number)) {
    case ParseStatus::kOk:
      value = RoundToCount(number * 10000.0L);
      break;
    case ParseStatus::kOutOfRange:
      throw EngineError(kInvalidOperation);
    case ParseStatus::kNotANumber:
      break;
  }
  calculadora.PoneDisplay(value);
  calculadora.AnotarOperacion("Pegado Desde ClipBoard " + calculadora.DisplayText());
  EstadoCalculadora& estado = calculadora.Estado();
  estado.HayNumero = true;
  estado.NuevaEntrada = true;
}

}  // namespace dravello
