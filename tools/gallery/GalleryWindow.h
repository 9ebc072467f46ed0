// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QGridLayout;
class QLabel;
class TGradBtn;
class THighButton;

// Both push-button controls in every look, for a person to look at: the highlight button with
// each bevel and border, the calculator's keypad look, the down look and a disabled button; the
// gradient button in its six gradient styles (up and held down) and its text styles. The last
// click shows at the bottom.
class GalleryWindow : public QWidget {
  Q_OBJECT

 public:
  explicit GalleryWindow(QWidget* parent = nullptr);

 private:
  THighButton* AddHighButton(QGridLayout* grid, int row, int column, const QString& label,
                             const QString& caption);
  TGradBtn* AddGradBtn(QGridLayout* grid, int row, int column, const QString& label,
                       const QString& caption);
  void Report(const QString& what);

  QLabel* status_ = nullptr;
};
