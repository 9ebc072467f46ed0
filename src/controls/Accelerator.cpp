// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accelerator.h"

namespace dravello {

namespace {

QChar FoldAsciiLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'a' && u <= u'z') ? QChar(u - u'a' + u'A') : c;
}

}  // namespace

CaptionParts SplitCaption(const QString& caption) {
  CaptionParts parts;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    const QChar c = caption.at(i);
    if (c != QLatin1Char('&')) {
      parts.shown += c;
      continue;
    }
    if (i + 1 == caption.size()) break;
    const QChar next = caption.at(++i);
    if (next != QLatin1Char('&')) {
      parts.underline = static_cast<int>(parts.shown.size());
      parts.accelerator = next;
    }
    parts.shown += next;
  }
  return parts;
}

bool MatchesAccelerator(QChar typed, const QString& caption) {
  const QChar accel = SplitCaption(caption).accelerator;
  return !accel.isNull() && FoldAsciiLetter(typed) == FoldAsciiLetter(accel);
}

}  // namespace dravello
