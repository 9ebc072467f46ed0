// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramModule.h"

#include <dlfcn.h>

#include <cstring>
#include <map>
#include <mutex>

#include "ProgramPath.h"

namespace dravello {

namespace {

std::mutex mutex;
std::string first_folder;
std::map<std::string, void*, std::less<>> loaded;

// The module in `folder`, when it is there and of this build. The reason why not goes to `error`
// unless it already holds a module of another build, which says more than a missing file.
void* Open(const std::string& folder, std::string_view name, std::string& error,
           bool& other_build) {
  if (folder.empty()) return nullptr;
  const std::string path =
      folder + (folder.back() == '/' ? "" : "/") + "lib" + std::string(name) + ".so";
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    // The last folder's reason stands: it is where an installed program keeps its modules.
    const char* why = ::dlerror();
    if (!other_build) error = why != nullptr ? why : path;
    return nullptr;
  }
  const auto* build = static_cast<const char*>(::dlsym(handle, kModuleBuildSymbol));
  if (build == nullptr || std::strcmp(build, DRAVELLO_BUILD_ID) != 0) {
    // Left loaded, unused: its initialisers have run, and what they registered stays valid.
    other_build = true;
    error = path + " es de otra compilaci\xC3\xB3n del programa";
    return nullptr;
  }
  return handle;
}

}  // namespace

void* ProgramModuleSymbol(std::string_view name, const char* symbol, std::string& error) {
  const std::lock_guard<std::mutex> lock(mutex);
  error.clear();
  auto it = loaded.find(name);
  if (it == loaded.end()) {
    bool other_build = false;
    void* handle = Open(first_folder, name, error, other_build);
    if (handle == nullptr) handle = Open(DirPrograma(), name, error, other_build);
    if (handle == nullptr)
      handle = Open(DirPrograma() + DRAVELLO_MODULE_DIR, name, error, other_build);
    if (handle == nullptr) return nullptr;
    error.clear();
    it = loaded.emplace(std::string(name), handle).first;
  }
  void* address = ::dlsym(it->second, symbol);
  if (address == nullptr)
    error = std::string("no symbol ") + symbol + " in lib" + std::string(name);
  return address;
}

void SetProgramModuleFolder(std::string folder) {
  const std::lock_guard<std::mutex> lock(mutex);
  first_folder = std::move(folder);
}

}  // namespace dravello
