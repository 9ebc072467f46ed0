// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "OnDemand.h"

class QPrinter;

namespace dravello {
class TapeSaver;
}

// The parts of the window used now and then (OnDemand.h), in the module that the window loads at
// the first use of one of them. One window's: the printer keeps the user's choices from one
// print to the next, the saver the folder of the last file.
class OnDemandParts : public OnDemand {
 public:
  OnDemandParts();
  ~OnDemandParts() override;

  void ConfigureCurrencies(const std::string& settings_file, char decimal_separator,
                           dravello::TTablaMonedas& table, QWidget* parent) override;
  QString PrintTape(const dravello::TapeLines& lines, QWidget* parent) override;
  void SaveTape(dravello::TapeList* list, dravello::Separators separators) override;

 private:
  std::unique_ptr<QPrinter> printer_;  // made at the first print, when there is a printer
  std::unique_ptr<dravello::TapeSaver> saver_;
};
