// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace dravello {

// Installs the toolkit's own Spanish texts (print dialog, message-box buttons, edit menus) from
// Qt's translation folder, whatever language the environment asks for: the program speaks
// Spanish only. Returns false, leaving the toolkit's English, when the translations are not
// installed (Debian package qt6-translations-l10n).
//
// The file is read at the first question about a toolkit text, not before: the main window
// shows none (its texts are its layout's, LayoutText.h), so a start that opens no dialog or
// menu never reads it.
bool LoadToolkitTranslations(QCoreApplication& app);

}  // namespace dravello
