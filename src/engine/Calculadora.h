// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include "CalculatorView.h"
#include "Currency.h"
#include "Formato.h"

namespace dravello {

inline constexpr const char* kApplicationTitle = "Calculadora Dravello";

// The character with code 189, the one-half sign of Windows-1252.
inline constexpr char kHalfKey = '\xBD';
inline constexpr char kDeleteKey = '\b';

// Colours of the memory panels and recall buttons.
inline constexpr WinColor kMemoryUsedColour = 0x58BEEF;
inline constexpr WinColor kMemoryEmptyColour = 0x0C597E;
inline constexpr WinColor kRecallEnabledFont = 0xBFFFFF;
inline constexpr WinColor kRecallDisabledFont = 0x404080;

// The registers of EstadoCalculadora::Numeros.
inline constexpr int kAccumulator = 1;
inline constexpr int kDisplayRegister = 2;

// The two indicators beside the display: the pending operator (Panel6) and the last key
// (Panel7).
enum class Indicator { kOperator, kKey };

// Everything the calculator remembers between two keys. Other parts of the program (the
// clipboard, the currency switch) read and change it directly, as the window's own fields.
struct EstadoCalculadora {
  std::string TextoEntrada;   // the characters typed for the current number
  Currency Numeros[3] = {};   // [kAccumulator], [kDisplayRegister]; [0] unused
  char Operacion = '\0';      // the pending two-operand operator, or code 0
  bool HayNumero = false;     // an operand is available
  bool HayOperacion = false;  // Operacion holds a pending operator
  bool NuevaEntrada = false;  // the next digit starts a new number
  Currency MemoriaA, MemoriaB, MemoriaC;
  Currency MemoriaAux;  // the accumulating memory
};

// The calculator engine: its state, the command driver and the evaluator. Every output goes to
// the view. Commands that fail throw EngineError at the failing step, leaving what was done
// before it; the caller shows the failure (see RunCommand).
class Calculadora {
 public:
  Calculadora(CalculatorView& view, Separators separators);

  // The start values of every register, flag and memory; no output.
  void Inicia();

  // The single entry point of user actions: one command character.
  void ProcesaTecla(char ch);
  void ProcesaMemoria(char ch);
  void ProcesaOperador(char ch);
  // Makes `value` the display value and shows it, then notifies the display listener.
  void PoneDisplay(Currency value);
  void MuestraIndicador(const std::string& text, Indicator indicator);

  // One operation on the registers and memories, with its line in the operations list.
  void Calcula(char ch);
  std::string EcoOperacion(char op) const;

  // True exactly for the 23 characters of the command alphabet.
  static bool EsComando(char ch);

  // Clears register `i` (kAccumulator or kDisplayRegister); the display register also drops the
  // typed text.
  void BorraNumero(int i);
  void PasaAcumulador();
  void PoneOperacion(char ch);
  void QuitaOperacion();
  void BorraMemorias();
  void ActualizaMemorias();
  void AnotarOperacion(const std::string& linea);
  void ColorBotonMemoria(int memory, bool enabled);

  // The display mask's number of decimals (the current currency's); negative means none.
  void SetDecimales(int decimals) { decimales_ = decimals; }
  int Decimales() const { return decimales_; }
  // `value` formatted with the current display mask.
  std::string Formatea(Currency value) const;

  // Called by PoneDisplay after every display change (the equivalences panel's refresh).
  void SetDisplayListener(std::function<void()> listener) {
    display_listener_ = std::move(listener);
  }

  // The display's text as last shown (Panel1's caption).
  const std::string& DisplayText() const { return display_text_; }
  // With a state put back as it was (Estado()), the display's text as it then was; no output.
  void RestoreDisplayText(std::string text) { display_text_ = std::move(text); }

  EstadoCalculadora& Estado() { return estado_; }
  const EstadoCalculadora& Estado() const { return estado_; }
  const Separators& Separadores() const { return separators_; }
  CalculatorView& View() { return view_; }

 private:
  void EntradaNumero(char ch);
  void ProcesaPorcentaje(char ch);
  void Borra();

  CalculatorView& view_;
  Separators separators_;
  EstadoCalculadora estado_;
  int decimales_ = 2;
  std::string display_text_;
  std::function<void()> display_listener_;
};

// Runs one command (a key or a click). When it fails, shows the general error report (the
// application's title, an error icon, the message and a full stop) and returns false.
bool RunCommand(CalculatorView& view, const std::function<void()>& command);

}  // namespace dravello
