// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramPath.h"

#include <unistd.h>

#include <vector>

#include "Utiles.h"

namespace dravello {

namespace {

std::string ReadExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
    if (buffer.size() >= (1u << 20)) return std::string();
    buffer.resize(buffer.size() * 2);  // the path may have been cut: try again with more room
  }
}

}  // namespace

ProgramPath ProgramPath::FromExecutable(std::string_view executable) {
  ProgramPath result;
  const std::size_t slash = executable.find_last_of(kSeparadorCarpeta);
  std::string_view name = executable;
  if (slash != std::string_view::npos) {
    result.DirPrograma = AgregaBarra(executable.substr(0, slash + 1));
    name = executable.substr(slash + 1);
  }
  const std::size_t point = name.find_last_of('.');
  result.NombrePrograma =
      std::string(point == std::string_view::npos ? name : name.substr(0, point));
  return result;
}

const ProgramPath& ProgramPath::Current() {
  static const ProgramPath current = [] {
    const std::string executable = ReadExecutablePath();
    return executable.empty() ? ProgramPath{} : FromExecutable(executable);
  }();
  return current;
}

const std::string& DirPrograma() {
  return ProgramPath::Current().DirPrograma;
}

const std::string& NombrePrograma() {
  return ProgramPath::Current().NombrePrograma;
}

}  // namespace dravello
