// SPDX-License-Identifier: GPL-3.0-or-later
#include "CorrectionDialog.h"

#include <QPushButton>

CorrectionDialog::CorrectionDialog(const QString& line, const QStringList& amounts, QWidget* parent)
    : QDialog(parent) {
  ui_.setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  ui_.LabelLinea->setText(QStringLiteral("Línea: «%1»").arg(line));
  setAccessibleDescription(ui_.LabelLinea->text());
  ui_.Botones->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
  ui_.Botones->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
  const bool two = amounts.size() > 1;
  if (!two) ui_.LabelImporte1->setText(QStringLiteral("&Importe:"));
  ui_.LabelImporte2->setVisible(two);
  ui_.EditImporte2->setVisible(two);
  ui_.EditImporte1->setText(amounts.value(0));
  ui_.EditImporte2->setText(amounts.value(1));
  for (QLineEdit* edit : {ui_.EditImporte1, ui_.EditImporte2}) {
    edit->setAccessibleName(
        (edit == ui_.EditImporte1 ? ui_.LabelImporte1 : ui_.LabelImporte2)->text().remove('&'));
    edit->selectAll();
  }
  // The amount usually corrected is the second operand, the last field.
  (two ? ui_.EditImporte2 : ui_.EditImporte1)->setFocus();
}

QStringList CorrectionDialog::Amounts() const {
  QStringList texts{ui_.EditImporte1->text()};
  if (!ui_.EditImporte2->isHidden()) texts << ui_.EditImporte2->text();
  return texts;
}
