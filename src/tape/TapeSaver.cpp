// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeSaver.h"

#include <sys/statvfs.h>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>
#include <cerrno>
#include <climits>

#include "AtomicFileWriter.h"
#include "Calculadora.h"
#include "Cp1252.h"
#include "SystemErrorText.h"
#include "TapeExport.h"
#include "TapeLines.h"
#include "TapeList.h"
#include "TapeModel.h"
#include "TapePrinter.h"
#include "TapeSaveJob.h"

namespace dravello {

namespace {

constexpr int kPollMs = 50;
constexpr int kProgressDelayMs = 400;

const QString kTextFilter = QStringLiteral("Texto (*.txt)");
const QString kCsvFilter = QStringLiteral("CSV para hojas de cálculo (*.csv)");
const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");

QString SuffixOf(TapeFileKind kind) {
  switch (kind) {
    case TapeFileKind::kCsv:
      return QStringLiteral("csv");
    case TapeFileKind::kPdf:
      return QStringLiteral("pdf");
    case TapeFileKind::kText:
      break;
  }
  return QStringLiteral("txt");
}

TapeFileKind KindOfFilter(const QString& filter) {
  if (filter == kCsvFilter) return TapeFileKind::kCsv;
  if (filter == kPdfFilter) return TapeFileKind::kPdf;
  return TapeFileKind::kText;
}

// The reason for a PDF that did not come out whole: the printing system does not say why.
int PdfFailure(const std::string& temp) {
  const std::size_t slash = temp.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : temp.substr(0, slash + 1);
  struct statvfs disk;
  if (::statvfs(folder.c_str(), &disk) == 0 && disk.f_bavail == 0) return ENOSPC;
  return EIO;
}

// True when the file ends as a finished PDF does: the printing system leaves a file cut short
// by a full disk without a word.
bool EndsAsPdf(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 5) return false;
  file.seek(std::max<qint64>(0, file.size() - 64));
  return file.readAll().contains("%%EOF");
}

// Prints `lines` into a PDF at `path` through the printer's page code, on the save's thread.
SaveResult SavePdf(const TapeLines& lines, QPrinter& printer, const std::string& path,
                   SaveProgress& progress) {
  AtomicFileWriter file;
  if (!file.Open(path)) return SaveResult{SaveResult::Status::kFailed, file.Error()};
  const QString temp = QFile::decodeName(file.TempPath().c_str());
  printer.setOutputFileName(temp);
  const QString failure = TapePrinter::Print(lines, printer, [&progress](std::size_t done) {
    progress.done.store(done, std::memory_order_relaxed);
    return !progress.cancel.load(std::memory_order_relaxed);
  });
  if (progress.cancel.load()) return SaveResult{SaveResult::Status::kCancelled, 0};
  if (!failure.isEmpty() || !EndsAsPdf(temp)) {
    return SaveResult{SaveResult::Status::kFailed, PdfFailure(file.TempPath())};
  }
  if (!file.Commit()) return SaveResult{SaveResult::Status::kFailed, file.Error()};
  progress.done.store(lines.Count());
  return SaveResult{SaveResult::Status::kSaved, 0};
}

}  // namespace

TapeSaver::TapeSaver(TapeList* list, Separators separators, QObject* parent)
    : QObject(parent), list_(list), separators_(separators) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &TapeSaver::Poll);
}

TapeSaver::~TapeSaver() = default;

QProgressDialog* TapeSaver::Progress() const {
  return progress_.data();
}

TapeFileKind TapeSaver::KindOf(const QString& path, TapeFileKind fallback) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("txt")) return TapeFileKind::kText;
  if (suffix == QLatin1String("csv")) return TapeFileKind::kCsv;
  if (suffix == QLatin1String("pdf")) return TapeFileKind::kPdf;
  return fallback;
}

