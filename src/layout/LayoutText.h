// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dravello {

// A text of a stored layout (a caption, a hint, a name), as the layout gives it. The layouts are
// Spanish, as is the program: their texts are never translated, so they do not ask the
// application's translators, whose toolkit texts are then loaded only when a toolkit text is
// wanted (ToolkitTranslations.h). The forms' generated code calls this (AUTOUIC_OPTIONS in the
// folders that hold forms); `disambiguation` is what a translator would have been given.
inline QString LayoutText(const char* text, const char* disambiguation = nullptr) {
  Q_UNUSED(disambiguation);
  return QString::fromUtf8(text);
}

}  // namespace dravello
