// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "Formato.h"
#include "TMoneda.h"

class QWidget;

namespace dravello {
class TapeLines;
class TapeList;
}  // namespace dravello

// The parts of the window that are used now and then and bring toolkit modules or much code of
// their own: the currency dialog, printing the operations list (Qt Print Support) and saving it
// (the file dialog). They are built into the program's module dravello-ondemand (src/ondemand),
// which the window loads at the first use of any of them (ProgramModule.h), so that a start
// loads none of it. A part of that kind joins them: a function here, its body in
// src/ondemand/OnDemandParts.
class OnDemand {
 public:
  virtual ~OnDemand() = default;

  // "Configurar": the currency dialog over `table` and the settings file `settings_file`, with
  // `decimal_separator`, until it closes.
  virtual void ConfigureCurrencies(const std::string& settings_file, char decimal_separator,
                                   dravello::TTablaMonedas& table, QWidget* parent) = 0;

  // The print button: the print dialog for the printer kept from the last time (the default one
  // at first), then `lines` on paper. The print system's failure as a message for an error box
  // (without a closing full stop), or an empty string (see TapePrinter).
  virtual QString PrintTape(const dravello::TapeLines& lines, QWidget* parent) = 0;

  // "Guardar como…" of the list's menu (see TapeSaver); `separators` read the amounts of a CSV
  // file. A save still running is finished when the parts go.
  virtual void SaveTape(dravello::TapeList* list, dravello::Separators separators) = 0;

  // New parts, the module loaded at the first call. Nothing when it cannot be loaded: `error`
  // then says why.
  static std::unique_ptr<OnDemand> Load(QString& error);

  static constexpr const char* kModule = "dravello-ondemand";
  // The module's entry: `OnDemand* dravello_new_on_demand()` makes new parts.
  static constexpr const char* kEntry = "dravello_new_on_demand";
};
