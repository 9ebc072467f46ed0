// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// What assistive technology (a screen reader, a test driver over AT-SPI) sees of the two
// buttons: a push button named by its caption (for THighButton without the marking '&', "&&"
// giving one '&'), whose press action clicks it, pressed while held down, disabled while
// disabled. A THighButton's accelerator is its keyboard shortcut (Alt and the character). The
// description is the widget's accessibleDescription(), the help text its tooltip. An
// accessibleName set on the widget replaces the caption as its name.
//
// The factory answers for "THighButton" and "TGradBtn" and returns nullptr for every other
// class; install it with QAccessible::installFactory() before any window is shown.
QAccessibleInterface* ControlsAccessibleFactory(const QString& className, QObject* object);
