// SPDX-License-Identifier: GPL-3.0-or-later
#include "GalleryWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "Accelerator.h"
#include "DialogKeys.h"
#include "TGradBtn.h"
#include "THighButton.h"

namespace {

// The calculator's keypad look, with its Arial at the 96-dpi scale of the window's layout.
void UseKeypadLook(THighButton* b, int pixel_size, bool bold) {
  b->setUpColor(0x10335A);
  b->setDownColor(0x0000FF);
  b->setUpColorFont(0xBFFFFF);
  b->setDownColorFont(0xFFFFFF);
  b->setBevelOuter(THighButton::bvNone);
  b->setBorderStyle(THighButton::bsSingle);
  b->setCtl3D(false);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  b->setFont(font);
}

// Holds a gradient button down as a left press does, for the picture.
void HoldDown(TGradBtn* b) {
  const QPointF at(2, 2);
  QMouseEvent press(QEvent::MouseButtonPress, at, b->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(b, &press);
}

QString StyleName(int style) {
  static const char* const names[] = {"gsHorizontal", "gsVertical",   "gsElliptic",
                                      "gsRectangle",  "gsVertCenter", "gsHorizCenter"};
  return QString::fromLatin1(names[style]);
}

}  // namespace

GalleryWindow::GalleryWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Galer\u00EDa de botones"));
  auto* column = new QVBoxLayout(this);

  auto* high_box = new QGroupBox(QStringLiteral("THighButton"), this);
  auto* high = new QGridLayout(high_box);
  AddHighButton(high, 0, 0, QStringLiteral("bvRaised (default)"), QStringLiteral("&Aceptar"));
  AddHighButton(high, 0, 1, QStringLiteral("bvLowered"), QStringLiteral("&Bajo"))
      ->setBevelOuter(THighButton::bvLowered);
  AddHighButton(high, 0, 2, QStringLiteral("bvNone"), QStringLiteral("&Plano"))
      ->setBevelOuter(THighButton::bvNone);
  auto* sunken =
      AddHighButton(high, 0, 3, QStringLiteral("bsSingle, Ctl3D"), QStringLiteral("Bor&de 3D"));
  sunken->setBorderStyle(THighButton::bsSingle);
  auto* flat =
      AddHighButton(high, 0, 4, QStringLiteral("bsSingle, flat"), QStringLiteral("Borde &simple"));
  flat->setBorderStyle(THighButton::bsSingle);
  flat->setCtl3D(false);
  flat->setCancel(true);

  const struct {
    const char16_t* caption;
    int pixel_size;
    bool bold;
    const char* label;
  } keypad[] = {
      {u"7", 18, true, "keypad"},
      {u"+", 18, true, "keypad"},
      {u"&X\u00B2", 14, false, "accelerator X"},
      {u"M(&a)", 14, false, "accelerator a"},
      {u"a&&b", 14, false, "literal &&"},
  };
  int column_index = 0;
  for (const auto& k : keypad) {
    auto* b = AddHighButton(high, 2, column_index++, QString::fromLatin1(k.label),
                            QString::fromUtf16(k.caption));
    UseKeypadLook(b, k.pixel_size, k.bold);
  }
  auto* execute = AddHighButton(high, 4, 0, QStringLiteral("Enter (active)"),
                                QStringLiteral("Ejecutar <--- (=)"));
  UseKeypadLook(execute, 14, false);
  high->addWidget(execute, 5, 0, 1, 2);
  execute->setFixedSize(154, 25);
  execute->setFocus();
  auto* down = AddHighButton(high, 4, 2, QStringLiteral("ShowDown"), QStringLiteral("Mem-> &Dis"));
  UseKeypadLook(down, 14, false);
  down->ShowDown();
  auto* dimmed =
      AddHighButton(high, 4, 3, QStringLiteral("disabled, dimmed"), QStringLiteral("(a)->"));
  UseKeypadLook(dimmed, 14, false);
  dimmed->setUpColorFont(0x404080);
  dimmed->setEnabled(false);
  auto* flashing =
      AddHighButton(high, 4, 4, QStringLiteral("Flash(300) on click"), QStringLiteral("&Flash"));
  UseKeypadLook(flashing, 14, false);
  connect(flashing, &THighButton::clicked, flashing, [flashing] { flashing->Flash(300); });
  column->addWidget(high_box);

