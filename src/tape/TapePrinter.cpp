// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapePrinter.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <dlfcn.h>

#include "TapeExport.h"
#include "TapeLines.h"
#include "TapeModel.h"

namespace dravello {

namespace {

QString Failure(const QPrinter& printer, const QString& what) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    return QStringLiteral("No se ha podido imprimir en el archivo \"%1\"")
        .arg(printer.outputFileName());
  }
  if (printer.printerName().isEmpty()) return QStringLiteral("No hay ninguna impresora");
  return QStringLiteral("La impresora \"%1\" ha fallado al %2").arg(printer.printerName(), what);
}

// The last answer of CUPS to this thread, when Qt's print plugin has loaded libcups. The program
// does not link libcups itself: it would load with its own dependencies at every start.
bool LastCupsError(int& status, QString& text) {
  void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (cups == nullptr) return false;
  using LastError = int (*)();
  using LastErrorString = const char* (*)();
  const auto last_error = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
  const auto last_error_string =
      reinterpret_cast<LastErrorString>(dlsym(cups, "cupsLastErrorString"));
  const bool found = last_error != nullptr && last_error_string != nullptr;
  if (found) {
    status = last_error();
    const char* message = last_error_string();
    text = QString::fromUtf8(message ? message : "").trimmed();
  }
  dlclose(cups);
  return found;
}

// Qt hands a finished job to CUPS without looking at the answer; libcups keeps the answer to
// the last request of this thread, which for a job just ended on a CUPS printer is that one.
QString RefusedByCups(const QPrinter& printer) {
  constexpr int kIppStatusOkConflicting = 0x0002;  // the last of the successful answers
  int status = 0;
  QString reason;
  if (printer.outputFormat() != QPrinter::NativeFormat || !LastCupsError(status, reason) ||
      status <= kIppStatusOkConflicting) {
    return QString();
  }
  if (reason.endsWith(u'.')) reason.chop(1);  // the error box adds the full stop
  return QStringLiteral("La impresora \"%1\" no ha aceptado el trabajo: %2")
      .arg(printer.printerName(), reason);
}

}  // namespace

bool TapePrinter::AnyPrinter() {
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString TapePrinter::PrintWithDialog(const TapeLines& lines, QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return Print(lines, printer);
}

QString TapePrinter::Print(const TapeLines& lines, QPrinter& printer,
                           const std::function<bool(std::size_t)>& progress) {
  if (!printer.setPageOrientation(QPageLayout::Portrait)) {
    return Failure(printer, QStringLiteral("ponerse en vertical"));
  }
  printer.setDocName(QString::fromLatin1(kJobTitle));
  printer.setFullPage(false);  // coordinates start at the corner of the printable area

  QPainter painter;
  if (!painter.begin(&printer)) return Failure(printer, QStringLiteral("empezar el trabajo"));

  const QFontMetrics metrics = painter.fontMetrics();
  const int h = metrics.height();
  const double bottom = printer.pageRect(QPrinter::DevicePixel).height();
  int y = h;
  bool page_has_lines = false;
  const bool with_rates = lines.RatesChanged();
  const std::vector<std::string> closing = TapeExport::ClosingLines(lines);
  const std::size_t count = lines.Count() + closing.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (page_has_lines && y + h > bottom) {
      if (progress && !progress(std::min(i, lines.Count()))) {
        printer.abort();
        painter.end();
        return QString();
      }
      if (!printer.newPage()) {
        painter.end();
        return Failure(printer, QStringLiteral("empezar una página nueva"));
      }
      y = h;
      page_has_lines = false;
    }
    const std::string line =
        i < lines.Count() ? TapeExport::TextLine(lines, i, with_rates) : closing[i - lines.Count()];
    painter.drawText(h, y + metrics.ascent(), TapeLineText(line));
    y += h + 2;
    page_has_lines = true;
  }

  if (!painter.end() || printer.printerState() == QPrinter::Error ||
      printer.printerState() == QPrinter::Aborted) {
    return Failure(printer, QStringLiteral("terminar el trabajo"));
  }
  return RefusedByCups(printer);
}

}  // namespace dravello
