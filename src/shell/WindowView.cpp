// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowView.h"

#include <QMessageBox>
#include <QToolButton>

#include "Cp1252.h"
#include "DesignLayout.h"
#include "LineAnnouncer.h"
#include "ReadoutLabel.h"
#include "THighButton.h"
#include "TapeList.h"
#include "TapeModel.h"
#include "ui_TFormCalculadora.h"

namespace {

QString Text(const std::string& cp1252) {
  return QString::fromStdString(dravello::Cp1252ToUtf8(cp1252));
}

}  // namespace

WindowView::WindowView(QWidget* window, const Ui::TFormCalculadora& ui)
    : window_(window),
      ui_(ui),
      memory_panels_{ui.PanelMemA, ui.PanelMemB, ui.PanelMemC},
      recall_buttons_{ui.HighButton26, ui.HighButton31, ui.HighButton32, ui.HighButton28},
      announcer_(new LineAnnouncer(ui.GradPan1)) {
  // The currency buttons by their tags, the equivalence cells by their names.
  for (QToolButton* button : ui.Panel9->findChildren<QToolButton*>()) {
    if (button == ui.SpeedButton9) continue;
    const int tag = button->property("Tag").toInt();
    if (tag >= 0 && tag < 7) currency_buttons_[tag] = button;
  }
  for (int slot = 1; slot <= 6; ++slot) {
    amount_cells_[slot] =
        ui.PanelCambios->findChild<ReadoutLabel*>(QStringLiteral("StaticTextM%1").arg(slot));
    abbreviation_cells_[slot] =
        ui.PanelCambios->findChild<ReadoutLabel*>(QStringLiteral("StaticTextMT%1").arg(slot));
  }
}

void WindowView::SetDecimalSeparator(char separator) {
  const QChar decimal(dravello::Cp1252ToCodePoint(separator));
  for (ReadoutLabel* field : {ui_.Panel1, ui_.PanelMemA, ui_.PanelMemB, ui_.PanelMemC, ui_.Panel5,
                              ui_.Panel6, ui_.Panel7, ui_.PanelEqui, ui_.PanelDeci}) {
    field->SetDecimalSeparator(decimal);
  }
  for (int slot = 1; slot <= 6; ++slot) {
    if (amount_cells_[slot]) amount_cells_[slot]->SetDecimalSeparator(decimal);
  }
}

void WindowView::SetPanel1(const std::string& caption) {
  ui_.Panel1->SetCaption(Text(caption));
}
void WindowView::SetPanel6(const std::string& caption) {
  ui_.Panel6->SetCaption(Text(caption));
}
void WindowView::SetPanel7(const std::string& caption) {
  ui_.Panel7->SetCaption(Text(caption));
}

void WindowView::SetMemoryPanel(int memory, const std::string& caption, dravello::WinColor colour) {
  if (memory < 0 || memory >= 3) return;
  memory_panels_[memory]->SetCaption(Text(caption));
  dravello::SetBackground(memory_panels_[memory], colour);
}

void WindowView::SetRecallButton(int memory, bool enabled, dravello::WinColor font_colour) {
  if (memory < 0 || memory >= 4) return;
  recall_buttons_[memory]->setEnabled(enabled);
  recall_buttons_[memory]->setUpColorFont(font_colour);
}

void WindowView::SetPanel5(const std::string& caption, dravello::WinColor colour,
                           const std::string& hint) {
  ui_.Panel5->SetCaption(Text(caption));
  dravello::SetBackground(ui_.Panel5, colour);
  ui_.Panel5->setToolTip(Text(hint));
  if (describe_by_hint_) ui_.Panel5->setAccessibleDescription(ui_.Panel5->toolTip());
}

void WindowView::AppendListLine(const std::string& line) {
  if (current_currency_) current_currency_(*ui_.ListBox1->Model());
  ui_.ListBox1->AnotarOperacion(line);
  announcer_->Announce(line);
}

void WindowView::ShowMessage(dravello::MessageKind kind, const std::string& caption,
                             const std::string& text) {
  QMessageBox::Icon icon = QMessageBox::Information;
  switch (kind) {
    case dravello::MessageKind::kWarning:
      icon = QMessageBox::Warning;
      break;
    case dravello::MessageKind::kError:
      icon = QMessageBox::Critical;
      break;
    case dravello::MessageKind::kInformation:
      icon = QMessageBox::Information;
      break;
    case dravello::MessageKind::kConfirm:
      icon = QMessageBox::Question;
      break;
  }
  QMessageBox box(icon, Text(caption), Text(text), QMessageBox::Ok, window_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  // The window and its focused control take the keys again, also where no window manager
  // hands the focus back.
  if (window_->isVisible() && !window_->isActiveWindow()) window_->activateWindow();
}

void WindowView::SetPanelMoneda(const std::string& caption) {
  ui_.PanelMoneda->SetCaption(Text(caption));
}
void WindowView::SetStaticText2(const std::string& caption) {
  ui_.StaticText2->SetCaption(Text(caption));
}
void WindowView::SetPanelDeci(const std::string& caption) {
  ui_.PanelDeci->SetCaption(Text(caption));
}
void WindowView::SetPanelEqui(const std::string& caption) {
  ui_.PanelEqui->SetCaption(Text(caption));
}

void WindowView::SetPanelEquiHint(const std::string& hint) {
  rate_note_ = Text(hint);
  ShowRateHint();
}

void WindowView::SetRatesUpdateNote(const QString& note) {
  update_note_ = note;
  ShowRateHint();
}

void WindowView::SetRatePanelKeys(const QString& keys) {
  rate_keys_ = keys;
  ShowRateHint();
}

void WindowView::ShowRateHint() {
  QStringList lines;
  for (const QString& line : {rate_note_, update_note_}) {
    if (!line.isEmpty()) lines << line;
  }
  // A screen reader says the description after the rate: the note, not the keys.
  if (describe_by_hint_) ui_.PanelEqui->setAccessibleDescription(lines.join(QLatin1Char('\n')));
  if (!rate_keys_.isEmpty()) lines << rate_keys_;
  ui_.PanelEqui->setToolTip(lines.join(QLatin1Char('\n')));
}

void WindowView::SetCurrencyButton(int tag, const std::string& caption, bool enabled) {
  if (tag < 0 || tag >= 7 || !currency_buttons_[tag]) return;
  QToolButton* button = currency_buttons_[tag];
  const QString text = Text(caption);
  button->setText(QString(text).replace(QLatin1Char('&'), QLatin1String("&&")));
  button->setEnabled(enabled);
  button->setAccessibleName(CurrencyButtonName(tag, text));
}

void WindowView::SetAmountCell(int slot, const std::string& text) {
  if (slot >= 1 && slot <= 6 && amount_cells_[slot]) amount_cells_[slot]->SetCaption(Text(text));
}

void WindowView::SetAbbreviationCell(int slot, const std::string& text) {
  if (slot >= 1 && slot <= 6 && abbreviation_cells_[slot]) {
    abbreviation_cells_[slot]->SetCaption(Text(text));
  }
}

QString WindowView::CurrencyButtonName(int tag, const QString& caption) {
  if (caption.isEmpty()) return QStringLiteral("Moneda %1 (sin definir)").arg(tag);
  return QStringLiteral("%1 (moneda %2)").arg(caption).arg(tag);
}
