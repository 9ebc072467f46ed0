// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "Cp1252.h"

namespace dravello {

namespace {

constexpr std::size_t kMaxPayload = 64u << 20;  // far above any clipboard line or table

std::string At(std::size_t index) {
  return "at byte " + std::to_string(index + 1);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Length of the UTF-8 sequence that starts with `lead`, or 0 for a byte that cannot start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

template <typename Int>
void AppendNumber(Int value, std::string& out) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}

void AppendRate(double rate, std::string& out) {
  char digits[40];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, rate);
  out.append(digits, end);
}

void AppendTable(const TTablaMonedas& table, std::string& out) {
  for (std::size_t n = 0; n < table.size(); ++n) {
    if (n > 0) out += ' ';
    AppendNumber(table[n].Decimales, out);
    out += ' ';
    AppendRate(table[n].Cambio, out);
    out += ' ';
    const std::string abbreviation = Cp1252ToUtf8(table[n].Moneda);
    AppendNumber(abbreviation.size(), out);
    out += ':';
    out += abbreviation;
  }
}

// Reads the blank-separated fields of a table or start payload.
class PayloadReader {
 public:
  explicit PayloadReader(std::string_view text) : text_(text) {}

  // The characters up to the next blank (or the end), which is skipped.
  std::string_view Token() {
    const std::size_t end = std::min(text_.find(' ', at_), text_.size());
    const std::string_view token = text_.substr(at_, end - at_);
    at_ = end < text_.size() ? end + 1 : end;
    return token;
  }
  template <typename Int>
  bool Number(Int& value) {
    const std::string_view token = Token();
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return !token.empty() && ec == std::errc() && end == token.data() + token.size();
  }
  bool Rate(double& value) {
    const std::string_view token = Token();
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return !token.empty() && ec == std::errc() && end == token.data() + token.size() &&
           std::isfinite(value) && value > 0;
  }
  // "L:TEXT", TEXT of L bytes, then a blank or the end.
  bool Counted(std::string& value) {
    const std::size_t colon = text_.find(':', at_);
    if (colon == std::string_view::npos) return false;
    std::size_t length = 0;
    const auto [end, ec] = std::from_chars(text_.data() + at_, text_.data() + colon, length);
    if (ec != std::errc() || end != text_.data() + colon || colon == at_ ||
        length > text_.size() - colon - 1) {
      return false;
    }
    value = text_.substr(colon + 1, length);
    at_ = colon + 1 + length;
    if (at_ < text_.size()) {
      if (text_[at_] != ' ') return false;
      ++at_;
    }
    return true;
  }
  bool AtEnd() const { return at_ >= text_.size(); }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

bool ReadTable(PayloadReader& reader, TTablaMonedas& table) {
  for (std::size_t n = 0; n < table.size(); ++n) {
    TMoneda& moneda = table[n];
    std::string abbreviation;
    if (!reader.Number(moneda.Decimales) || moneda.Decimales > kMaxDecimales ||
        !reader.Rate(moneda.Cambio) || !reader.Counted(abbreviation)) {
      return false;
    }
    const std::optional<std::string> bytes = Utf8ToCp1252(abbreviation);
    if (!bytes || bytes->size() > kMaxAbreviatura) return false;
    moneda.Moneda = *bytes;
  }
  // As every table the settings file gives: a base with a name and a rate of exactly 1.
  return !table[0].Moneda.empty() && table[0].Cambio == 1.0;
}

enum class Outcome { kRecord, kIncomplete, kBad };

// Reads the journal record by record. Each Read* moves `at_` past a whole record or leaves it.
class Reader {
 public:
  Reader(std::string_view text, JournalRead& read, std::string& error)
      : text_(text), read_(read), error_(error) {}

  Outcome Next(std::size_t& at) {
    start_ = at;
    at_ = at;
    const char c = text_[at_];
    Outcome outcome;
    if (c == '\\') {
      outcome = Escape();
    } else if (c == '@') {
      outcome = Click();
    } else {
      outcome = Character();
    }
    if (outcome == Outcome::kRecord) at = at_;
    return outcome;
  }

  // A mark read and not yet given to a command.
  bool MarkPending() const { return marks_ != 0 || mark_read_; }
  std::size_t MarkStart() const { return mark_start_; }

 private:
  bool Remaining(std::size_t count) const { return text_.size() - at_ >= count; }

  Outcome Bad(std::string message) {
    error_ = std::move(message);
    read_.bad_at = start_;
    return Outcome::kBad;
  }

