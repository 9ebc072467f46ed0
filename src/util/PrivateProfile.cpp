// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateProfile.h"

#include <optional>

#include "AtomicFile.h"
#include "AtomicFileWriter.h"

namespace dravello {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// One line of the text, and what it is. Key lines are split into name and value only where that
// matters (inside the section asked for), so that long files outside it cost one pass.
struct Line {
  enum class Kind { kBlank, kSection, kKey, kBareKey };

  std::size_t begin = 0;  // its first byte
  std::size_t end = 0;    // one past its last byte, before the line end
  std::size_t next = 0;   // the next line's first byte
  Kind kind = Kind::kBlank;
  std::size_t content_begin = 0;  // the first non-blank byte
  std::size_t content_end = 0;    // one past the last non-blank byte
  std::string_view name;          // section or key name, trimmed
  std::size_t value_begin = 0;    // kKey: the value, trimmed
  std::size_t value_end = 0;
};

std::string_view Trimmed(std::string_view text, std::size_t from, std::size_t to) {
  while (from < to && IsBlank(text[from])) ++from;
  while (to > from && IsBlank(text[to - 1])) --to;
  return text.substr(from, to - from);
}

// Reads the line that starts at `pos` and tells a blank line or a section header from the rest,
// which it leaves as kKey for SplitKey; false at the end of the text.
bool ReadLine(std::string_view text, std::size_t pos, Line& line) {
  if (pos >= text.size()) return false;
  line = Line{};
  line.begin = pos;
  std::size_t brk = pos;
  while (brk < text.size() && text[brk] != '\n' && text[brk] != '\r') ++brk;
  line.end = brk;
  line.next = brk;
  if (brk < text.size()) {
    ++line.next;
    if (text[brk] == '\r' && line.next < text.size() && text[line.next] == '\n') ++line.next;
  }

  std::size_t s = line.begin;
  std::size_t e = line.end;
  while (s < e && IsBlank(text[s])) ++s;
  while (e > s && IsBlank(text[e - 1])) --e;
  line.content_begin = s;
  line.content_end = e;
  if (s == e) return true;
  if (text[s] == '[') {
    const std::size_t close = text.substr(s + 1, e - s - 1).rfind(']');
    if (close != std::string_view::npos) {
      line.kind = Line::Kind::kSection;
      line.name = Trimmed(text, s + 1, s + 1 + close);
      return true;
    }
  }
  line.kind = Line::Kind::kKey;
  return true;
}

// Splits a key line at its first "=" into name and value; a line without one is a bare key.
void SplitKey(std::string_view text, Line& line) {
  const std::size_t s = line.content_begin;
  const std::size_t e = line.content_end;
  const std::size_t eq = text.substr(s, e - s).find('=');
  if (eq == std::string_view::npos) {
    line.kind = Line::Kind::kBareKey;
    line.name = text.substr(s, e - s);
    return;
  }
  line.name = Trimmed(text, s, s + eq);
  line.value_begin = s + eq + 1;
  while (line.value_begin < e && IsBlank(text[line.value_begin])) ++line.value_begin;
  line.value_end = e;
}

// Calls `visit` for each line of `span`, the header first, until it returns false.
template <typename Visit>
void WalkSpan(std::string_view text, const PrivateProfile::Span& span, Visit visit) {
  Line line;
  for (std::size_t pos = span.begin; pos < span.end && ReadLine(text, pos, line); pos = line.next) {
    if (line.kind == Line::Kind::kKey) SplitKey(text, line);
    if (!visit(line)) return;
  }
}

// The line end of the text's first line; CRLF for a text without one.
std::string LineEndOf(std::string_view text) {
  std::size_t brk = 0;
  while (brk < text.size() && text[brk] != '\n' && text[brk] != '\r') ++brk;
  if (brk == text.size()) return "\r\n";
  if (text[brk] == '\n') return "\n";
  return brk + 1 < text.size() && text[brk + 1] == '\n' ? "\r\n" : "\r";
}

// `value` as it is written after "=": on one line, and in double quotes when it would not read
// back as it is otherwise (blanks at either end, which reading trims, or a pair of enclosing
// quotes, which reading removes).
std::string AsWritten(std::string_view value) {
  std::string result(value);
  for (char& c : result) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  const bool trimmed = !result.empty() && (IsBlank(result.front()) || IsBlank(result.back()));
  const bool quoted = result.size() >= 2 && (result.front() == '"' || result.front() == '\'') &&
                      result.back() == result.front();
  return trimmed || quoted ? '"' + result + '"' : result;
}

}  // namespace

