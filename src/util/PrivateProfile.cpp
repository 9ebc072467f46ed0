#include "PrivateProfile.h"

#include <optional>

#include "AtomicFile.h"

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

// One line of the text, and what it is.
struct Line {
  enum class Kind { kBlank, kSection, kKey, kBareKey };

  std::size_t begin = 0;  // its first byte
  std::size_t end = 0;    // one past its last byte, before the line end
  std::size_t next = 0;   // the next line's first byte
  Kind kind = Kind::kBlank;
  std::string_view name;        // section or key name, trimmed
  std::size_t value_begin = 0;  // kKey: the value, trimmed
  std::size_t value_end = 0;
  std::size_t content_end = 0;  // one past the last non-blank byte
};

// Reads the line that starts at `pos`; false at the end of the text.
bool ReadLine(std::string_view text, std::size_t pos, Line& line) {
  if (pos >= text.size()) return false;
  line = Line{};
  line.begin = pos;
  const std::size_t brk = text.find_first_of("\r\n", pos);
  if (brk == std::string_view::npos) {
    line.end = line.next = text.size();
  } else {
    line.end = brk;
    line.next = brk + 1;
    if (text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n') ++line.next;
  }

  std::size_t s = line.begin;
  std::size_t e = line.end;
  while (s < e && IsBlank(text[s])) ++s;
  while (e > s && IsBlank(text[e - 1])) --e;
  line.content_end = e;
  if (s == e) return true;

  auto trimmed = [&](std::size_t from, std::size_t to) {
    while (from < to && IsBlank(text[from])) ++from;
    while (to > from && IsBlank(text[to - 1])) --to;
    return text.substr(from, to - from);
  };

  if (text[s] == '[') {
    const std::size_t close = text.substr(s + 1, e - s - 1).rfind(']');
    if (close != std::string_view::npos) {
      line.kind = Line::Kind::kSection;
      line.name = trimmed(s + 1, s + 1 + close);
      return true;
    }
  }
  const std::size_t eq = text.substr(s, e - s).find('=');
  if (eq == std::string_view::npos) {
    line.kind = Line::Kind::kBareKey;
    line.name = text.substr(s, e - s);
    return true;
  }
  line.kind = Line::Kind::kKey;
  line.name = trimmed(s, s + eq);
  line.value_begin = s + eq + 1;
  while (line.value_begin < e && IsBlank(text[line.value_begin])) ++line.value_begin;
  line.value_end = e;
  return true;
}

// Walks the first section named `section`, calling `visit` for each of its lines, the header
// first; `visit` returns false to stop. Returns false when there is no such section.
template <typename Visit>
bool WalkSection(std::string_view text, std::string_view section, Visit visit) {
  bool inside = false;
  Line line;
  for (std::size_t pos = 0; ReadLine(text, pos, line); pos = line.next) {
    if (line.kind == Line::Kind::kSection) {
      if (inside) return true;
      if (!SameName(line.name, section)) continue;
      inside = true;
    }
    if (inside && !visit(line)) return true;
  }
  return inside;
}

std::string LineEndOf(std::string_view text) {
  const std::size_t brk = text.find_first_of("\r\n");
  if (brk == std::string_view::npos) return "\r\n";
  if (text[brk] == '\n') return "\n";
  return brk + 1 < text.size() && text[brk + 1] == '\n' ? "\r\n" : "\r";
}

std::string OnOneLine(std::string_view value) {
  std::string result(value);
  for (char& c : result) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return result;
}

}  // namespace

std::string PrivateProfile::Get(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const std::string_view text = text_;
  std::optional<std::string_view> found;
  bool bare = false;
  WalkSection(text, section, [&](const Line& line) {
    if ((line.kind != Line::Kind::kKey && line.kind != Line::Kind::kBareKey) ||
        !SameName(line.name, key)) {
      return true;
    }
    bare = line.kind == Line::Kind::kBareKey;
    found = text.substr(line.value_begin, line.value_end - line.value_begin);
    return false;
  });
  std::string_view value = (found && !bare) ? *found : fallback;
  value = value.substr(0, value.find('\0'));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value.substr(0, kMaxValueLength));
}

void PrivateProfile::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string line_value = OnOneLine(value);
  const std::string_view text = text_;
  std::optional<Line> last;  // the section's last non-blank line
  std::optional<Line> match;
  const bool has_section = WalkSection(text, section, [&](const Line& line) {
    if (line.kind == Line::Kind::kBlank) return true;
    last = line;
    if ((line.kind == Line::Kind::kKey || line.kind == Line::Kind::kBareKey) &&
        SameName(line.name, key)) {
      match = line;
      return false;
    }
    return true;
  });

  if (match) {
    if (match->kind == Line::Kind::kKey) {
      text_.replace(match->value_begin, match->end - match->value_begin, line_value);
    } else {
      text_.replace(match->content_end, match->end - match->content_end, "=" + line_value);
    }
    return;
  }
  const std::string eol = LineEndOf(text);
  const std::string entry = std::string(key) + "=" + line_value;
  if (has_section) {
    if (last->next == last->end) {
      // The section ends the text without a line end: the new key does so too.
      text_.insert(last->next, eol + entry);
    } else {
      text_.insert(last->next, entry + eol);
    }
    return;
  }
  if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') text_ += eol;
  text_ += "[" + std::string(section) + "]" + eol + entry + eol;
}

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback) {
  FileRead file = ReadWholeFile(path);
  if (file.status != FileReadStatus::kOk) return PrivateProfile().Get(section, key, fallback);
  return PrivateProfile(std::move(file.bytes)).Get(section, key, fallback);
}

bool WriteProfileStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
  FileRead file = ReadWholeFile(path);
  if (file.status == FileReadStatus::kUnreadable) return false;
  PrivateProfile profile(std::move(file.bytes));
  for (const auto& [key, value] : values) profile.Set(section, key, value);
  return ReplaceWholeFile(path, profile.Text());
}

}  // namespace dravello
