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
    "Operando 1,Operador,Operando 2,Resultado,Moneda,Cambio,L\xC3\xADnea,Corregida\r\n";

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

// "  (1 USD = 153,35 Pts)" for an operation written in a currency other than the base.
std::string RateSuffix(const TapeLines& lines, std::size_t index, std::string_view line) {
  const std::string& rate = lines.RateOf(index);
  if (rate.empty() || !TapeOperation::Read(line, lines.LineSeparators())) return {};
  return "  (1 " + lines.CurrencyOf(index) + " = " + rate + " " + lines.BaseOf(index) + ")";
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

void AppendCsvRecord(std::string_view line, std::string_view currency, std::string_view rate,
                     Separators separators, bool corrected, std::string& out) {
  if (const std::optional<TapeOperation> operation = TapeOperation::Read(line, separators)) {
    AppendField(operation->operand1, false, out);
    AppendField(operation->operator_, false, out);
    AppendField(operation->operand2, false, out);
    AppendField(operation->result, false, out);
    AppendField(currency, false, out);
    AppendField(rate, false, out);
  } else {
    out += ",,,,,,";
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
  const bool with_rates = format_ == TapeFormat::kText && lines.RatesChanged();
  for (std::size_t i = first; i < last; ++i) AppendLine(lines, i, with_rates, line, out);
  if (last == lines.Count()) AppendEnd(lines, out);
}

void TapeExport::AppendEnd(const TapeLines& lines, std::string& out) const {
  if (format_ != TapeFormat::kText) return;
  for (const std::string& closing : ClosingLines(lines)) {
    AppendUtf8(closing, out);
    out += '\n';
  }
}

void TapeExport::AppendLine(const TapeLines& lines, std::size_t index, bool with_rates,
                            std::string& line, std::string& out) const {
  line.clear();
  lines.AppendLineTo(index, line);
  const bool corrected = lines.Corrected(index);
  if (format_ == TapeFormat::kCsv) {
    AppendCsvRecord(line, lines.CurrencyOf(index), lines.RateOf(index), separators_, corrected,
                    out);
  } else {
    AppendUtf8(line, out);
    if (with_rates) AppendUtf8(RateSuffix(lines, index, line), out);
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
  const bool with_rates = format_ == TapeFormat::kText && lines.RatesChanged();
  for (;;) {
    // Whole lines until the piece is full: a line longer than a piece still goes in one.
    while (next < count && piece.size() < kPieceBytes) {
      AppendLine(lines, next++, with_rates, line, piece);
    }
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
                                  Separators separators, std::string_view rate, bool corrected) {
  std::string out;
  AppendCsvRecord(line, currency, rate, separators, corrected, out);
  return out;
}

std::string TapeExport::TextLine(const TapeLines& lines, std::size_t index, bool with_rates) {
  std::string line = lines.Line(index);
  if (with_rates) line += RateSuffix(lines, index, line);
  if (lines.Corrected(index)) line += kCorrectedMark;
  return line;
}

std::vector<std::string> TapeExport::ClosingLines(const TapeLines& lines) {
  std::vector<std::string> closing;
  if (lines.AnyRate()) closing.push_back(lines.RatesNote());
  if (lines.AnyCorrected()) {
    closing.emplace_back();
    closing.emplace_back(kCorrectedLegend);
  }
  return closing;
}

}  // namespace dravello