void TapeSaver::SaveAs() {
  if (Busy()) return;
  QFileDialog dialog(list_->window(), QStringLiteral("Guardar las operaciones"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({kTextFilter, kCsvFilter, kPdfFilter});
  dialog.setDefaultSuffix(SuffixOf(TapeFileKind::kText));
  // Qt's own dialog, where the desktop offers none; the desktop's speaks its language itself.
  dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Buscar en:"));
  dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre:"));
  dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
  dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Guardar"));
  dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
  dialog.setDirectory(folder_.isEmpty() ? QDir::homePath() : folder_);
  dialog.selectFile(QStringLiteral("Operaciones Realizadas.txt"));
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(SuffixOf(KindOfFilter(filter)));
  });
  // The dialog asks itself before it lets an existing file be chosen.
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().first();
  folder_ = QFileInfo(path).absolutePath();
  Save(path, KindOf(path, KindOfFilter(dialog.selectedNameFilter())));
}

void TapeSaver::Save(const QString& path, TapeFileKind kind) {
  if (Busy()) return;
  path_ = path;
  // A snapshot: the save reads it on its own thread while the window goes on adding lines.
  auto lines = std::make_shared<const TapeLines>(list_->Model()->Lines().Snapshot());
  const std::string file = QFile::encodeName(path).toStdString();
  TapeSaveJob::Work work;
  if (kind == TapeFileKind::kPdf) {
    // Made here: finding the default printer's settings belongs to the window's thread.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    work = [lines, printer, file](SaveProgress& progress) {
      return SavePdf(*lines, *printer, file, progress);
    };
  } else {
    const TapeExport format(kind == TapeFileKind::kCsv ? TapeFormat::kCsv : TapeFormat::kText,
                            separators_);
    work = [lines, format, file](SaveProgress& progress) {
      return format.Save(*lines, file, progress);
    };
  }
  try {
    job_ = std::make_unique<TapeSaveJob>(std::move(work));
  } catch (const std::exception&) {
    ShowFailure(EAGAIN);
    emit Finished(SaveResult::Status::kFailed);
    return;
  }

  const int lines_count = static_cast<int>(std::min<std::size_t>(lines->Count(), INT_MAX));
  progress_ = new QProgressDialog(
      QStringLiteral("Guardando las operaciones en «%1»…").arg(QFileInfo(path).fileName()),
      QStringLiteral("Cancelar"), 0, lines_count, list_->window());
  progress_->setWindowTitle(QString::fromLatin1(kApplicationTitle));
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setMinimumDuration(kProgressDelayMs);
  progress_->setAutoClose(false);
  progress_->setAutoReset(false);
  progress_->setValue(0);
  connect(progress_, &QProgressDialog::canceled, this, [this] {
    if (job_) job_->Cancel();
  });
  poll_.start();
}

void TapeSaver::Poll() {
  if (!job_) return;
  if (progress_ && !progress_->wasCanceled()) {
    progress_->setValue(static_cast<int>(std::min<std::size_t>(job_->LinesDone(), INT_MAX)));
  }
  if (!job_->Finished()) return;
  poll_.stop();
  const SaveResult result = job_->Result();
  job_.reset();
  delete progress_;
  if (result.status == SaveResult::Status::kFailed) ShowFailure(result.error);
  emit Finished(result.status);
}

void TapeSaver::ShowFailure(int error) {
  QWidget* window = list_->window();
  QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle),
                  QStringLiteral("No se ha podido guardar «%1»: %2.")
                      .arg(QDir::toNativeSeparators(path_),
                           QString::fromStdString(Cp1252ToUtf8(SystemErrorText(error)))),
                  QMessageBox::Ok, window);
  box.setTextFormat(Qt::PlainText);
  box.exec();
  if (window->isVisible() && !window->isActiveWindow()) window->activateWindow();
}

}  // namespace dravello

// The saver's meta-object is compiled here rather than with the list's: a program that uses the
// list alone then links none of the saver, nor Qt Print Support (see src/ondemand).
#include "moc_TapeSaver.cpp"
