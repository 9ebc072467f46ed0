// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace dravello {

// Why a file operation failed, in Spanish and in Windows-1252, from its errno: a phrase that
// completes "No se ha podido guardar ...: " (no capital, no full stop). The C library's own
// texts follow its locale, which the calculator does not depend on.
std::string SystemErrorText(int error_number);

}  // namespace dravello
