// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolkitTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace dravello {

bool LoadToolkitTranslations(QCoreApplication& app) {
  // The file is mapped into memory, not read: loading it costs next to nothing at start-up.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_es"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace dravello