PrivateProfile::Span PrivateProfile::Locate(std::string_view section) const {
  if (span_ && SameName(span_->name, section)) return *span_;
  Span span;
  span.name = std::string(section);
  const std::string_view text = text_;
  Line line;
  for (std::size_t pos = 0; ReadLine(text, pos, line); pos = line.next) {
    if (line.kind != Line::Kind::kSection) continue;
    if (span.found) {
      span.end = line.begin;
      break;
    }
    if (SameName(line.name, section)) {
      span.found = true;
      span.begin = line.begin;
      span.end = text.size();
    }
  }
  span_ = span;
  return span;
}

std::string PrivateProfile::Get(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const std::string_view text = text_;
  std::optional<std::string_view> found;
  bool bare = false;
  const Span span = Locate(section);
  if (span.found) {
    WalkSpan(text, span, [&](const Line& line) {
      if ((line.kind != Line::Kind::kKey && line.kind != Line::Kind::kBareKey) ||
          !SameName(line.name, key)) {
        return true;
      }
      bare = line.kind == Line::Kind::kBareKey;
      found = text.substr(line.value_begin, line.value_end - line.value_begin);
      return false;
    });
  }
  std::string_view value = (found && !bare) ? *found : fallback;
  value = value.substr(0, value.find('\0'));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

bool PrivateProfile::Has(std::string_view section, std::string_view key) const {
  // No value holds a line break, so the fallback comes back only for a missing key.
  return Get(section, key, "\n") != "\n";
}

void PrivateProfile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string line_value = AsWritten(value);
  const std::string_view text = text_;
  Span span = Locate(section);
  const std::size_t size_before = text_.size();
  std::optional<Line> last;  // the section's last non-blank line
  std::optional<Line> match;
  if (span.found) {
    WalkSpan(text, span, [&](const Line& line) {
      if (line.kind == Line::Kind::kBlank) return true;
      last = line;
      if ((line.kind == Line::Kind::kKey || line.kind == Line::Kind::kBareKey) &&
          SameName(line.name, key)) {
        match = line;
        return false;
      }
      return true;
    });
  }

  // New lines end as the first line does; what Set adds never changes that, so it is kept.
  if (line_end_.empty()) line_end_ = LineEndOf(text);
  const std::string& eol = line_end_;
  const std::string entry = std::string(key) + "=" + line_value;
  if (match && match->kind == Line::Kind::kKey) {
    text_.replace(match->value_begin, match->end - match->value_begin, line_value);
  } else if (match) {
    text_.replace(match->content_end, match->end - match->content_end, "=" + line_value);
  } else if (span.found && last->next == last->end) {
    // The section ends the text without a line end: the new key does so too.
    text_.insert(last->next, eol + entry);
  } else if (span.found) {
    text_.insert(last->next, entry + eol);
  } else {
    if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') text_ += eol;
    span.found = true;
    span.begin = text_.size();
    text_ += "[" + std::string(section) + "]" + eol + entry + eol;
    span.end = text_.size();
    span_ = span;
    return;
  }
  // The change lies inside the section: it moves the section's end and nothing before it.
  span.end = span.end + text_.size() - size_before;
  span_ = span;
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback) {
  FileRead file = ReadWholeFile(path, PrivateProfile::kMaxFileBytes);
  if (file.status != FileReadStatus::kOk) return PrivateProfile().Get(section, key, fallback);
  return PrivateProfile(std::move(file.bytes)).Get(section, key, fallback);
}

bool WriteProfileStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& values,
                         int* error) {
  return UpdateProfile(
      path,
      [&](PrivateProfile& profile) {
        for (const auto& [key, value] : values) profile.Set(section, key, value);
      },
      error);
}

bool UpdateProfile(const std::string& path, const std::function<void(PrivateProfile&)>& change,
                   int* error) {
  // The writer decides which file a link leads to (or refuses it); that file is read, so the
  // text kept is the one that is replaced.
  AtomicFileWriter writer;
  if (!writer.Open(path)) {
    if (error != nullptr) *error = writer.Error();
    return false;
  }
  FileRead file = ReadWholeFile(writer.Target(), PrivateProfile::kMaxFileBytes);
  if (file.status == FileReadStatus::kUnreadable) return false;
  PrivateProfile profile(std::move(file.bytes));
  change(profile);
  if (writer.Write(profile.Text()) && writer.Commit()) return true;
  if (error != nullptr) *error = writer.Error();
  return false;
}

}  // namespace dravello
