// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

namespace dravello {

// Installs the toolkit's own Spanish texts (print dialog, message-box buttons, edit menus) from
// Qt's translation folder, whatever language the environment asks for: the program speaks
// Spanish only. Returns false, leaving the toolkit's English, when the translations are not
// installed (Debian package qt6-translations-l10n).
bool LoadToolkitTranslations(QCoreApplication& app);

}  // namespace dravello
