// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

#include "ui_CorrectionDialog.h"

// "Corregir importe": the line being corrected and one field for each of its amounts that the
// user entered (one or two), opening with their values. The fields are labelled for screen
// readers and reached by Tab or by their underlined letters; Return accepts, Escape cancels.
class CorrectionDialog : public QDialog {
  Q_OBJECT

 public:
  CorrectionDialog(const QString& line, const QStringList& amounts, QWidget* parent = nullptr);

  // The texts of the fields, in order.
  QStringList Amounts() const;

 private:
  Ui::CorrectionDialog ui_;
};
