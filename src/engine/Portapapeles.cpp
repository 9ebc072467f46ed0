// SPDX-License-Identifier: GPL-3.0-or-later
#include "Portapapeles.h"

#include <optional>

#include "Cp1252.h"
#include "Formato.h"

namespace dravello {
namespace {

constexpr char kNoBreakSpace = '\xA0';

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == kNoBreakSpace;
}

// The first line of `utf8` without the blanks around it, no-break spaces included: where a
// number would stand.
std::string_view TrimmedFirstLine(std::string_view utf8) {
  utf8 = utf8.substr(0, utf8.find_first_of("\r\n"));
  static constexpr std::string_view kBlanks[] = {" ", "\t", "\v", "\f", "\xC2\xA0", "\xE2\x80\xAF"};
  bool trimmed = true;
  while (trimmed) {
    trimmed = false;
    for (const std::string_view blank : kBlanks) {
      if (utf8.starts_with(blank)) {
        utf8.remove_prefix(blank.size());
        trimmed = true;
      }
      if (utf8.ends_with(blank)) {
        utf8.remove_suffix(blank.size());
        trimmed = true;
      }
    }
  }
  return utf8;
}

// The first line of the clipboard's text in Windows-1252: the minus sign U+2212 becomes '-' and
// the narrow no-break space U+202F a no-break space, as a number may hold them; nothing when a
// character has no Windows-1252 byte (it cannot belong to a number).
std::optional<std::string> FirstLine(std::string_view utf8) {
  utf8 = utf8.substr(0, utf8.find_first_of("\r\n"));
  std::string text;
  text.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    // Both are three-byte sequences; UTF-8 never holds them inside another character.
    if (utf8.substr(i, 3) == "\xE2\x88\x92") {
      text += '-';
      i += 2;
    } else if (utf8.substr(i, 3) == "\xE2\x80\xAF") {
      text += "\xC2\xA0";  // U+00A0
      i += 2;
    } else {
      text += utf8[i];
    }
  }
  return Utf8ToCp1252(text);
}

// `text` without the thousands separators of its integer part, which are one kind of separator
// (the regional one, a space or a no-break space) between groups of exactly three digits after
// a first group of one to three; the text as it is when its integer part is not grouped; nothing
// when the grouping is broken.
std::optional<std::string> WithoutGrouping(std::string_view text, Separators separators) {
  std::size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  std::size_t i = begin;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t digits = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::size_t first_group = i - digits;
  if (i == text.size()) return std::string(text);
  const char separator = text[i];
  const bool grouping =
      separator != separators.decimal &&
      (separator == separators.thousands || separator == ' ' || separator == kNoBreakSpace);
  // A blank after the digits may just end the number ("12 "): grouped only if digits follow.
  if (!grouping || i + 1 >= text.size() || !IsDigit(text[i + 1])) return std::string(text);
  if (first_group == 0 || first_group > 3) return std::nullopt;

  std::string plain(text.substr(0, i));
  while (i < text.size() && text[i] == separator && i + 1 < text.size() && IsDigit(text[i + 1])) {
    std::size_t end = i + 1;
    while (end < text.size() && IsDigit(text[end])) ++end;
    if (end - (i + 1) != 3) return std::nullopt;
    plain.append(text.substr(i + 1, 3));
    i = end;
  }
  plain.append(text.substr(i));
  return plain;
}

}  // namespace

std::string CopiaDisplay(Calculadora& calculadora) {
  EstadoCalculadora& estado = calculadora.Estado();
  std::string text =
      FormatExact(estado.Numeros[kDisplayRegister], calculadora.Separadores().decimal);
  calculadora.AnotarOperacion("Copiado a ClipBoard " + calculadora.DisplayText());
  estado.NuevaEntrada = true;
  return text;
}

bool PegaDisplay(Calculadora& calculadora, std::string_view text) {
  text = TrimmedFirstLine(text);
  // Judged before anything is copied: a huge text costs neither time nor memory.
  if (text.size() > kMaxPastedNumber) return false;
  const std::optional<std::string> line = FirstLine(text);
  if (!line) return false;
  const std::optional<std::string> plain = WithoutGrouping(*line, calculadora.Separadores());
  if (!plain) return false;
  // The regional reading, blanks around the number included, with the no-break spaces as blanks.
  std::string number = *plain;
  for (char& c : number) {
    if (c == kNoBreakSpace) c = ' ';
  }
  long double value = 0;
  switch (ParseExtended(number, calculadora.Separadores().decimal, value)) {
    case ParseStatus::kOk:
      break;
    case ParseStatus::kOutOfRange:
      throw EngineError(kInvalidOperation);
    case ParseStatus::kNotANumber:
      return false;
  }
  calculadora.PoneDisplay(RoundToCount(value * 10000.0L));
  calculadora.AnotarOperacion("Pegado Desde ClipBoard " + calculadora.DisplayText());
  EstadoCalculadora& estado = calculadora.Estado();
  estado.HayNumero = true;
  estado.NuevaEntrada = true;
  return true;
}

}  // namespace dravello