  Outcome Command(JournalEntry entry) {
    entry.marks = marks_;
    marks_ = 0;
    mark_read_ = false;
    read_.entries.push_back(std::move(entry));
    return Outcome::kRecord;
  }

  Outcome Character() {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text_[at_]));
    if (length == 0) return Bad("invalid UTF-8 " + At(at_));
    if (!Remaining(length)) return Outcome::kIncomplete;
    const std::optional<std::string> byte = Utf8ToCp1252(text_.substr(at_, length));
    if (!byte) return Bad("invalid UTF-8 or a character without a Windows-1252 byte " + At(at_));
    at_ += length;
    return Command(JournalEntry::Key((*byte)[0]));
  }

  Outcome Click() {
    if (!Remaining(2)) return Outcome::kIncomplete;
    const char digit = text_[at_ + 1];
    if (digit < '0' || digit > '6') {
      return Bad("bad click " + At(at_) + ": '@' must be followed by a digit 0 to 6");
    }
    at_ += 2;
    return Command(JournalEntry::Click(digit - '0'));
  }

  // "N:" and N bytes after it; `payload` gets them.
  Outcome Payload(std::string_view& payload) {
    std::size_t i = at_;
    std::size_t length = 0;
    while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9') {
      length = length * 10 + static_cast<std::size_t>(text_[i] - '0');
      if (length > kMaxPayload) return Bad("payload too long " + At(start_));
      ++i;
    }
    if (i == text_.size()) return Outcome::kIncomplete;
    if (i == at_ || text_[i] != ':') {
      return Bad("bad escape " + At(start_) + ": its length must be digits and a colon");
    }
    ++i;
    if (text_.size() - i < length) return Outcome::kIncomplete;
    payload = text_.substr(i, length);
    at_ = i + length;
    return Outcome::kRecord;
  }

  Outcome Escape() {
    if (!Remaining(2)) return Outcome::kIncomplete;
    const char kind = text_[at_ + 1];
    at_ += 2;
    switch (kind) {
      case 'b':
        return Command(JournalEntry::Key('\b'));
      case '\\':
        return Command(JournalEntry::Key('\\'));
      case 'c':
        return Command(JournalEntry::Copy());
      case 'e':
        return Command(JournalEntry::ClearTape());
      case 'v': {
        std::string_view text;
        const Outcome outcome = Payload(text);
        if (outcome != Outcome::kRecord) return outcome;
        return Command(JournalEntry::Paste(std::string(text)));
      }
      case 't': {
        std::string_view text;
        const Outcome outcome = Payload(text);
        if (outcome != Outcome::kRecord) return outcome;
        PayloadReader reader(text);
        TTablaMonedas table{};
        if (!ReadTable(reader, table)) return Bad("bad table " + At(start_));
        std::string line;
        if (!reader.AtEnd()) {
          std::optional<std::string> bytes;
          if (!reader.Counted(line) || !reader.AtEnd() || !(bytes = Utf8ToCp1252(line))) {
            return Bad("bad table " + At(start_));
          }
          line = std::move(*bytes);
        }
        return Command(JournalEntry::Table(table, std::move(line)));
      }
      case 'm':
        return Mark();
      case 'i':
        return Start();
      default:
        return Bad("bad escape " + At(start_) +
                   ": a backslash must be followed by b, \\, c, e, i, m, t or v");
    }
  }

  Outcome Mark() {
    if (MarkPending()) return Bad("two marks without a command between them " + At(start_));
    std::size_t i = at_;
    unsigned marks = 0;
    while (i < text_.size() && text_[i] >= '0' && text_[i] <= '9') {
      marks = marks * 10 + static_cast<unsigned>(text_[i] - '0');
      if (marks > 255) return Bad("bad mark " + At(start_));
      ++i;
    }
    if (i == text_.size()) return Outcome::kIncomplete;
    if (i == at_ || text_[i] != ';') return Bad("bad mark " + At(start_));
    at_ = i + 1;
    marks_ = static_cast<std::uint8_t>(marks);
    mark_read_ = true;
    mark_start_ = start_;
    return Outcome::kRecord;
  }

  Outcome Start() {
    if (read_.start || !read_.entries.empty() || MarkPending()) {
      return Bad("a start record must come first " + At(start_));
    }
    std::string_view text;
    const Outcome outcome = Payload(text);
    if (outcome != Outcome::kRecord) return outcome;
    PayloadReader reader(text);
    int version = 0;
    if (!reader.Number(version) || version < 1) return Bad("bad start record " + At(start_));
    if (version > kJournalVersion) {
      read_.newer = true;
      return Bad("written by a newer version (" + std::to_string(version) + ") " + At(start_));
    }
    JournalStart start;
    unsigned decimal = 0, thousands = 0;
    if (!reader.Number(decimal) || !reader.Number(thousands) || decimal == 0 || decimal > 255 ||
        thousands == 0 || thousands > 255 || !ReadTable(reader, start.table) || !reader.AtEnd()) {
      return Bad("bad start record " + At(start_));
    }
    start.separators = {static_cast<char>(decimal), static_cast<char>(thousands)};
    read_.start = start;
    return Outcome::kRecord;
  }

  std::string_view text_;
  JournalRead& read_;
  std::string& error_;
  std::size_t start_ = 0;  // where the record being read starts
  std::size_t at_ = 0;
  std::uint8_t marks_ = 0;
  bool mark_read_ = false;
  std::size_t mark_start_ = 0;
};

}  // namespace

