// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeExport.h"

#include <optional>

#include "AtomicFileWriter.h"
#include "Cp1252.h"
#include "TapeLines.h"
#include "TapeOperation.h"

namespace dravello {

namespace {

constexpr std::size_t kPieceBytes = 1 << 20;
// A CSV file starts with UTF-8's byte-order mark, as "CSV UTF-8" files do: spreadsheets that
// are given no encoding read the file as UTF-8 by it.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kCsvHeader =
    "Operando 1,Operador,Operando 2,Resultado,Moneda,L\xC3\xADnea,Corregida\r\n";

// Appends Windows-1252 `text` to `out` as UTF-8.
void AppendUtf8(std::string_view text, std::string& out) {
  for (const char byte : text) {
    if (static_cast<unsigned char>(byte) < 0x80) {
      out += byte;
      continue;
    }
    const char32_t code = Cp1252ToCodePoint(byte);
    if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool NeedsQuotes(std::string_view field) {
  if (field.empty()) return false;
  if (field.front() == ' ' || field.back() == ' ') return true;
  return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

// Appends one CSV field (Windows-1252 `field`, written as UTF-8), and a comma unless `last`.
void AppendField(std::string_view field, bool last, std::string& out) {
  if (NeedsQuotes(field)) {
    out += '"';
    std::size_t from = 0;
    for (std::size_t quote = field.find('"'); quote != std::string_view::npos;
         quote = field.find('"', from)) {
      AppendUtf8(field.substr(from, quote + 1 - from), out);
      out += '"';
      from = quote + 1;
    }
    AppendUtf8(field.substr(from), out);
    out += '"';
  } else {
    AppendUtf8(field, out);
  }
  if (!last) out += ',';
}

void AppendCsvRecord(std::string_view line, std::string_view currency, Separators separators,
                     bool corrected, std::string& out) {
  if (const std::optional<TapeOperation> operation = TapeOperation::Read(line, separators)) {
    AppendField(operation->operand1, false, out);
    AppendField(operation->operator_, false, out);
    AppendField(operation->operand2, false, out);
    AppendField(operation->result, false, out);
    AppendField(currency, false, out);
  } else {
    out += ",,,,,";
  }
  AppendField(line, false, out);
  if (corrected) out += "S\xC3\xAD";
  out += "\r\n";
}

}  // namespace

TapeExport::TapeExport(TapeFormat format, Separators separators)
    : format_(format), separators_(separators) {}

void TapeExport::Append(const TapeLines& lines, std::size_t first, std::size_t last,
                        std::string& out) const {
  if (format_ == TapeFormat::kCsv && first == 0) {
    out += kByteOrderMark;
    out += kCsvHeader;
  }
  std::string line;
  for (std::size_t i = first; i < last; ++i) AppendLine(lines, i, line, out);
  if (last == lines.Count()) AppendEnd(lines, out);
}

void TapeExport::AppendEnd(const TapeLines& lines, std::string& out) const {
  if (format_ != TapeFormat::kText || !lines.AnyCorrected()) return;
  out += '\n';
  AppendUtf8(kCorrectedLegend, out);
  out += '\n';
}

void TapeExport::AppendLine(const TapeLines& lines, std::size_t index, std::string& line,
                            std::string& out) const {
  line.clear();
  lines.AppendLineTo(index, line);
  const bool corrected = lines.Corrected(index);
  if (format_ == TapeFormat::kCsv) {
    AppendCsvRecord(line, lines.CurrencyOf(index), separators_, corrected, out);
  } else {
    AppendUtf8(line, out);
    if (corrected) AppendUtf8(kCorrectedMark, out);
    out += '\n';
  }
}

SaveResult TapeExport::Save(const TapeLines& lines, const std::string& path,
                            SaveProgress& progress) const {
  AtomicFileWriter file;
  if (!file.Open(path)) return SaveResult{SaveResult::Status::kFailed, file.Error()};
  const std::size_t count = lines.Count();
  std::string piece, line;
  piece.reserve(kPieceBytes + 4096);
  if (format_ == TapeFormat::kCsv) {
    piece += kByteOrderMark;
    piece += kCsvHeader;
  }
  std::size_t next = 0;
  for (;;) {
    // Whole lines until the piece is full: a line longer than a piece still goes in one.
    while (next < count && piece.size() < kPieceBytes) AppendLine(lines, next++, line, piece);
    if (next == count) AppendEnd(lines, piece);
    if (progress.cancel.load(std::memory_order_relaxed)) {
      file.Abandon();
      return SaveResult{SaveResult::Status::kCancelled, 0};
    }
    if (!file.Write(piece)) break;
    progress.done.store(next, std::memory_order_relaxed);
    if (next == count) {
      if (file.Commit()) return SaveResult{SaveResult::Status::kSaved, 0};
      break;
    }
    piece.clear();
  }
  const int error = file.Error();
  file.Abandon();
  return SaveResult{SaveResult::Status::kFailed, error};
}

std::string TapeExport::CsvRecord(std::string_view line, std::string_view currency,
                                  Separators separators, bool corrected) {
  std::string out;
  AppendCsvRecord(line, currency, separators, corrected, out);
  return out;
}

}  // namespace dravello
