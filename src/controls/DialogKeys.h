// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

// The keyboard handling that a window gives its highlight buttons, with the window's own look
// at every key before the focused control (key preview). For each key press aimed at a control
// of the window, in this order:
//   1. Dialog keys. Return, Enter and Escape are offered to the window's highlight buttons
//      (OfferDialogKey) unless the focused control takes the key itself (a multi-line text
//      edit); the arrow keys move the focus from a focused highlight or gradient button to the
//      previous (left, up) or next (right, down) focusable control of the same container.
//   2. keyDown(event).
//   3. Accelerators. A typed character is offered to the highlight buttons
//      (OfferAccelerator) when the focused control does not take typed characters (a text
//      edit, a list with keyboard search, a spin box, an editable combo box), or when it is
//      typed with Alt held and is not the space.
//   4. keyPress(event), when the key types a character.
// Where a button takes the key in stage 1 or 3 the key goes no further: no later stage, no
// focused control. Otherwise it goes on to the focused control as usual.
class DialogKeys : public QObject {
  Q_OBJECT

 public:
  // Starts handling the keys of `window` (a top-level widget), and lives as long as it.
  explicit DialogKeys(QWidget* window);
  ~DialogKeys() override;

  // The window offers a dialog key to its highlight buttons in turn (creation order, depth
  // first): the first that wants it (THighButton::WantsDialogKey) and can take the focus
  // (it and its containers visible and enabled) is clicked. Nothing takes a key given with
  // Shift, Ctrl or Alt. Returns whether a button took it.
  static bool OfferDialogKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers);
  // The same for a typed character and the buttons' accelerators.
  static bool OfferAccelerator(QWidget* window, QChar typed);
  // Whether `widget`, holding the focus, takes typed characters for itself.
  static bool TakesCharacters(const QWidget* widget);

 signals:
  void keyDown(QKeyEvent* event);
  void keyPress(QKeyEvent* event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HandleKey(QKeyEvent* event);
  bool MoveFocusByArrow(int key);

  QPointer<QWidget> window_;
};
