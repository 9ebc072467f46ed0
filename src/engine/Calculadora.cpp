// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calculadora.h"

#include <cstring>

namespace dravello {

namespace {

// The command alphabet in its stored order; "\b" is delete and kHalfKey the one-half sign.
constexpr char kAlphabet[] =
    "*/"
    "\xBD"
    "+-SXRABCOPQ%$TUV=\bLE";

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// Counts from -922 337 203 685 477.5807 to 922 337 203 685 477.5807 can be shown; only the most
// negative count lies outside.
constexpr std::int64_t kLargestShown = 9223372036854775807LL;

}  // namespace

Calculadora::Calculadora(CalculatorView& view, Separators separators)
    : view_(view), separators_(separators) {}

void Calculadora::Inicia() {
  estado_ = EstadoCalculadora{};
}

bool Calculadora::EsComando(char ch) {
  return ch != '\0' && std::memchr(kAlphabet, ch, sizeof kAlphabet - 1) != nullptr;
}

std::string Calculadora::Formatea(Currency value) const {
  return FormatAmount(value, decimales_, separators_);
}

// --- State operations -------------------------------------------------------------------------

void Calculadora::BorraNumero(int i) {
  estado_.Numeros[i] = Currency{};
  if (i == kDisplayRegister) estado_.TextoEntrada.clear();
}

void Calculadora::PasaAcumulador() {
  estado_.Numeros[kAccumulator] = estado_.Numeros[kDisplayRegister];
  estado_.Numeros[kDisplayRegister] = Currency{};
}

void Calculadora::PoneOperacion(char ch) {
  estado_.Operacion = ch;
  estado_.HayOperacion = true;
  estado_.NuevaEntrada = true;
  estado_.HayNumero = false;
}

void Calculadora::QuitaOperacion() {
  estado_.Operacion = '\0';
  estado_.HayOperacion = false;
  estado_.NuevaEntrada = true;
}

void Calculadora::BorraMemorias() {
  estado_.MemoriaA = estado_.MemoriaB = estado_.MemoriaC = estado_.MemoriaAux = Currency{};
  ActualizaMemorias();
}

void Calculadora::ColorBotonMemoria(int memory, bool enabled) {
  view_.SetRecallButton(memory, enabled, enabled ? kRecallEnabledFont : kRecallDisabledFont);
}

void Calculadora::ActualizaMemorias() {
  const Currency memories[3] = {estado_.MemoriaA, estado_.MemoriaB, estado_.MemoriaC};
  static const char* const kPrefixes[3] = {"M(a)-> ", "M(b)-> ", "M(c)-> "};
  std::string captions[3];
  for (int m = 0; m < 3; ++m) captions[m] = kPrefixes[m] + Formatea(memories[m]);
  for (int m = 0; m < 3; ++m) {
    const bool used = memories[m].count != 0;
    view_.SetMemoryPanel(m, captions[m], used ? kMemoryUsedColour : kMemoryEmptyColour);
    ColorBotonMemoria(m, used);
  }
  const bool aux_used = estado_.MemoriaAux.count != 0;
  const std::string hint = Formatea(estado_.MemoriaAux);
  view_.SetPanel5(aux_used ? "M+" : "", aux_used ? kMemoryUsedColour : kMemoryEmptyColour, hint);
  ColorBotonMemoria(3, aux_used);
}

void Calculadora::AnotarOperacion(const std::string& linea) {
  view_.AppendListLine(linea);
}

// --- Driver -----------------------------------------------------------------------------------

void Calculadora::MuestraIndicador(const std::string& text, Indicator indicator) {
  if (indicator == Indicator::kOperator) {
    view_.SetPanel6(text);
  } else {
    view_.SetPanel7(text);
  }
}

void Calculadora::PoneDisplay(Currency value) {
  estado_.Numeros[kDisplayRegister] = value;
  if (value.count < -kLargestShown) {
    view_.ShowMessage(MessageKind::kError, "Error",
                      " Esta Operaci\xF3n ha producido Desbordamiento ");
    estado_.Numeros[kDisplayRegister] = Currency{};
    estado_.TextoEntrada = "0";
  }
  display_text_ = Formatea(estado_.Numeros[kDisplayRegister]);
  view_.SetPanel1(display_text_);
  if (display_listener_) display_listener_();
}

void Calculadora::ProcesaTecla(char ch) {
  if (ch == ',' || ch == '.') {
    EntradaNumero(separators_.decimal);
  } else if (IsDigit(ch)) {
    EntradaNumero(ch);
  } else {
    ProcesaMemoria(ch);
    ProcesaOperador(ch);
  }
}

void Calculadora::EntradaNumero(char ch) {
  if (estado_.NuevaEntrada) BorraNumero(kDisplayRegister);
  std::string& texto = estado_.TextoEntrada;
  if (texto.size() >= 15) return;
  if (ch == separators_.decimal && texto.find(ch) != std::string::npos) return;
  texto.push_back(ch);
  estado_.Numeros[kDisplayRegister] = ParseAmount(texto, separators_.decimal);
  PoneDisplay(estado_.Numeros[kDisplayRegister]);
  MuestraIndicador(std::string(1, ch), Indicator::kKey);
  estado_.NuevaEntrada = false;
  estado_.HayNumero = true;
}

void Calculadora::ProcesaMemoria(char ch) {
  if (!EsComando(ch)) return;
  switch (ch) {
    case 'A':
    case 'B':
    case 'C':
    case 'T':
    case 'U':
      MuestraIndicador(ch == 'T' || ch == 'U' ? std::string("<-M") : std::string("<-") + ch,
                       Indicator::kKey);
      Calcula(ch);
      PoneDisplay(estado_.Numeros[kDisplayRegister]);
      ActualizaMemorias();
      estado_.NuevaEntrada = true;
      break;
    case 'O':
    case 'P':
    case 'Q':
    case 'V': {
      static const char* const kMarks[] = {"A->", "B->", "C->", "M->"};
      MuestraIndicador(kMarks[ch == 'V' ? 3 : ch - 'O'], Indicator::kKey);
      Calcula(ch);
      PoneDisplay(estado_.Numeros[kDisplayRegister]);
      estado_.NuevaEntrada = true;
      estado_.HayNumero = true;
      break;
    }
    case 'L':
    case 'E':
      if (ch == 'E') BorraMemorias();
      MuestraIndicador(ch == 'L' ? "Clr" : "Rst", Indicator::kKey);
      Calcula(ch);
      PoneDisplay(estado_.Numeros[kAccumulator]);
      estado_.HayNumero = false;
      break;
    default:
      break;
  }
}

void Calculadora::ProcesaOperador(char ch) {
  if (estado_.HayOperacion && !estado_.HayNumero && ch == '=') {
    QuitaOperacion();
    estado_.NuevaEntrada = true;
  }
  if (!EsComando(ch) || !estado_.HayNumero) return;
  switch (ch) {
    case '*':
    case '/':
    case '+':
    case '-':
      if (estado_.HayOperacion) {
        Calcula(estado_.Operacion);
        PoneDisplay(estado_.Numeros[kAccumulator]);
      } else {
        PasaAcumulador();
      }
      PoneOperacion(ch);
      MuestraIndicador(std::string(1, ch), Indicator::kOperator);
      break;
    case '%':
    case '$':
      ProcesaPorcentaje(ch);
      break;
    case '=':
      if (estado_.HayOperacion) {
        Calcula(estado_.Operacion);
        PoneDisplay(estado_.Numeros[kAccumulator]);
        QuitaOperacion();
        estado_.NuevaEntrada = true;
        MuestraIndicador("=", Indicator::kOperator);
      }
      break;
    case 'R':
    case 'X':
    case kHalfKey:
      Calcula(ch);
      PoneDisplay(estado_.Numeros[kDisplayRegister]);
      estado_.NuevaEntrada = true;
      break;
    case 'S':
      Calcula('S');
      PoneDisplay(estado_.Numeros[kDisplayRegister]);
      estado_.TextoEntrada = FormatPlain(estado_.Numeros[kDisplayRegister], separators_.decimal);
      break;
    case kDeleteKey:
      Calcula(ch);
      PoneDisplay(estado_.Numeros[kDisplayRegister]);
      estado_.NuevaEntrada = false;
      break;
    default:
      break;
  }
}

void Calculadora::ProcesaPorcentaje(char ch) {
  if (!estado_.HayOperacion) {
    PasaAcumulador();
    PoneOperacion(ch);
    MuestraIndicador(std::string(1, ch), Indicator::kOperator);
    estado_.HayNumero = false;
  } else if (estado_.Operacion == '+' || estado_.Operacion == '-') {
    const Currency k = estado_.Numeros[kAccumulator];
    Calcula(ch);
    estado_.Numeros[kDisplayRegister] = estado_.Numeros[kAccumulator];
    estado_.Numeros[kAccumulator] = k;
    Calcula(estado_.Operacion);
    PoneDisplay(estado_.Numeros[kAccumulator]);
    QuitaOperacion();
    estado_.NuevaEntrada = true;
  } else {
    Calcula(estado_.Operacion);
    PoneOperacion(ch);
  }
}

// --- Evaluator --------------------------------------------------------------------------------

std::string Calculadora::EcoOperacion(char op) const {
  return Formatea(estado_.Numeros[kAccumulator]) + " " + op + " " +
         Formatea(estado_.Numeros[kDisplayRegister]);
}

void Calculadora::Calcula(char ch) {
  Currency& x = estado_.Numeros[kAccumulator];
  Currency& y = estado_.Numeros[kDisplayRegister];
  switch (ch) {
    case '+':
    case '-':
    case '*': {
      const std::string eco = EcoOperacion(ch);
      x = ch == '+' ? Add(x, y) : ch == '-' ? Subtract(x, y) : Multiply(x, y);
      AnotarOperacion(eco + " = " + Formatea(x));
      break;
    }
    case '/': {
      const std::string eco = EcoOperacion(ch);
      if (y.count == 0) {
        view_.ShowMessage(MessageKind::kWarning, "Warning", " No se puede Dividir por Cero ");
        AnotarOperacion(eco + " = Desbordado");
      } else {
        x = Divide(x, y);
        AnotarOperacion(eco + " = " + Formatea(x));
      }
      break;
    }
    case '%':
    case '$': {
      const std::string old_x = Formatea(x);
      x = Percent(x, y, ch == '%' ? 100 : 1000);
      AnotarOperacion(old_x + (ch == '%' ? " % " : " %% ") + Formatea(y) + " = " + Formatea(x));
      break;
    }
    case 'R':
    case 'X':
    case kHalfKey: {
      const std::string old_y = Formatea(y);
      if (ch == 'R') {
        y = SquareRoot(y);
        AnotarOperacion("Raiz(" + old_y + ") = " + Formatea(y));
      } else if (ch == 'X') {
        y = Square(y);
        AnotarOperacion("Elev2(" + old_y + ") = " + Formatea(y));
      } else {
        y = Half(y);
        AnotarOperacion(old_y + " / 2 = " + Formatea(y));
      }
      break;
    }
    case 'S': {
      const std::string old_y = FormatAmount(y, 2, separators_);
      y = Negate(y);
      AnotarOperacion(old_y + " = " + Formatea(y));
      break;
    }
    case 'A':
      estado_.MemoriaA = y;
      AnotarOperacion(Formatea(y) + " --> M(a)");
      break;
    case 'B':
      estado_.MemoriaB = y;
      AnotarOperacion(Formatea(y) + " --> M(b)");
      break;
    case 'C':
      estado_.MemoriaC = y;
      AnotarOperacion(Formatea(y) + " --> M(c)");
      break;
    case 'O':
      y = estado_.MemoriaA;
      AnotarOperacion("M(a)[" + Formatea(estado_.MemoriaA) + "] --> Disp");
      break;
    case 'P':
      y = estado_.MemoriaB;
      AnotarOperacion("M(b)[" + Formatea(estado_.MemoriaB) + "] --> Disp");
      break;
    case 'Q':
      y = estado_.MemoriaC;
      AnotarOperacion("M(c)[" + Formatea(estado_.MemoriaC) + "] --> Disp");
      break;
    case 'T':
      estado_.MemoriaAux = Add(estado_.MemoriaAux, y);
      AnotarOperacion(Formatea(y) + " --> Memo+ [" + Formatea(estado_.MemoriaAux) + "]");
      break;
    case 'U':
      estado_.MemoriaAux = Subtract(estado_.MemoriaAux, y);
      AnotarOperacion(Formatea(y) + " --> Memo- [" + Formatea(estado_.MemoriaAux) + "]");
      break;
    case 'V':
      y = estado_.MemoriaAux;
      AnotarOperacion("Memo[" + Formatea(estado_.MemoriaAux) + "] --> Disp");
      break;
    case 'L':
    case 'E':
      if (ch == 'E') BorraMemorias();
      BorraNumero(kAccumulator);
      BorraNumero(kDisplayRegister);
      QuitaOperacion();
      AnotarOperacion(ch == 'L' ? "Borrar Datos (Clr)" : "Resetear (Rst)");
      break;
    case kDeleteKey:
      Borra();
      break;
    default:
      break;
  }
}

void Calculadora::Borra() {
  std::string s = FormatPlain(estado_.Numeros[kDisplayRegister], separators_.decimal);
  if (!s.empty()) s.pop_back();
  // The last digit of a negative number leaves its sign alone, which is no number: 0, as for
  // the last digit of a positive one.
  if (s.empty() || s == "-") s = "0";
  estado_.Numeros[kDisplayRegister] = ParseAmount(s, separators_.decimal);
  estado_.TextoEntrada = std::move(s);
}

bool RunCommand(CalculatorView& view, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const EngineError& e) {
    view.ShowMessage(MessageKind::kError, kApplicationTitle, std::string(e.what()) + ".");
    return false;
  }
}

}  // namespace dravello
