// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryCache.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "AtomicFile.h"
#include "IsoDates.h"

namespace dravello {

namespace {

constexpr std::size_t kMaxCacheBytes = 4u << 20;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The value of line "KEY=..." at the start of `text`, which it then drops.
std::optional<std::string> TakeLine(std::string_view& text, std::string_view key) {
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != '=') {
    return std::nullopt;
  }
  return std::string(line.substr(key.size() + 1));
}

}  // namespace

std::string HistoryCachePath() {
  std::string folder = Variable("XDG_CACHE_HOME");
  if (folder.empty() || folder.front() != '/') {
    const std::string home = Variable("HOME");
    if (home.empty()) return {};
    folder = home + "/.cache";
  }
  return folder + "/CalculadoraDravello/historico-cambios.cache";
}

std::optional<CachedHistory> ReadHistoryCache(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const FileRead file = ReadWholeFile(path, kMaxCacheBytes);
  if (file.status != FileReadStatus::kOk) return std::nullopt;
  std::string_view text = file.bytes;
  CachedHistory cache;
  const std::optional<std::string> day = TakeLine(text, "Consultado");
  const std::optional<std::string> address = TakeLine(text, "Direccion");
  if (!day || !address || !IsIsoDate(*day) || !text.starts_with('\n')) return std::nullopt;
  text.remove_prefix(1);
  return CachedHistory{*day, *address, std::string(text)};
}

bool WriteHistoryCache(const std::string& path, const CachedHistory& cache) {
  if (path.empty() || cache.address.find('\n') != std::string::npos) return false;
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  return ReplaceWholeFile(
      path, "Consultado=" + cache.day + "\nDireccion=" + cache.address + "\n\n" + cache.body);
}

}  // namespace dravello
