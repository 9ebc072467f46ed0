// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>
#include <functional>

class QPrinter;
class QWidget;

namespace dravello {

class TapeLines;

// Prints the operations list: portrait, the printer's default font, one printed line per list
// line as the text file has it (TapeExport::TextLine, with the mark of a line changed by a
// correction), then its closing lines, if any (TapeExport::ClosingLines). With h the height of a
// line of text in that font, in printer pixels, the left and top margins are h from the corner
// of the printable area and the lines are h + 2 apart. A line that would cross the bottom of the
// printable area starts a new page with the same margins, so no line is lost; an empty list
// prints one blank page. Every job is titled "Operaciones Realizadas", as the list is, so that
// the print queue shows what it is.
//
// Both functions return an empty string when the job went to the printer (or the user
// cancelled), and otherwise the print system's failure as a message for the window's error box
// (without a closing full stop): no printer, a printer or file that cannot be opened, a job
// that CUPS refuses. The list is never changed.
class TapePrinter {
 public:
  static constexpr const char* kJobTitle = "Operaciones Realizadas";

  // Whether the print system offers any printer. Without one the print dialog offers only
  // printing into a PDF file, which it would name and write by itself; the window says that
  // there is no printer instead.
  static bool AnyPrinter();

  // Shows the print dialog for `printer` (printer and number of copies; no page range) with
  // `parent` as its parent, and prints on acceptance. Cancelling prints nothing.
  static QString PrintWithDialog(const TapeLines& lines, QPrinter& printer, QWidget* parent);

  // Prints on `printer` as it is set up, without a dialog. `progress`, when given, is told the
  // number of lines printed at the end of each page; when it returns false the job is
  // abandoned (QPrinter::abort) and the result is empty. It may run on a thread other than the
  // window's, as saving a PDF does.
  static QString Print(const TapeLines& lines, QPrinter& printer,
                       const std::function<bool(std::size_t)>& progress = {});
};

}  // namespace dravello
