// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListView>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QPainter;

namespace dravello {

class TapeModel;

// The entries of the list's menu that the window answers.
enum class TapeAction { kUndo, kRedo, kCorrect, kRemove, kClear, kRecover, kKeepOnDisk };

// The operations list on screen: a list view over a TapeModel whose rows all have one height,
// so that showing, selecting and scrolling to any row costs the same however long the run.
// QListView lays out every row again whenever one is added; this view computes row positions
// instead, keeping QListView's keyboard, mouse, selection and accessibility behaviour (a
// screen reader reads it as a list, row by row; the window gives it its accessible name).
// Vertical scrolling goes by whole rows, as in a list box. With the keyboard focus, the
// style's focus frame is drawn around the rows.
//
// Its menu (right button, the Menu key, Shift+F10) copies the selected line or every line to
// the clipboard and asks the window to save or print the list, and to undo, redo, correct the
// selected line (also a double click on it), take its operation out, empty the list, recover
// the previous session, or keep the tape on disk or not; before it opens, the window sets which
// of those it offers (MenuAboutToShow, Action). Lines changed by a correction show a mark in a
// margin of their own, in colours of the list's own that no theme changes.
class TapeList : public QListView {
  Q_OBJECT

 public:
  // Shows a TapeModel of its own.
  explicit TapeList(QWidget* parent = nullptr);

  // Appends `line` (Windows-1252 bytes) to the model, makes it the current row and the only
  // selected one, and scrolls it into view.
  void AnotarOperacion(const std::string& line);

  // The model shown: the list's own unless SetTapeModel gave another.
  TapeModel* Model() const { return tape_; }
  // Shows `model`, which the caller keeps; nullptr goes back to the list's own model.
  void SetTapeModel(TapeModel* model);

  // Height of every row in pixels. 0 (the start value) takes the height of one line of text
  // in the list's font and style.
  void SetRowHeight(int pixels);
  int RowHeight() const;

  // Opens the list's menu at `global` (screen coordinates), or below the selected line when
  // `global` is nothing (the keyboard's way). Returns at once; the menu works on its own.
  void ShowMenu(std::optional<QPoint> global = std::nullopt);
  // The menu, once it has been opened (it is made at its first use).
  QMenu* Menu() const { return menu_; }
  // An entry of the menu that the window answers (the menu is made if need be).
  QAction* Action(TapeAction action);
  // The selected row, or -1.
  int SelectedRow() const;
  // Makes `row` the current and only selected row and scrolls it into view.
  void SelectRow(int row);

  // "Copiar línea": the selected line, as plain text. Nothing when no line is selected.
  void CopyLine() const;
  // "Copiar todo": every line, each followed by a line feed, as plain text.
  void CopyAll() const;

  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;
  void doItemsLayout() override;
  void reset() override;

 signals:
  // "Guardar como…" and "Imprimir…": the window saves and prints the list.
  void SaveRequested();
  void PrintRequested();
  // Just before the menu opens, so that the window sets its entries (Action).
  void MenuAboutToShow();
  // An entry of TapeAction chosen (kKeepOnDisk: its new check state), or a double click on a
  // line (kCorrect).
  void ActionRequested(int action, bool checked);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;
  int horizontalOffset() const override;
  int verticalOffset() const override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  QSize viewportSizeHint() const override;

 private:
  int Rows() const;
  int TopRow() const;
  int FullyVisibleRows() const;
  int LineWidth(int row) const;
  void RecomputeContentWidth();
  void UpdateScrollRanges();
  QModelIndex SelectedLine() const;
  // The style's focus frame along the inside of the list's border.
  void PaintFocusFrame(QPainter& painter) const;
  void MakeMenu();
  // Width of the margin where corrected lines show their mark: none while no line is marked.
  int MarkMargin() const;
  void PaintMark(QPainter& painter, const QRect& margin) const;

  TapeModel* own_;
  TapeModel* tape_;
  int row_height_ = 0;                  // 0: from the font
  mutable int natural_row_height_ = 0;  // 0: not measured since the last font or style change
  int content_width_ = 0;               // widest line, in pixels
  bool ranges_pending_ = false;         // the scroll ranges wait for the list to be shown
  // Advance of each Windows-1252 byte in the list's font, negative until measured; empty until
  // the first line is measured.
  mutable std::vector<float> advances_;
  QMenu* menu_ = nullptr;
  QAction* copy_line_ = nullptr;
  QAction* copy_all_ = nullptr;
  QAction* actions_[7] = {};  // by TapeAction
};

}  // namespace dravello
