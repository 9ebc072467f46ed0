// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolkitTranslations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <mutex>

namespace dravello {

namespace {

const char kFile[] = "qtbase_es";

// A translator that loads its file when it is first asked for a translation. Texts are asked
// for from any thread (an error text of a file being saved), hence the once-only load.
class ToolkitTranslator : public QTranslator {
 public:
  ToolkitTranslator(QString folder, QObject* parent)
      : QTranslator(parent), folder_(std::move(folder)) {}

  bool isEmpty() const override { return false; }

  QString translate(const char* context, const char* source, const char* disambiguation,
                    int n) const override {
    // Installing a translator asks at once which way the language is written: Spanish, as the
    // toolkit's own text, left to right.
    if (qstrcmp(context, "QGuiApplication") == 0 && qstrcmp(source, "QT_LAYOUT_DIRECTION") == 0)
      return QString();
    // A file that cannot be read leaves the toolkit's English.
    std::call_once(loaded_,
                   [this] { static_cast<void>(texts_.load(QLatin1String(kFile), folder_)); });
    return texts_.translate(context, source, disambiguation, n);
  }

 private:
  const QString folder_;
  mutable std::once_flag loaded_;
  mutable QTranslator texts_;
};

}  // namespace

bool LoadToolkitTranslations(QCoreApplication& app) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(kFile) + QLatin1String(".qm")))
    return false;
  return QCoreApplication::installTranslator(new ToolkitTranslator(folder, &app));
}

}  // namespace dravello
