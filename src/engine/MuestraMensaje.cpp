// SPDX-License-Identifier: GPL-3.0-or-later
#include "MuestraMensaje.h"

namespace dravello {

void MuestraMensaje(CalculatorView& view, const std::string& texto, MessageKind tipo) {
  const char* caption = "Warning";
  switch (tipo) {
    case MessageKind::kWarning:
      caption = "Warning";
      break;
    case MessageKind::kError:
      caption = "Error";
      break;
    case MessageKind::kInformation:
      caption = "Information";
      break;
    case MessageKind::kConfirm:
      caption = "Confirm";
      break;
  }
  view.ShowMessage(tipo, caption, texto);
}

}  // namespace dravello
