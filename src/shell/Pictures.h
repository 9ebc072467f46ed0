// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

namespace Ui {
class TFormCalculadora;
}

// The window's pictures, compiled into the program (resources/dravello.qrc).

// A PNG picture of the resources. Read by Qt's own PNG reader alone: letting Qt guess the
// format would load every image-format plugin at start-up.
QPixmap LoadPicture(const QString& resource);

// The pictures of the tool and currency buttons.
void ShowButtonPictures(const Ui::TFormCalculadora& ui);