bool ReadJournalText(std::string_view text, JournalTextMode mode, JournalRead& read,
                     std::string& error) {
  read = JournalRead{};
  if (mode == JournalTextMode::kTornEnd) {
    // A crash may leave the end of a file as zeros (space the system reserved but never
    // filled): they end the text, and whatever record they cut is a torn one. Zeros anywhere
    // else are damage, since no command the program writes holds one.
    const std::size_t end = text.find_last_not_of('\0') + 1;  // 0 when all are zeros
    if (end < text.size()) read.torn = true;
    text = text.substr(0, end);
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
      error = "a zero byte " + At(zero);
      read.bad_at = zero;
      return false;
    }
  }
  Reader reader(text, read, error);
  std::size_t at = 0;
  std::size_t whole = 0;  // after the last whole command or start record
  for (;;) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == text.size()) break;
    const std::size_t record = at;
    switch (reader.Next(at)) {
      case Outcome::kRecord:
        if (!reader.MarkPending()) whole = at;
        continue;
      case Outcome::kBad:
        return false;
      case Outcome::kIncomplete:
        if (mode == JournalTextMode::kStrict) {
          error = "incomplete input " + At(record);
          return false;
        }
        read.torn = true;
        break;
    }
    break;
  }
  if (reader.MarkPending()) {
    if (mode == JournalTextMode::kStrict) {
      error = "a mark without a command " + At(reader.MarkStart());
      return false;
    }
    read.torn = true;
  }
  read.whole_bytes = read.torn ? whole : text.size();
  return true;
}

void AppendJournalStart(const JournalStart& start, std::string& out) {
  std::string payload;
  AppendNumber(kJournalVersion, payload);
  payload += ' ';
  AppendNumber(static_cast<unsigned char>(start.separators.decimal), payload);
  payload += ' ';
  AppendNumber(static_cast<unsigned char>(start.separators.thousands), payload);
  payload += ' ';
  AppendTable(start.table, payload);
  out += "\\i";
  AppendNumber(payload.size(), out);
  out += ':';
  out += payload;
  out += '\n';
}

void AppendJournalEntry(const JournalEntry& entry, std::string& out) {
  if (entry.marks != 0) {
    out += "\\m";
    AppendNumber(static_cast<unsigned>(entry.marks), out);
    out += ';';
  }
  switch (entry.kind) {
    case CommandKind::kKey:
      if (entry.key == '\b') {
        out += "\\b";
      } else if (entry.key == '\\') {
        out += "\\\\";
      } else if (!IsBlank(entry.key) && entry.key != '@') {
        out += Cp1252ToUtf8(std::string_view(&entry.key, 1));
        if (entry.key == '=') out += '\n';
      }
      break;
    case CommandKind::kClick:
      out += '@';
      out += static_cast<char>('0' + entry.key);
      break;
    case CommandKind::kPaste:
      out += "\\v";
      AppendNumber(entry.payload->text.size(), out);
      out += ':';
      out += entry.payload->text;
      out += '\n';
      break;
    case CommandKind::kCopy:
      out += "\\c\n";
      break;
    case CommandKind::kTable: {
      std::string payload;
      AppendTable(entry.payload->table, payload);
      if (!entry.payload->text.empty()) {
        const std::string line = Cp1252ToUtf8(entry.payload->text);
        payload += ' ';
        AppendNumber(line.size(), payload);
        payload += ':';
        payload += line;
      }
      out += "\\t";
      AppendNumber(payload.size(), out);
      out += ':';
      out += payload;
      out += '\n';
      break;
    }
    case CommandKind::kClearTape:
      out += "\\e\n";
      break;
  }
}

}  // namespace dravello
