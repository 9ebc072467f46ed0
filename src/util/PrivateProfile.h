// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dravello {

// A private-profile (INI) text in memory, read and changed as the Windows functions
// GetPrivateProfileStringA and WritePrivateProfileStringA do, byte for byte on Windows-1252 text:
// - lines end at LF, CR or CRLF; a line's leading and trailing blanks do not count;
// - a section header is a line starting with "[" that has a "]": the name runs to the last "]"
//   and is trimmed; a "[" line without "]" is an ordinary line;
// - any other line is a key: its name runs to the first "=" and its value follows it, both
//   trimmed; a line without "=" is a bare key, which reads as missing;
// - ";" lines are ordinary lines, so they never match a real key name;
// - names match without regard to case; only the first section of a name is searched, and in it
//   the first key of a name wins;
// - a value of two or more characters enclosed in one pair of matching quotes (" or ') reads
//   without them; a value is cut at a NUL byte and at kMaxValueLength characters.
// A UTF-8 byte-order mark is nothing special: it belongs to the first line.
class PrivateProfile {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;
  // A settings file larger than this, far above any real one, counts as unreadable: it gives
  // the defaults and is never rewritten, and a huge file cannot exhaust memory at start-up.
  static constexpr std::size_t kMaxFileBytes = 16u << 20;

  PrivateProfile() = default;
  explicit PrivateProfile(std::string text) : text_(std::move(text)) {}

  // The value of `key` in `section`, or `fallback` when the section or the key is missing.
  std::string Get(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Whether `section` holds `key` with a value (a bare key reads as missing).
  bool Has(std::string_view section, std::string_view key) const;

  // Sets `key` in `section` to `value`. An existing key keeps its line: only the text after its
  // "=" changes (a bare key gains "=" and the value). A new key goes after the last non-blank
  // line of its section, a new section with its key at the end of the text. New lines end as the
  // text's first line does, CRLF in a text without line ends. Every other byte stays as it was.
  // Line breaks and NUL bytes inside `value` become blanks, so the value stays on its line; a
  // value with blanks at either end or enclosed in a pair of quotes is written in double quotes,
  // so that it reads back as it is.
  void Set(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Text() const { return text_; }

  // Where the first section of a name lies: from its header line to the next header or the end.
  struct Span {
    std::string name;
    bool found = false;
    std::size_t begin = 0;
    std::size_t end = 0;
  };

 private:
  // The section asked for last is remembered, so reading or writing twenty keys of one section
  // passes over a long file once.
  Span Locate(std::string_view section) const;

  std::string text_;
  mutable std::optional<Span> span_;
  std::string line_end_;
};

// The value of `key` in `section` of the file at `path`, as PrivateProfile::Get; `fallback` also
// when the file is missing or cannot be read (or holds more than kMaxFileBytes).
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view fallback);

// Sets every key of `values` in `section` of the file at `path`, in their order, with one
// replacement of the whole file (AtomicFileWriter): the file is created when missing and is
// never left half-written. Returns false, with the file unchanged, when the file exists but
// cannot be read (or holds more than kMaxFileBytes) or when it cannot be replaced (`error`, when
// given, then says why, as AtomicFileWriter::Error()).
bool WriteProfileStrings(const std::string& path, std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& values,
                         int* error = nullptr);

// The same for any change of the file's text: `change` is given the file as it is (empty when
// missing) and the result replaces it in one step.
bool UpdateProfile(const std::string& path, const std::function<void(PrivateProfile&)>& change,
                   int* error = nullptr);

}  // namespace dravello
