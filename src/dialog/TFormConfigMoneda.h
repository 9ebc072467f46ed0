// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <chrono>
#include <string>

#include "CamposMonedas.h"
#include "TMoneda.h"
#include "ui_TFormConfigMoneda.h"

class FieldEdit;
class RatesUpdater;

// The modal dialog "Definición de Cambios y Monedas" in which the user defines the base currency
// and up to six further ones. Its state is the text of its twenty fields; the rules by which
// they become the settings file and the currency table are those of CamposMonedas, the same as
// at start-up.
//
// Aceptar writes the fields to the settings file, fills the table from them and closes the
// dialog (Accepted). When the file cannot be written the error is shown and the dialog stays
// open with the fields as the user left them, the table untouched, so the user can try again or
// cancel. Cancelar, Esc and the close box close it (Rejected) and change nothing.
//
// "Actualizar cambios" fills the rate fields from today's euro reference rates (RatesUpdater);
// while it fetches, Esc stops the fetch instead of closing the dialog, and closing the dialog
// in any way stops it silently. Only Aceptar writes what it filled in, with the day and source
// of each rate so filled; a rate or an abbreviation typed by hand loses its row's. The status
// line opens with the age of the rates. "Actualizar al abrir si tienen más de N días" is kept
// by Aceptar too. The button beside each rate opens the chart of its history (RateChart).
class TFormConfigMoneda : public QDialog {
  Q_OBJECT

 public:
  // `ruta_ini`: the settings file; `separador_decimal`: the user's regional decimal separator;
  // `tabla`: the table that Aceptar fills, which must outlive the dialog. Creating the dialog
  // reads the settings file into the fields (FormCreate).
  TFormConfigMoneda(std::string ruta_ini, char separador_decimal, dravello::TTablaMonedas& tabla,
                    QWidget* parent = nullptr);

  // The fields from the settings file (each key's value or its default), shown whole.
  void LeeIni();
  // The twenty fields as they stand now.
  dravello::CamposMonedas Campos() const;

  // The field of an entry: EditCambio takes 1 to 6, the others 0 to 6; nullptr otherwise.
  FieldEdit* EditMoneda(int n) const;
  FieldEdit* EditDecimales(int n) const;
  FieldEdit* EditCambio(int n) const;

  // The longest a fetch of the rates may take: 15 s unless set (the tests use less).
  void SetFeedTimeout(std::chrono::milliseconds timeout);

 public slots:
  // The click handlers that the layout connects, named after their controls.
  void BitBtn1Click();           // "Aceptar": save the fields and close, or say why not
  void BitBtnActualizarClick();  // "Actualizar cambios": fetch today's rates; "Interrumpir" stops
  void BitBtnEvolucionClick();   // the button beside a rate (its tag): the rate's history
  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormCreate();
  void NameControlsForAssistiveTools();
  void CentreOnScreen();
  // The history buttons' picture: a small line chart.
  void DrawChartIcons();
  // The general error report: the program's title, an error icon, the message and a full stop.
  void ShowError(const QString& message);

  Ui::TFormConfigMoneda ui_;
  std::string ruta_ini_;
  char separador_decimal_;
  dravello::TTablaMonedas& tabla_;
  dravello::RatesStamp stamp_;  // as the fields stand
  RatesUpdater* rates_ = nullptr;
};
