// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyReader.h"

#include "Cp1252.h"

namespace dravello {

namespace {

// Length of the UTF-8 sequence that starts with `lead`, or 0 for a byte that cannot start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

std::string At(std::size_t index) {
  return "at byte " + std::to_string(index + 1);
}

}  // namespace

bool ReadReplayKeys(std::string_view text, std::vector<ReplayInput>& inputs, std::string& error) {
  inputs.clear();
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (c == '\\') {
      const char next = i + 1 < text.size() ? text[i + 1] : '\0';
      if (next == 'b' || next == '\\') {
        inputs.push_back({ReplayInput::Kind::kKey, next == 'b' ? '\b' : '\\', 0});
        i += 2;
        continue;
      }
      error = "bad escape " + At(i) + ": a backslash must be followed by 'b' or '\\'";
      return false;
    }
    if (c == '@') {
      const char next = i + 1 < text.size() ? text[i + 1] : '\0';
      if (next >= '0' && next <= '6') {
        inputs.push_back({ReplayInput::Kind::kClick, '\0', next - '0'});
        i += 2;
        continue;
      }
      error = "bad click " + At(i) + ": '@' must be followed by a digit 0 to 6";
      return false;
    }
    const std::size_t length = SequenceLength(static_cast<unsigned char>(c));
    if (length == 0 || i + length > text.size()) {
      error = "invalid UTF-8 " + At(i);
      return false;
    }
    const auto byte = Utf8ToCp1252(text.substr(i, length));
    if (!byte) {
      error = "invalid UTF-8 or a character without a Windows-1252 byte " + At(i);
      return false;
    }
    inputs.push_back({ReplayInput::Kind::kKey, (*byte)[0], 0});
    i += length;
  }
  return true;
}

}  // namespace dravello
