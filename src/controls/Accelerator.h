// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>

// Captions mark their accelerator character with a preceding '&'. "&&" stands for a literal
// '&' and marks nothing; an '&' at the end marks nothing and is not shown; when several
// characters are marked, the last one counts.
namespace dravello {

struct CaptionParts {
  QString shown;       // the caption as displayed, without the marking ampersands
  int underline = -1;  // index in `shown` of the accelerator character, -1 when none
  QChar accelerator;   // the accelerator character, null when none
};

CaptionParts SplitCaption(const QString& caption);

// Whether typing `typed` selects the accelerator of `caption`: the letters a to z compare
// without regard to case, every other character exactly.
bool MatchesAccelerator(QChar typed, const QString& caption);

}  // namespace dravello
