// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The accessibility interfaces of the window's own widgets (the readouts and the always-on-top
// indicator: static texts whose text is exactly what they show; the tape's notification of its
// newest line; the main window, a frame), and through the controls' factory those of the
// highlight and gradient buttons. Install it with
// QAccessible::installFactory before any window is shown.
QAccessibleInterface* ShellAccessibleFactory(const QString& class_name, QObject* object);
