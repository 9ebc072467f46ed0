// SPDX-License-Identifier: GPL-3.0-or-later
// The key text of dravello-replay, which is also the journal of a session: any bytes are read
// or refused with a message, as replay input and as a journal whose end may be torn; what a
// journal reads writes back as text that reads the same, and the commands read run through the
// calculator and its currencies without a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Calculadora.h"
#include "CommandRunner.h"
#include "JournalText.h"
#include "Monedas.h"
#include "NullView.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace dravello;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  JournalRead strict;
  std::string error;
  ReadJournalText(text, JournalTextMode::kStrict, strict, error);
  JournalRead read;
  if (!ReadJournalText(text, JournalTextMode::kTornEnd, read, error)) return 0;

  std::string again;
  if (read.start) AppendJournalStart(*read.start, again);
  for (const JournalEntry& entry : read.entries) AppendJournalEntry(entry, again);
  JournalRead reread;
  if (!ReadJournalText(again, JournalTextMode::kStrict, reread, error) ||
      reread.entries.size() > read.entries.size()) {
    std::abort();
  }

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
  for (const JournalEntry& entry : read.entries) {
    RunJournalCommand(entry, calculadora, monedas, view);
  }
  return 0;
}
