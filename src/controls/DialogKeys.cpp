// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogKeys.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "TGradBtn.h"
#include "THighButton.h"

namespace {

bool CanTakeFocus(const QWidget* widget) {
  return widget->isVisible() && widget->isEnabled();
}

bool TakesReturn(const QWidget* widget) {
  if (const auto* edit = qobject_cast<const QTextEdit*>(widget)) return !edit->isReadOnly();
  if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) return !edit->isReadOnly();
  return false;
}

bool IsOurButton(const QWidget* widget) {
  return qobject_cast<const THighButton*>(widget) != nullptr ||
         qobject_cast<const TGradBtn*>(widget) != nullptr;
}

}  // namespace

DialogKeys::DialogKeys(QWidget* window) : QObject(window), window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

DialogKeys::~DialogKeys() = default;

bool DialogKeys::OfferDialogKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers) {
  if (window == nullptr) return false;
  if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) return false;
  const auto buttons = window->findChildren<THighButton*>();
  for (THighButton* button : buttons) {
    if (button->window() != window || !button->WantsDialogKey(key) || !CanTakeFocus(button))
      continue;
    button->Click();
    return true;
  }
  return false;
}

bool DialogKeys::OfferAccelerator(QWidget* window, QChar typed) {
  if (window == nullptr) return false;
  const auto buttons = window->findChildren<THighButton*>();
  for (THighButton* button : buttons) {
    if (button->window() != window || !button->WantsAccelerator(typed) || !CanTakeFocus(button))
      continue;
    button->Click();
    return true;
  }
  return false;
}

bool DialogKeys::TakesCharacters(const QWidget* widget) {
  if (widget == nullptr) return false;
  if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
      qobject_cast<const QPlainTextEdit*>(widget) ||
      qobject_cast<const QAbstractSpinBox*>(widget) ||
      qobject_cast<const QAbstractItemView*>(widget))
    return true;
  if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->isEditable();
  return widget->testAttribute(Qt::WA_InputMethodEnabled);
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || window_.isNull() || !watched->isWidgetType())
    return false;
  // A key that the receiver ignores travels up to its containers and passes this filter again;
  // only its first delivery, to the focused control (or to the window when nothing has the
  // focus), is handled.
  QWidget* focus = QApplication::focusWidget();
  QWidget* first = focus != nullptr ? focus : window_.data();
  if (watched != first || first->window() != window_) return false;
  return HandleKey(static_cast<QKeyEvent*>(event));
}

bool DialogKeys::HandleKey(QKeyEvent* event) {
  const QPointer<QWidget> window = window_;
  QWidget* focus = QApplication::focusWidget();
  const int key = event->key();
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      if (!(key != Qt::Key_Escape && TakesReturn(focus)) &&
          OfferDialogKey(window_, key, event->modifiers()))
        return true;
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && IsOurButton(focus) &&
          MoveFocusByArrow(key))
        return true;
      break;
    default:
      break;
  }

  emit keyDown(event);
  if (window.isNull()) return true;

  const QString text = event->text();
  if (text.size() != 1) return false;
  const QChar typed = text.at(0);
  focus = QApplication::focusWidget();
  const bool alt = event->modifiers() & Qt::AltModifier;
  if ((!TakesCharacters(focus) || (alt && typed != QLatin1Char(' '))) &&
      OfferAccelerator(window_, typed))
    return true;
  if (window.isNull()) return true;

  emit keyPress(event);
  return window.isNull();
}

bool DialogKeys::MoveFocusByArrow(int key) {
  QWidget* focus = QApplication::focusWidget();
  QWidget* container = focus != nullptr ? focus->parentWidget() : nullptr;
  if (container == nullptr) return false;
  const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
  for (QWidget* w = forward ? focus->nextInFocusChain() : focus->previousInFocusChain();
       w != nullptr && w != focus;
       w = forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
    if (container->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && CanTakeFocus(w)) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return false;
}
