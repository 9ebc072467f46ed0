// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeOperation.h"

namespace dravello {

namespace {

// The arithmetic lines the calculator writes, with {a}, {b} and {r} where its numbers stand:
// the first operand, the second and the result.
struct Shape {
  std::string_view pattern;
  std::string_view operator_;
};

constexpr Shape kShapes[] = {
    {"{a} + {b} = {r}", "+"},         {"{a} - {b} = {r}", "-"},         {"{a} * {b} = {r}", "*"},
    {"{a} / {b} = {r}", "/"},         {"{a} % {b} = {r}", "%"},         {"{a} %% {b} = {r}", "%%"},
    {"Raiz({a}) = {r}", "Raiz"},      {"Elev2({a}) = {r}", "Elev2"},    {"{a} = {r}", "\xB1"},
    {"{a} --> Memo+ [{r}]", "Memo+"}, {"{a} --> Memo- [{r}]", "Memo-"},
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsDigit(text[at + i])) return false;
  }
  return true;
}

// Reads an amount as the display shows it, from `at`: an optional minus sign, one to three
// digits, groups of a thousands separator and three digits, and a decimal separator with its
// digits. Moves `at` past it and gives the number without thousands separators; nothing when
// there is no number at `at`. Each step looks ahead, so a thousands separator that is a blank
// is told from the blank after the number.
std::optional<std::string> ReadAmount(std::string_view text, std::size_t& at,
                                      Separators separators) {
  std::size_t i = at;
  std::string number;
  if (i < text.size() && text[i] == '-') number += text[i++];
  std::size_t lead = 0;
  while (lead < 3 && i < text.size() && IsDigit(text[i])) {
    number += text[i++];
    ++lead;
  }
  if (lead == 0) return std::nullopt;
  while (i < text.size() && text[i] == separators.thousands && DigitsAt(text, i + 1, 3)) {
    number.append(text.substr(i + 1, 3));
    i += 4;
  }
  if (i < text.size() && text[i] == separators.decimal && DigitsAt(text, i + 1, 1)) {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) number += text[i++];
  }
  // Digits straight after the number mean it was not one of the calculator's.
  if (i < text.size() && IsDigit(text[i])) return std::nullopt;
  at = i;
  return number;
}

std::optional<TapeOperation> Match(std::string_view line, const Shape& shape,
                                   Separators separators) {
  TapeOperation operation;
  operation.operator_ = shape.operator_;
  const std::string_view pattern = shape.pattern;
  std::size_t at = 0;
  for (std::size_t p = 0; p < pattern.size();) {
    if (pattern[p] == '{') {
      std::optional<std::string> number = ReadAmount(line, at, separators);
      if (!number) return std::nullopt;
      switch (pattern[p + 1]) {
        case 'a':
          operation.operand1 = std::move(*number);
          break;
        case 'b':
          operation.operand2 = std::move(*number);
          break;
        default:
          operation.result = std::move(*number);
          break;
      }
      p += 3;
    } else {
      if (at >= line.size() || line[at] != pattern[p]) return std::nullopt;
      ++at;
      ++p;
    }
  }
  if (at != line.size()) return std::nullopt;
  return operation;
}

}  // namespace

std::optional<TapeOperation> TapeOperation::Read(std::string_view line, Separators separators) {
  for (const Shape& shape : kShapes) {
    if (std::optional<TapeOperation> operation = Match(line, shape, separators)) return operation;
  }
  return std::nullopt;
}

}  // namespace dravello
