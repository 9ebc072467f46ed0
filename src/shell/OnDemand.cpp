// SPDX-License-Identifier: GPL-3.0-or-later
#include "OnDemand.h"

#include "ProgramModule.h"

std::unique_ptr<OnDemand> OnDemand::Load(QString& error) {
  std::string why;
  const auto make =
      reinterpret_cast<OnDemand* (*)()>(dravello::ProgramModuleSymbol(kModule, kEntry, why));
  if (make == nullptr) {
    error = QString::fromLocal8Bit(why.c_str());
    return nullptr;
  }
  return std::unique_ptr<OnDemand>(make());
}
