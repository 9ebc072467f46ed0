// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFormConfigMoneda.h"

#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <utility>

#include "Calculadora.h"
#include "Currency.h"
#include "DesignLayout.h"
#include "FeedMessages.h"
#include "FieldEdit.h"
#include "IsoDates.h"
#include "RateChart.h"
#include "RatesUpdater.h"

// The pictures are compiled into this static library, which registers them itself (outside any
// namespace, as Qt requires).
static void InitDialogResources() {
  Q_INIT_RESOURCE(dialog);
}

namespace {

// A PNG picture of the resources, read by Qt's PNG reader alone (no format plugins loaded).
QIcon Picture(const QString& resource) {
  InitDialogResources();
  QImageReader reader(resource, "png");
  reader.setAutoDetectImageFormat(false);
  return QIcon(QPixmap::fromImage(reader.read()));
}

}  // namespace

TFormConfigMoneda::TFormConfigMoneda(std::string ruta_ini, char separador_decimal,
                                     dravello::TTablaMonedas& tabla, QWidget* parent)
    : QDialog(parent),
      ruta_ini_(std::move(ruta_ini)),
      separador_decimal_(separador_decimal),
      tabla_(tabla) {
  ui_.setupUi(this);
  // A dialog border: a title and a close box, no other buttons; ApplyDesign fixes the size.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  // The dialog's own pictures: the style's would follow the desktop's icon theme.
  ui_.BitBtn1->setIcon(Picture(QStringLiteral(":/dialog/accept.png")));
  ui_.BitBtn2->setIcon(Picture(QStringLiteral(":/dialog/cancel.png")));
  ui_.BitBtnActualizar->setIcon(Picture(QStringLiteral(":/dialog/update.png")));
  DrawChartIcons();
  dravello::ApplyDesign(this, dravello::ScaleForScreen(this));
  NameControlsForAssistiveTools();
  CentreOnScreen();

  connect(ui_.BitBtn1, &QPushButton::clicked, this, &TFormConfigMoneda::BitBtn1Click);
  connect(ui_.BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_.BitBtnActualizar, &QPushButton::clicked, this,
          &TFormConfigMoneda::BitBtnActualizarClick);
  // The first control in the tab order.
  ui_.BitBtn1->setFocus(Qt::OtherFocusReason);
  FormCreate();
}

void TFormConfigMoneda::FormCreate() {
  LeeIni();
  RatesUpdater::Controls controls{this, ui_.BitBtnActualizar, ui_.LabelActualizacion, {}, {}};
  for (int n = 0; n < dravello::kNumeroMonedas; ++n) {
    controls.abreviaturas[static_cast<std::size_t>(n)] = EditMoneda(n);
    controls.cambios[static_cast<std::size_t>(n)] = EditCambio(n);
    if (n == 0) continue;
    // A rate or an abbreviation typed by hand makes the row's rate the user's own.
    for (FieldEdit* field : {EditMoneda(n), EditCambio(n)}) {
      connect(field, &QLineEdit::textEdited, this,
              [this, n] { stamp_.rows[static_cast<std::size_t>(n)] = {}; });
    }
  }
  const QString age = dravello::FromCp1252(dravello::UpdateAgeLine(stamp_, dravello::LocalToday()));
  rates_ = new RatesUpdater(controls, ruta_ini_, separador_decimal_, age,
                            stamp_.update_at_start ? stamp_.max_age_days : 0, this);
  rates_->on_filled = [this](const std::string& date, const std::string& host,
                             const std::array<bool, dravello::kNumeroMonedas>& rows) {
    const dravello::RateOrigin origin{date, host};
    stamp_.update = origin;
    for (std::size_t n = 1; n < rows.size(); ++n) {
      if (rows[n]) stamp_.rows[n] = origin;
    }
  };
}

void TFormConfigMoneda::LeeIni() {
  dravello::CamposMonedas campos(ruta_ini_, separador_decimal_);
  campos.LeeIni();
  for (int n = 0; n < dravello::kNumeroMonedas; ++n) {
    EditMoneda(n)->SetFieldText(campos.EditMoneda(n));
    EditDecimales(n)->SetFieldText(campos.EditDecimales(n));
    if (n > 0) EditCambio(n)->SetFieldText(campos.EditCambio(n));
  }
  stamp_ = campos.Stamp();
  ui_.CheckActualizarAlAbrir->setChecked(stamp_.update_at_start);
  ui_.SpinDias->setValue(stamp_.max_age_days);
}

