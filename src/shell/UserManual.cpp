// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserManual.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "Calculadora.h"
#include "ManualPath.h"
#include "ProgramPath.h"

void OpenUserManual(QWidget* window) {
  const QString page =
      QFile::decodeName(QByteArray::fromStdString(dravello::ManualFile(dravello::DirPrograma())));
  QString text;
  if (!QFileInfo(page).isFile()) {
    text = QStringLiteral("No se encuentra el manual de la calculadora. Debería estar en:\n%1");
  } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
    text = QStringLiteral(
        "No hay ningún navegador con el que abrir el manual de la calculadora. "
        "Puede abrirlo usted mismo; está en:\n%1");
  } else {
    return;
  }
  QMessageBox box(QMessageBox::Information, QString::fromLatin1(dravello::kApplicationTitle),
                  text.arg(page), QMessageBox::Ok, window);
  box.setTextFormat(Qt::PlainText);
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
  if (window->isVisible() && !window->isActiveWindow()) window->activateWindow();
}
