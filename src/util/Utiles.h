// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace dravello {

// Small helpers on single-byte (Windows-1252) texts. They keep no state and return new texts.

// Every `viejo` byte of `texto` replaced by `nuevo`.
std::string CambiaCaracter(std::string_view texto, char viejo, char nuevo);

// The separator between a folder and its contents on this platform.
#ifdef _WIN32
inline constexpr char kSeparadorCarpeta = '\\';
#else
inline constexpr char kSeparadorCarpeta = '/';
#endif

// A folder path made to end in kSeparadorCarpeta; an empty text stays empty.
std::string AgregaBarra(std::string_view texto);

}  // namespace dravello
