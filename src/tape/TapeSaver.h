// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

#include "Formato.h"
#include "SaveProgress.h"

class QProgressDialog;
class QWidget;

namespace dravello {

class TapeList;
class TapeSaveJob;

enum class TapeFileKind { kText, kCsv, kPdf };

// "Guardar como…" of the operations list: the file dialog, then the save on a thread of its
// own over a snapshot of the lines, so that the window never waits; lines added meanwhile are
// not in the file. A progress dialog (window-modal, with "Cancelar") appears when the save
// takes more than a moment. A failure is shown in an error box that names the file and the
// reason; the file is then as it was, and no temporary file is left.
class TapeSaver : public QObject {
  Q_OBJECT

 public:
  // Saves the lines of `list`; CSV amounts are read with `separators`, the calculator's. The
  // dialogs are the children of the list's window.
  TapeSaver(TapeList* list, Separators separators, QObject* parent = nullptr);
  // A save still running is finished first.
  ~TapeSaver() override;

  // Asks for the file and its kind (by its extension, else by the chosen filter), then saves.
  // Does nothing while a save runs.
  void SaveAs();
  // Saves to `path` as `kind`, without the file dialog. Does nothing while a save runs.
  void Save(const QString& path, TapeFileKind kind);

  bool Busy() const { return job_ != nullptr; }
  // The progress dialog of the running save (it shows itself after a moment).
  QProgressDialog* Progress() const;

  // The kind of file a name asks for by its extension; `fallback` for any other name.
  static TapeFileKind KindOf(const QString& path, TapeFileKind fallback);

 signals:
  // Every save ends with this, after its error box if it failed.
  void Finished(dravello::SaveResult::Status status);

 private:
  void Poll();
  void ShowFailure(int error);

  TapeList* list_;
  Separators separators_;
  std::unique_ptr<TapeSaveJob> job_;
  QPointer<QProgressDialog> progress_;
  QTimer poll_;
  QString path_;
  QString folder_;  // where the file dialog opens next
};

}  // namespace dravello
