// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include <QIcon>
#include <QImageReader>
#include <QToolButton>

#include "ui_TFormCalculadora.h"

QPixmap LoadPicture(const QString& resource) {
  QImageReader reader(resource, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

void ShowButtonPictures(const Ui::TFormCalculadora& ui) {
  const QIcon gold(LoadPicture(QStringLiteral(":/buttons/coin-gold.png")));
  const struct {
    QToolButton* button;
    QIcon icon;
  } pictures[] = {
      {ui.BitBtn1, QIcon(LoadPicture(QStringLiteral(":/buttons/copy.png")))},
      {ui.BitBtn2, QIcon(LoadPicture(QStringLiteral(":/buttons/paste.png")))},
      {ui.BitBtn3, QIcon(LoadPicture(QStringLiteral(":/buttons/printer.png")))},
      {ui.BitBtnCerrar, QIcon(LoadPicture(QStringLiteral(":/buttons/door.png")))},
      {ui.SpeedButton0, QIcon(LoadPicture(QStringLiteral(":/buttons/coin-yellow.png")))},
      {ui.SpeedButton1, gold},
      {ui.SpeedButton2, gold},
      {ui.SpeedButton3, gold},
      {ui.SpeedButton4, gold},
      {ui.SpeedButton5, gold},
      {ui.SpeedButton6, gold},
      {ui.SpeedButton9, QIcon(LoadPicture(QStringLiteral(":/buttons/banknote.png")))},
  };
  for (const auto& p : pictures) p.button->setIcon(p.icon);
}
