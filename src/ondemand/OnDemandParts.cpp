// SPDX-License-Identifier: GPL-3.0-or-later
#include "OnDemandParts.h"

#include <QPrinter>

#include "TFormConfigMoneda.h"
#include "TapePrinter.h"
#include "TapeSaver.h"

OnDemandParts::OnDemandParts() = default;

OnDemandParts::~OnDemandParts() = default;

void OnDemandParts::ConfigureCurrencies(const std::string& settings_file, char decimal_separator,
                                        dravello::TTablaMonedas& table, QWidget* parent) {
  TFormConfigMoneda dialog(settings_file, decimal_separator, table, parent);
  dialog.exec();
}

QString OnDemandParts::PrintTape(const dravello::TapeLines& lines, QWidget* parent) {
  if (!dravello::TapePrinter::AnyPrinter())
    return QStringLiteral("No hay ninguna impresora instalada");
  // Made once there is a printer, so that it starts on the default one.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return dravello::TapePrinter::PrintWithDialog(lines, *printer_, parent);
}

void OnDemandParts::SaveTape(dravello::TapeList* list, dravello::Separators separators) {
  if (!saver_) saver_ = std::make_unique<dravello::TapeSaver>(list, separators);
  saver_->SaveAs();
}

// The module's entry (OnDemand::kEntry).
extern "C" Q_DECL_EXPORT OnDemand* dravello_new_on_demand() {
  return new OnDemandParts;
}
