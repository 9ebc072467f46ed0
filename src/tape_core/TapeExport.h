// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Formato.h"
#include "SaveProgress.h"

namespace dravello {

class TapeLines;

enum class TapeFormat { kText, kCsv };

// The operations list as a file, in UTF-8:
// - text: each line followed by a line feed;
// - CSV (RFC 4180: comma-separated, CRLF after every record, fields in double quotes when they
//   hold a comma, a quote, a line break or blanks at either end): the byte-order mark, a
//   header, then one record a
//   line with the first operand, the operator, the second operand and the result
//   (TapeOperation), the abbreviation of the currency the line was written in, and the line
//   itself. A line that is no operation fills only the last field.
class TapeExport {
 public:
  TapeExport(TapeFormat format, Separators separators);

  // Appends to `out` the bytes of lines [first, last) of `lines`, the CSV header before line 0.
  void Append(const TapeLines& lines, std::size_t first, std::size_t last, std::string& out) const;

  // Writes all of `lines` to `path`, replacing the file in one step (AtomicFileWriter) and
  // writing in pieces of about a megabyte: `progress` is told the lines written after each
  // piece, and a cancel stops the save before the next one.
  SaveResult Save(const TapeLines& lines, const std::string& path, SaveProgress& progress) const;

  // The CSV record of one line (Windows-1252) in `currency`, CRLF included.
  static std::string CsvRecord(std::string_view line, std::string_view currency,
                               Separators separators);

 private:
  // Appends line `index` as the format has it; `line` is a buffer for its bytes.
  void AppendLine(const TapeLines& lines, std::size_t index, std::string& line,
                  std::string& out) const;

  TapeFormat format_;
  Separators separators_;
};

}  // namespace dravello
