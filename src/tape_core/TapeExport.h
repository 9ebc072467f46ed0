// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Formato.h"
#include "SaveProgress.h"

namespace dravello {

class TapeLines;

enum class TapeFormat { kText, kCsv };

// The operations list as a file, in UTF-8:
// - text: each line (TextLine: a line changed by a correction ends in kCorrectedMark) followed
//   by a line feed, then the closing lines (ClosingLines) if there are any;
// - CSV (RFC 4180: comma-separated, CRLF after every record, fields in double quotes when they
//   hold a comma, a quote, a line break or blanks at either end): the byte-order mark, a
//   header, then one record a
//   line with the first operand, the operator, the second operand and the result
//   (TapeOperation), the abbreviation of the currency the line was written in, that currency's
//   rate (empty in the base), the line itself, and "Sí" when a correction changed the line. A
//   line that is no operation leaves the first six fields empty.
class TapeExport {
 public:
  // How a saved or printed list marks its lines changed by a correction (Windows-1252).
  static constexpr std::string_view kCorrectedMark = " \x86";  // a dagger
  static constexpr std::string_view kCorrectedLegend =
      "\x86 L\xEDnea corregida: su texto cambi\xF3 al corregir una operaci\xF3n anterior.";

  TapeExport(TapeFormat format, Separators separators);

  // Appends to `out` the bytes of lines [first, last) of `lines`, the CSV header before line 0
  // and, when `last` is the end, the text's legend of corrected lines.
  void Append(const TapeLines& lines, std::size_t first, std::size_t last, std::string& out) const;

  // Writes all of `lines` to `path`, replacing the file in one step (AtomicFileWriter) and
  // writing in pieces of about a megabyte: `progress` is told the lines written after each
  // piece, and a cancel stops the save before the next one.
  SaveResult Save(const TapeLines& lines, const std::string& path, SaveProgress& progress) const;

  // The CSV record of one line (Windows-1252) in `currency` at `rate`, CRLF included.
  static std::string CsvRecord(std::string_view line, std::string_view currency,
                               Separators separators, std::string_view rate = {},
                               bool corrected = false);

  // Line `index` as the text and the printed tape show it (Windows-1252). `with_rates`, which
  // they pass when a currency's lines were written at more than one rate
  // (TapeLines::RatesChanged), ends each operation (TapeOperation) in a currency other than
  // the base with the rate it used, "  (1 USD = 153,35 Pts)"; a line changed by a correction
  // ends in kCorrectedMark.
  static std::string TextLine(const TapeLines& lines, std::size_t index, bool with_rates);
  // What ends the text and the printed tape: where the rates came from (TapeLines::RatesNote)
  // when any line was written in a currency other than the base, and, when a correction changed
  // a line, an empty line and kCorrectedLegend.
  static std::vector<std::string> ClosingLines(const TapeLines& lines);

 private:
  // Appends line `index` as the format has it; `line` is a buffer for its bytes.
  void AppendLine(const TapeLines& lines, std::size_t index, bool with_rates, std::string& line,
                  std::string& out) const;
  // Appends what follows the last line: the closing lines of a text.
  void AppendEnd(const TapeLines& lines, std::string& out) const;

  TapeFormat format_;
  Separators separators_;
};

}  // namespace dravello
