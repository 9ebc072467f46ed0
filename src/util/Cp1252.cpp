// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cp1252.h"

#include <cstdint>

namespace dravello {

namespace {

// Code points of the bytes 0x80 to 0x9F; the others equal their byte.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

char32_t Cp1252ToCodePoint(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80];
  return b;
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (char c : text) AppendUtf8(out, Cp1252ToCodePoint(c));
  return out;
}

std::optional<char> CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

namespace {

// Decodes the UTF-8 sequence at `i`: its code point and length, or false when it is not valid
// UTF-8 (truncated, overlong, a surrogate, beyond Unicode).
bool DecodeUtf8(std::string_view text, std::size_t i, char32_t& cp, std::size_t& length) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  std::size_t extra = 0;
  if (b0 < 0x80) {
    cp = b0;
  } else if (b0 >= 0xC2 && b0 < 0xE0) {
    cp = b0 & 0x1F;
    extra = 1;
  } else if (b0 >= 0xE0 && b0 < 0xF0) {
    cp = b0 & 0x0F;
    extra = 2;
  } else if (b0 >= 0xF0 && b0 < 0xF5) {
    cp = b0 & 0x07;
    extra = 3;
  } else {
    return false;
  }
  if (i + extra >= text.size()) return false;
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b & 0x3F);
  }
  if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return false;
  }
  length = extra + 1;
  return true;
}

}  // namespace

std::optional<std::string> Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
    char32_t cp = 0;
    if (!DecodeUtf8(text, i, cp, length)) return std::nullopt;
    const auto byte = CodePointToCp1252(cp);
    if (!byte) return std::nullopt;
    out.push_back(*byte);
  }
  return out;
}

std::string Utf8ToCp1252Lossy(std::string_view text, char replacement) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0, length = 0; i < text.size(); i += length) {
    char32_t cp = 0;
    if (!DecodeUtf8(text, i, cp, length)) {
      length = 1;
      out.push_back(replacement);
      continue;
    }
    out.push_back(CodePointToCp1252(cp).value_or(replacement));
  }
  return out;
}

}  // namespace dravello
