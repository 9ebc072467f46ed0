// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "CalculatorView.h"

namespace dravello {

// A modal message box with one OK button, titled by its kind ("Warning", "Error",
// "Information", "Confirm"); returns once the user has closed it.
void MuestraMensaje(CalculatorView& view, const std::string& texto, MessageKind tipo);

}  // namespace dravello
