// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <string>

// Tells a screen reader each new line of the operations list. While the user types, the focus
// rests on "Ejecutar", and a screen reader speaks only what happens where the focus is, so the
// list's new rows would go unheard. This empty, never painted control is a notification whose
// name and description are the newest line; every line shows it anew, which screen readers
// speak wherever the focus is. Nothing is sent while no assistive tool listens.
class LineAnnouncer : public QWidget {
  Q_OBJECT

 public:
  explicit LineAnnouncer(QWidget* parent = nullptr);

  // `line`: Windows-1252 bytes, as the list holds them.
  void Announce(const std::string& line);
  // The newest line, as shown.
  QString Line() const;

 private:
  std::string line_;
};
