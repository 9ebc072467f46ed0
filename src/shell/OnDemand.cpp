// SPDX-License-Identifier: GPL-3.0-or-later
#include "OnDemand.h"

#include <dlfcn.h>

std::unique_ptr<OnDemand> OnDemand::Load(QString& error) {
  using Entry = OnDemand* (*)(const char*);
  // Loaded once and kept: the parts' code and types live in it until the program ends.
  static Entry entry = nullptr;
  static QString failure;
  if (entry == nullptr && failure.isEmpty()) {
    void* module = dlopen(kModule, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      const char* reason = dlerror();
      failure = QString::fromLocal8Bit(reason != nullptr ? reason : kModule);
    } else {
      entry = reinterpret_cast<Entry>(dlsym(module, kEntry));
      if (entry == nullptr) failure = QStringLiteral("%1 no tiene %2").arg(kModule, kEntry);
    }
  }
  OnDemand* parts = entry != nullptr ? entry(DRAVELLO_BUILD_ID) : nullptr;
  if (entry != nullptr && parts == nullptr)
    failure = QStringLiteral("%1 es de otra compilación del programa").arg(kModule);
  if (parts == nullptr) error = failure;
  return std::unique_ptr<OnDemand>(parts);
}