  auto* grad_box = new QGroupBox(QStringLiteral("TGradBtn"), this);
  auto* grad = new QGridLayout(grad_box);
  for (int style = TGradBtn::gsHorizontal; style <= TGradBtn::gsHorizCenter; ++style) {
    auto* up = AddGradBtn(grad, 0, style, StyleName(style), QStringLiteral("Abrir - Cerrar"));
    up->setGradientStyle(TGradBtn::TGradientStyle(style));
    auto* held = AddGradBtn(grad, 2, style, StyleName(style) + QStringLiteral(", down"),
                            QStringLiteral("Abrir - Cerrar"));
    held->setGradientStyle(TGradBtn::TGradientStyle(style));
    HoldDown(held);
  }
  const struct {
    TGradBtn::TTextStyle style;
    TGradBtn::TShadeType shade;
    const char* label;
  } texts[] = {
      {TGradBtn::tsNormal, TGradBtn::stLight, "tsNormal"},
      {TGradBtn::tsRaised, TGradBtn::stLight, "tsRaised"},
      {TGradBtn::tsRaised, TGradBtn::stHeavy, "tsRaised, stHeavy"},
      {TGradBtn::tsInset, TGradBtn::stLight, "tsInset"},
      {TGradBtn::tsInset, TGradBtn::stHeavy, "tsInset, stHeavy"},
  };
  column_index = 0;
  for (const auto& t : texts) {
    auto* b =
        AddGradBtn(grad, 4, column_index++, QString::fromLatin1(t.label), QStringLiteral("Texto"));
    b->setGradientStyle(TGradBtn::gsHorizontal);
    b->setBeginColor(0x808080);
    b->setEndColor(0xC0C0C0);
    b->setFontColor(0x000000);
    b->setTextStyle(t.style);
    b->setTextShadeType(t.shade);
    QFont font = b->font();
    font.setPixelSize(16);
    font.setBold(true);
    b->setFont(font);
  }
  // The calculator's two "Abrir - Cerrar" buttons, at the 96-dpi scale of the window's layout.
  auto* calculator =
      AddGradBtn(grad, 4, 5, QStringLiteral("calculator"), QStringLiteral("Abrir - Cerrar"));
  calculator->setFixedSize(63, 13);
  calculator->setBtnHiliteClr(0x000000);
  calculator->setBtnShadowClr(0x000000);
  calculator->setBeginColor(0x10335A);
  calculator->setEndColor(0x0080FF);
  calculator->setGradientStyle(TGradBtn::gsElliptic);
  calculator->setFontColor(0x00FFFF);
  QFont small(QStringLiteral("Small Fonts"));
  small.setPixelSize(8);
  calculator->setFont(small);
  column->addWidget(grad_box);

  status_ =
      new QLabel(QStringLiteral("Pulse un bot\u00F3n, Intro, Escape o una letra subrayada."), this);
  column->addWidget(status_);
  new DialogKeys(this);
}

THighButton* GalleryWindow::AddHighButton(QGridLayout* grid, int row, int column,
                                          const QString& label, const QString& caption) {
  auto* b = new THighButton(this);
  b->setCaption(caption);
  b->setFixedSize(100, 31);
  b->setAccessibleDescription(label);
  grid->addWidget(new QLabel(label, this), row, column);
  grid->addWidget(b, row + 1, column);
  connect(b, &THighButton::clicked, this,
          [this, b] { Report(dravello::SplitCaption(b->Caption()).shown); });
  return b;
}

TGradBtn* GalleryWindow::AddGradBtn(QGridLayout* grid, int row, int column, const QString& label,
                                    const QString& caption) {
  auto* b = new TGradBtn(this);
  b->setCaption(caption);
  b->setFixedSize(100, 25);
  b->setAccessibleDescription(label);
  grid->addWidget(new QLabel(label, this), row, column);
  grid->addWidget(b, row + 1, column);
  connect(b, &TGradBtn::clicked, this, [this, label] { Report(label); });
  return b;
}

void GalleryWindow::Report(const QString& what) {
  status_->setText(QStringLiteral("Clic: ") + what);
}
