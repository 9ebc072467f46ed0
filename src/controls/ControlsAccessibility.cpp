// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsAccessibility.h"

#include <QAccessibleWidget>
#include <QKeySequence>

#include "Accelerator.h"
#include "TGradBtn.h"
#include "THighButton.h"

namespace {

// The parts common to both buttons; `T` is the widget class, `shownName` its caption as a name.
template <typename T>
class ButtonAccessible : public QAccessibleWidget {
 public:
  explicit ButtonAccessible(T* button) : QAccessibleWidget(button, QAccessible::Button) {}

  T* button() const { return static_cast<T*>(widget()); }

  QString text(QAccessible::Text t) const override {
    switch (t) {
      case QAccessible::Name: {
        const QString name = widget()->accessibleName();
        return name.isEmpty() ? shownName() : name;
      }
      case QAccessible::Description:
        return widget()->accessibleDescription();
      case QAccessible::Help:
        return widget()->toolTip();
      case QAccessible::Accelerator:
        return shortcut();
      default:
        return QAccessibleWidget::text(t);
    }
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.pressed = button()->IsDown();
    return s;
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    names.removeAll(pressAction());
    names.prepend(pressAction());
    return names;
  }

  void doAction(const QString& name) override {
    if (name == pressAction()) {
      if (widget()->isEnabled()) button()->Click();
      return;
    }
    QAccessibleWidget::doAction(name);
  }

  QStringList keyBindingsForAction(const QString& name) const override {
    if (name == pressAction() && !shortcut().isEmpty()) return {shortcut()};
    return QAccessibleWidget::keyBindingsForAction(name);
  }

 protected:
  virtual QString shownName() const = 0;
  virtual QString shortcut() const { return QString(); }
};

class HighButtonAccessible : public ButtonAccessible<THighButton> {
 public:
  using ButtonAccessible::ButtonAccessible;

 protected:
  QString shownName() const override { return dravello::SplitCaption(button()->Caption()).shown; }
  QString shortcut() const override {
    const QChar accel = dravello::SplitCaption(button()->Caption()).accelerator;
    if (accel.isNull()) return QString();
    return QKeySequence(QStringLiteral("Alt+") + QString(accel).toUpper())
        .toString(QKeySequence::NativeText);
  }
};

class GradBtnAccessible : public ButtonAccessible<TGradBtn> {
 public:
  using ButtonAccessible::ButtonAccessible;

 protected:
  QString shownName() const override { return button()->Caption(); }
};

}  // namespace

QAccessibleInterface* ControlsAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("THighButton")) {
    if (auto* button = qobject_cast<THighButton*>(object)) return new HighButtonAccessible(button);
  }
  if (className == QLatin1String("TGradBtn")) {
    if (auto* button = qobject_cast<TGradBtn*>(object)) return new GradBtnAccessible(button);
  }
  return nullptr;
}
