#pragma once

#include <QLabel>

// A text that the window shows and a screen reader must be able to read: the display, the
// indicators, the memory panels, the currency strip, the equivalence cells and the headings.
// A plain QLabel with an accessible name hides its text from assistive tools; this class has an
// accessibility interface of its own (ShellAccessibility) that reads the text as shown.
class ReadoutLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ReadoutLabel(QWidget* parent = nullptr);

  // Shows `text`; tells assistive tools when it changed.
  void SetCaption(const QString& text);
};