dravello::CamposMonedas TFormConfigMoneda::Campos() const {
  dravello::CamposMonedas campos(ruta_ini_, separador_decimal_);
  for (int n = 0; n < dravello::kNumeroMonedas; ++n) {
    campos.EditMoneda(n) = EditMoneda(n)->FieldText();
    campos.EditDecimales(n) = EditDecimales(n)->FieldText();
    if (n > 0) campos.EditCambio(n) = EditCambio(n)->FieldText();
  }
  campos.Stamp() = stamp_;
  campos.Stamp().update_at_start = ui_.CheckActualizarAlAbrir->isChecked();
  campos.Stamp().max_age_days = ui_.SpinDias->value();
  return campos;
}

void TFormConfigMoneda::BitBtn1Click() {
  dravello::CamposMonedas campos = Campos();
  try {
    campos.GrabaIni();
  } catch (const dravello::EngineError& e) {
    // The message names the file by its path, in the file system's encoding. The fields keep
    // what the user typed (the separators of the rates are changed only in what is written).
    ShowError(QFile::decodeName(e.what()));
    return;
  }
  campos.AplicaMonedas(tabla_);
  accept();
}

void TFormConfigMoneda::BitBtnActualizarClick() {
  rates_->Click();
}

void TFormConfigMoneda::BitBtnEvolucionClick() {
  const int n = sender() != nullptr ? sender()->property("Tag").toInt() : 0;
  if (EditCambio(n) == nullptr) return;
  dravello::CamposMonedas campos = Campos();
  dravello::TTablaMonedas tabla{};
  campos.AplicaMonedas(tabla);
  RateChart::Open(
      {ruta_ini_, tabla[0].Moneda, tabla[static_cast<std::size_t>(n)].Moneda,
       tabla[static_cast<std::size_t>(n)].Cambio, separador_decimal_, dravello::LocalToday()},
      this);
}

void TFormConfigMoneda::SetFeedTimeout(std::chrono::milliseconds timeout) {
  rates_->SetTimeout(timeout);
}

void TFormConfigMoneda::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Cancel) && rates_->Running()) {
    rates_->Cancel();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFormConfigMoneda::done(int result) {
  rates_->Abandon();
  QDialog::done(result);
}

FieldEdit* TFormConfigMoneda::EditMoneda(int n) const {
  if (n < 0 || n >= dravello::kNumeroMonedas) return nullptr;
  return findChild<FieldEdit*>(QStringLiteral("EditMoneda%1").arg(n));
}

FieldEdit* TFormConfigMoneda::EditDecimales(int n) const {
  if (n < 0 || n >= dravello::kNumeroMonedas) return nullptr;
  return findChild<FieldEdit*>(QStringLiteral("EditDecimales%1").arg(n));
}

FieldEdit* TFormConfigMoneda::EditCambio(int n) const {
  if (n < 1 || n >= dravello::kNumeroMonedas) return nullptr;
  return findChild<FieldEdit*>(QStringLiteral("EditCambio%1").arg(n));
}

void TFormConfigMoneda::NameControlsForAssistiveTools() {
  // Assistive tools do not see object names; the description carries the control's name.
  setAccessibleDescription(objectName());
  for (QWidget* widget : findChildren<QWidget*>()) {
    const QString name = widget->objectName();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) {
      widget->setAccessibleDescription(name);
    }
  }
}

void TFormConfigMoneda::CentreOnScreen() {
  // On the screen, not over the main window; placing it also keeps QDialog from doing so. The
  // window frame is not known before the dialog shows, so the client area is centred.
  const QScreen* screen = this->screen();
  if (screen == nullptr) return;
  QRect client = rect();
  client.moveCenter(screen->availableGeometry().center());
  setGeometry(client);
}

void TFormConfigMoneda::DrawChartIcons() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
  painter.drawLine(2, 14, 15, 14);
  painter.drawLine(2, 14, 2, 1);
  painter.setPen(QPen(QColor(0x00, 0x00, 0x80), 1.6));
  const QPointF line[] = {{3, 11}, {6, 8}, {9, 10}, {12, 4}, {15, 6}};
  painter.drawPolyline(line, 5);
  painter.end();
  for (int n = 1; n < dravello::kNumeroMonedas; ++n) {
    if (auto* button = findChild<QToolButton*>(QStringLiteral("BitBtnEvolucion%1").arg(n))) {
      button->setIcon(QIcon(picture));
    }
  }
}

void TFormConfigMoneda::ShowError(const QString& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(dravello::kApplicationTitle),
                  message + QLatin1Char('.'), QMessageBox::Ok, this);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}
