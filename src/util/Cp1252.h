// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dravello {

// Texts inside the program are single-byte Windows-1252; the edges (the terminal, Qt, the
// clipboard) speak Unicode.

// Windows-1252 bytes to UTF-8. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 control of the same number, as Windows does.
std::string Cp1252ToUtf8(std::string_view text);

// The Windows-1252 byte of one Unicode code point, or nothing when it has none.
std::optional<char> CodePointToCp1252(char32_t code_point);

// UTF-8 to Windows-1252 bytes; nothing when the text is not valid UTF-8 or holds a character
// that has no Windows-1252 byte.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// UTF-8 to Windows-1252 bytes, with `replacement` for each character that has no Windows-1252
// byte and for each byte that is not valid UTF-8.
std::string Utf8ToCp1252Lossy(std::string_view text, char replacement);

// The code point of one Windows-1252 byte.
char32_t Cp1252ToCodePoint(char byte);

}  // namespace dravello
