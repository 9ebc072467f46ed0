// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// F1: opens the user's manual (ManualFile) in the desktop's browser. When the file is missing,
// or nothing on the desktop can open it, a message box over `window` says where the file is
// (or should be), which the mouse can select and copy.
void OpenUserManual(QWidget* window);
