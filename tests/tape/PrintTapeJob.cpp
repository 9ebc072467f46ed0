// SPDX-License-Identifier: GPL-3.0-or-later
// Prints a numbered tape of a given number of pages' worth of lines on a named printer through
// TapePrinter, as the print button does once the dialog is accepted. Used by
// print_through_cups.py, which runs it against a CUPS server of its own.
//
//   print_tape_job PRINTER PAGES     prints PAGES pages' worth of lines on PRINTER
//
// Writes "lines=N lines_per_page=L" on standard output; exits 1 with the message on failure.
#include <QApplication>
#include <QFontMetrics>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdio>
#include <string>

#include "TapeLines.h"
#include "TapePrinter.h"

namespace {

// Line n of the test tape: a number to find it by and characters that are not ASCII
// (Windows-1252: í, ±, ², ó).
std::string TestLine(int n) {
  char text[96];
  std::snprintf(text, sizeof text, "L\xEDnea %04d: 1.234,50 \xB1 2%% = 1.259,19 x\xB2 operaci\xF3n",
                n);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: print_tape_job PRINTER PAGES\n");
    return 2;
  }
  const QString name = QString::fromLocal8Bit(argv[1]);
  const int pages = std::atoi(argv[2]);
  if (QPrinterInfo::printerInfo(name).isNull()) {
    std::fprintf(stderr, "no printer named %s\n", argv[1]);
    return 1;
  }
  QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Portrait);

  // Lines per page by the rule: the first line's top is h below the printable area's top, each
  // next one h + 2 lower, and a line must end above the bottom.
  const int h = QFontMetrics(QFont(), &printer).height();
  const double height = printer.pageRect(QPrinter::DevicePixel).height();
  int per_page = 0;
  while (h + per_page * (h + 2) + h <= height) ++per_page;

  dravello::TapeLines lines;
  for (int n = 1; n <= pages * per_page; ++n) lines.Append(TestLine(n));
  const QString failure = dravello::TapePrinter::Print(lines, printer);
  if (!failure.isEmpty()) {
    std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
    return 1;
  }
  std::printf("lines=%d lines_per_page=%d\n", pages * per_page, per_page);
  return 0;
}
