// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellAccessibility.h"

#include <QAccessibleWidget>

#include "ControlsAccessibility.h"
#include "IndicatorShape.h"
#include "LineAnnouncer.h"
#include "ReadoutLabel.h"

namespace {

// A read-only text: role static text, the accessible name as a stable handle, and the text
// interface giving exactly what is shown.
class ReadOnlyTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ReadOnlyTextAccessible(QWidget* widget)
      : QAccessibleWidget(widget, QAccessible::StaticText) {}

  virtual QString Shown() const = 0;

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString name = widget()->accessibleName();
      return name.isEmpty() ? Shown() : name;
    }
    if (t == QAccessible::Value) return Shown();
    // The description is what the window set, never the tooltip (which may hold the text).
    if (t == QAccessible::Description) return widget()->accessibleDescription();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    return s;
  }

  // QAccessibleTextInterface: the shown text, no caret and no selection.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override {
    const QString shown = Shown();
    start = std::max(start, 0);
    if (end < 0 || end > shown.size()) end = static_cast<int>(shown.size());
    return start >= end ? QString() : shown.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Shown().size()); }
  QRect characterRect(int) const override { return QRect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return QString();
  }
};

class ReadoutAccessible : public ReadOnlyTextAccessible {
 public:
  using ReadOnlyTextAccessible::ReadOnlyTextAccessible;
  QString Shown() const override { return static_cast<const ReadoutLabel*>(widget())->text(); }
};

class IndicatorAccessible : public ReadOnlyTextAccessible {
 public:
  using ReadOnlyTextAccessible::ReadOnlyTextAccessible;
  QString Shown() const override {
    return static_cast<const IndicatorShape*>(widget())->StateText();
  }
};

// The newest tape line as a notification: its name, its description and its text.
class AnnouncerAccessible : public ReadOnlyTextAccessible {
 public:
  using ReadOnlyTextAccessible::ReadOnlyTextAccessible;
  QString Shown() const override { return static_cast<const LineAnnouncer*>(widget())->Line(); }
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name || t == QAccessible::Description) return Shown();
    return ReadOnlyTextAccessible::text(t);
  }
};

}  // namespace

QAccessibleInterface* ShellAccessibleFactory(const QString& class_name, QObject* object) {
  if (!object || !object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (class_name == QLatin1String("ReadoutLabel")) return new ReadoutAccessible(widget);
  if (class_name == QLatin1String("IndicatorShape")) return new IndicatorAccessible(widget);
  if (class_name == QLatin1String("LineAnnouncer")) return new AnnouncerAccessible(widget);
  // The main window is a frame, as desktops present an application's window.
  if (class_name == QLatin1String("TFormCalculadora"))
    return new QAccessibleWidget(widget, QAccessible::Window);
  return ControlsAccessibleFactory(class_name, object);
}
