// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeList.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "Cp1252.h"
#include "FocusFrame.h"
#include "TapeModel.h"

namespace dravello {

namespace {

// Pixel positions of far-away rows do not fit an int; nothing is drawn there anyway.
int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN / 2, INT_MAX / 2));
}

}  // namespace

TapeList::TapeList(QWidget* parent) : QListView(parent), own_(new TapeModel(this)), tape_(own_) {
  setUniformItemSizes(true);
  setSelectionMode(SingleSelection);
  setEditTriggers(NoEditTriggers);
  setVerticalScrollMode(ScrollPerItem);
  setHorizontalScrollMode(ScrollPerPixel);
  setModel(tape_);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit ActionRequested(static_cast<int>(TapeAction::kCorrect), false);
  });
}

void TapeList::SetTapeModel(TapeModel* model) {
  if (model == nullptr) model = own_;
  if (model == tape_) return;
  if (tape_ != own_) disconnect(tape_, &QObject::destroyed, this, nullptr);
  tape_ = model;
  setModel(tape_);
  if (tape_ != own_) {
    // A model destroyed by its keeper leaves the list showing its own again. Connected after
    // setModel, so the view has let go of the dying model by the time this runs.
    connect(tape_, &QObject::destroyed, this, [this] {
      tape_ = own_;
      setModel(own_);
    });
  }
}

void TapeList::AnotarOperacion(const std::string& line) {
  tape_->Append(line);
  const int last = Rows() - 1;
  if (last < 0) return;
  const QModelIndex index = tape_->index(last, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

QModelIndex TapeList::SelectedLine() const {
  if (!selectionModel()) return QModelIndex();
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? QModelIndex() : selected.first();
}

void TapeList::MakeMenu() {
  if (menu_ != nullptr) return;
  menu_ = new QMenu(this);
  menu_->setObjectName(QStringLiteral("MenuOperaciones"));
  menu_->setAccessibleName(QStringLiteral("Operaciones Realizadas"));
  menu_->setToolTipsVisible(true);
  copy_line_ = menu_->addAction(QStringLiteral("Copiar &línea"));
  copy_all_ = menu_->addAction(QStringLiteral("Copiar &todo"));
  connect(copy_line_, &QAction::triggered, this, &TapeList::CopyLine);
  connect(copy_all_, &QAction::triggered, this, &TapeList::CopyAll);
  menu_->addSeparator();
  // The window's keys are shown beside their entries; they work without the menu. The
  // entries stay greyed until the window offers them (MenuAboutToShow).
  const auto add = [this](TapeAction action, const QString& text) {
    QAction* entry = menu_->addAction(text);
    entry->setEnabled(false);
    actions_[static_cast<int>(action)] = entry;
    connect(entry, &QAction::triggered, this, [this, action](bool checked) {
      emit ActionRequested(static_cast<int>(action), checked);
    });
    return entry;
  };
  add(TapeAction::kUndo, QStringLiteral("&Deshacer\tCtrl+Z"));
  add(TapeAction::kRedo, QStringLiteral("&Rehacer\tCtrl+Y"));
  add(TapeAction::kCorrect, QStringLiteral("&Corregir importe…\tF2"));
  add(TapeAction::kRemove, QStringLiteral("&Quitar operación"));
  add(TapeAction::kClear, QStringLiteral("&Borrar la cinta"));
  menu_->addSeparator();
  QAction* save = menu_->addAction(QStringLiteral("&Guardar como…"));
  QAction* print = menu_->addAction(QStringLiteral("&Imprimir…"));
  connect(save, &QAction::triggered, this, &TapeList::SaveRequested);
  connect(print, &QAction::triggered, this, &TapeList::PrintRequested);
  menu_->addSeparator();
  add(TapeAction::kRecover, QStringLiteral("Recuperar la sesión &anterior"));
  add(TapeAction::kKeepOnDisk, QStringLiteral("Guardar la cinta en di&sco"))->setCheckable(true);
}

QAction* TapeList::Action(TapeAction action) {
  MakeMenu();
  return actions_[static_cast<int>(action)];
}

int TapeList::SelectedRow() const {
  const QModelIndex line = SelectedLine();
  return line.isValid() ? line.row() : -1;
}

void TapeList::SelectRow(int row) {
  if (row < 0 || row >= Rows()) return;
  const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

void TapeList::ShowMenu(std::optional<QPoint> global) {
  MakeMenu();
  emit MenuAboutToShow();
  copy_line_->setEnabled(SelectedLine().isValid());
  copy_all_->setEnabled(Rows() > 0);
  if (!global) {
    // Under the selected line where it is on screen, else in the middle of the list.
    const QModelIndex line = SelectedLine();
    const QRect rect = line.isValid() ? visualRect(line) & viewport()->rect() : QRect();
    const QPoint at = rect.isEmpty() ? viewport()->rect().center() : rect.bottomLeft();
    global = viewport()->mapToGlobal(at);
  }
  menu_->popup(*global);
}

void TapeList::CopyLine() const {
  const QModelIndex line = SelectedLine();
  if (!line.isValid()) return;
  QGuiApplication::clipboard()->setText(model()->data(line, Qt::DisplayRole).toString());
}

void TapeList::CopyAll() const {
  QString text;
  if (model() == tape_) {
    // Straight from the store: a long run holds millions of lines.
    const TapeLines& lines = tape_->Lines();
    text.reserve(static_cast<qsizetype>(lines.TextBytes() + lines.Count()));
    std::string line;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      line.clear();
      lines.AppendLineTo(i, line);
      for (const char byte : line) text += QChar(static_cast<char16_t>(Cp1252ToCodePoint(byte)));
      text += u'\n';
    }
  } else {
    for (int row = 0; row < Rows(); ++row) {
      text += model()->data(model()->index(row, modelColumn(), rootIndex())).toString();
      text += u'\n';
    }
  }
  QGuiApplication::clipboard()->setText(text);
}

void TapeList::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse) {
    ShowMenu(event->globalPos());
  } else {
    ShowMenu();
  }
  event->accept();
}

void TapeList::keyPressEvent(QKeyEvent* event) {
  // The Menu key and Shift+F10 open the menu. Where the platform already turns the Menu key
  // into a context-menu event, the menu is open and this press finds it so.
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (event->key() == Qt::Key_Menu ||
      (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
    if (menu_ == nullptr || !menu_->isVisible()) ShowMenu();
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
}

void TapeList::SetRowHeight(int pixels) {
  pixels = std::max(0, pixels);
  if (pixels == row_height_) return;
  row_height_ = pixels;
  updateGeometries();
  viewport()->update();
}

int TapeList::RowHeight() const {
  if (row_height_ > 0) return row_height_;
  if (natural_row_height_ == 0) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("ÁgÑy");
    const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
    natural_row_height_ = std::max({1, size.height(), option.fontMetrics.height()});
  }
  return natural_row_height_;
}

int TapeList::Rows() const {
  return model() ? model()->rowCount(rootIndex()) : 0;
}

int TapeList::TopRow() const {
  return verticalScrollBar()->value();
}

int TapeList::FullyVisibleRows() const {
  return std::max(1, viewport()->height() / RowHeight());
}

QRect TapeList::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != model() || index.parent() != rootIndex() ||
      index.column() != modelColumn()) {
    return QRect();
  }
  const int height = RowHeight();
  const int top = ClampToInt((static_cast<std::int64_t>(index.row()) - TopRow()) * height);
  return QRect(-horizontalOffset(), top, std::max(content_width_, viewport()->width()), height);
}

void TapeList::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid() || index.model() != model() || index.parent() != rootIndex()) return;
  const int row = index.row();
  const int visible = FullyVisibleRows();
  const int top = TopRow();
  int new_top = top;
  switch (hint) {
    case EnsureVisible:
      if (row < top) {
        new_top = row;
      } else if (row >= top + visible) {
        new_top = row - visible + 1;
      }
      break;
    case PositionAtTop:
      new_top = row;
      break;
    case PositionAtBottom:
      new_top = row - visible + 1;
      break;
    case PositionAtCenter:
      new_top = row - visible / 2;
      break;
  }
  // The scroll bar keeps the value inside its range.
  verticalScrollBar()->setValue(new_top);
}

QModelIndex TapeList::indexAt(const QPoint& point) const {
  if (!model() || point.y() < 0 || point.x() < -horizontalOffset() ||
      point.x() >= std::max(content_width_, viewport()->width()) - horizontalOffset()) {
    return QModelIndex();
  }
  const std::int64_t row = static_cast<std::int64_t>(TopRow()) + point.y() / RowHeight();
  if (row >= Rows()) return QModelIndex();
  return model()->index(static_cast<int>(row), modelColumn(), rootIndex());
}

void TapeList::doItemsLayout() {
  // Nothing to lay out: positions follow from the row number. Skip QListView's per-row pass.
  QAbstractItemView::doItemsLayout();
}

void TapeList::reset() {
  QListView::reset();
  RecomputeContentWidth();
}

void TapeList::rowsInserted(const QModelIndex& parent, int start, int end) {
  // QListView would forget its layout and lay out every row again; only the new rows matter.
  if (parent == rootIndex() && model()) {
    for (int row = start; row <= end; ++row)
      content_width_ = std::max(content_width_, LineWidth(row));
    UpdateScrollRanges();
    if (end < Rows() - 1) {
      viewport()->update();  // rows below moved down
    } else {
      // New last rows on screen are drawn now; below the bottom they wait for a scroll.
      const QRect first = visualRect(model()->index(start, modelColumn(), parent));
      const QRect last = visualRect(model()->index(end, modelColumn(), parent));
      const QRect rows = QRect(first.topLeft(), last.bottomRight()) & viewport()->rect();
      if (!rows.isEmpty()) viewport()->update(rows);
    }
  }
  QAbstractItemView::rowsInserted(parent, start, end);
}

void TapeList::paintEvent(QPaintEvent* event) {
  if (!model()) return;
  QPainter painter(viewport());
  QStyleOptionViewItem base;
  initViewItemOption(&base);
  const QStyle::State state = base.state;
  const bool enabled = (state & QStyle::State_Enabled) != 0;
  const QModelIndex current = currentIndex();
  const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
  const QItemSelectionModel* selections = selectionModel();

  const int height = RowHeight();
  const int rows = Rows();
  const int margin = MarkMargin();
  const QRect area = event->rect();
  const std::int64_t first = TopRow() + std::max(0, area.top()) / height;
  const std::int64_t last = std::min<std::int64_t>(rows - 1, TopRow() + area.bottom() / height);
  for (std::int64_t row = first; row <= last; ++row) {
    const QModelIndex index = model()->index(static_cast<int>(row), modelColumn(), rootIndex());
    QStyleOptionViewItem option = base;
    option.rect = visualRect(index);
    option.state = state;
    if (selections && selections->isSelected(index)) option.state |= QStyle::State_Selected;
    if (enabled) {
      if (model()->flags(index) & Qt::ItemIsEnabled) {
        option.palette.setCurrentColorGroup(QPalette::Normal);
      } else {
        option.state &= ~QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Disabled);
      }
    }
    if (focus && index == current) option.state |= QStyle::State_HasFocus;
    const QRect row_rect = option.rect;
    option.rect.setLeft(option.rect.left() + margin);
    itemDelegateForIndex(index)->paint(&painter, option, index);
    if (margin > 0 && tape_->Lines().Corrected(static_cast<std::size_t>(row))) {
      PaintMark(painter, QRect(row_rect.left(), row_rect.top(), margin, height));
    }
  }
  if (hasFocus()) PaintFocusFrame(painter);
}

int TapeList::MarkMargin() const {
  if (model() != tape_ || !tape_->Lines().AnyCorrected()) return 0;
  return RowHeight();
}

void TapeList::PaintMark(QPainter& painter, const QRect& margin) const {
  // A white disc ringed in black with a black tick: seen on the list's colour, on the
  // selection and on any palette.
  const int size = std::max(5, margin.height() * 2 / 3);
  const QRect disc(margin.center().x() - size / 2, margin.center().y() - size / 2, size, size);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawEllipse(disc);
  QPen tick(Qt::black, std::max(1.0, size / 6.0));
  painter.setPen(tick);
  painter.drawLine(QPointF(disc.left() + size * 0.28, disc.top() + size * 0.52),
                   QPointF(disc.left() + size * 0.45, disc.top() + size * 0.70));
  painter.drawLine(QPointF(disc.left() + size * 0.45, disc.top() + size * 0.70),
                   QPointF(disc.left() + size * 0.74, disc.top() + size * 0.32));
  painter.restore();
}

void TapeList::PaintFocusFrame(QPainter& painter) const {
  // Around the whole list, whatever row is current, so that an empty list shows it too.
  DrawFocusFrame(painter, viewport()->rect(),
                 viewport()->palette().color(viewport()->backgroundRole()), this);
}

void TapeList::resizeEvent(QResizeEvent* event) {
  // Rows keep their places when the view is resized; only the scroll ranges change.
  QAbstractItemView::resizeEvent(event);
}

void TapeList::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    natural_row_height_ = 0;
    advances_.clear();
    RecomputeContentWidth();
    updateGeometries();
    // Rows of a new height: keep the line the user was looking at, normally the last, in view.
    if (currentIndex().isValid()) scrollTo(currentIndex());
  }
  QListView::changeEvent(event);
}

void TapeList::scrollContentsBy(int dx, int dy) {
  const int height = RowHeight();
  // Scrolled pixels would carry the focus frame along: with the focus, everything is repainted.
  if (!hasFocus() && std::abs(static_cast<std::int64_t>(dy)) * height < viewport()->height()) {
    viewport()->scroll(dx, dy * height);
  } else {
    viewport()->update();
  }
}

void TapeList::updateGeometries() {
  UpdateScrollRanges();
  QAbstractItemView::updateGeometries();
}

void TapeList::showEvent(QShowEvent* event) {
  QListView::showEvent(event);
  if (ranges_pending_) UpdateScrollRanges();
}

void TapeList::UpdateScrollRanges() {
  // An empty list, or one not shown yet, has nothing to scroll: its steps are set when it is
  // shown with rows, in the font its window has given it by then. Measuring the rows earlier
  // would load a font before anything is drawn with it.
  ranges_pending_ = !isVisible() || Rows() == 0;
  if (ranges_pending_) {
    verticalScrollBar()->setRange(0, 0);
    horizontalScrollBar()->setRange(0, 0);
    return;
  }
  const int visible = FullyVisibleRows();
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, Rows() - visible));
  vertical->setPageStep(visible);
  vertical->setSingleStep(1);
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, content_width_ + MarkMargin() - viewport()->width()));
  horizontal->setPageStep(viewport()->width());
  horizontal->setSingleStep(std::max(1, 2 * fontMetrics().averageCharWidth()));
}

int TapeList::horizontalOffset() const {
  return horizontalScrollBar()->value();
}

int TapeList::verticalOffset() const {
  return ClampToInt(static_cast<std::int64_t>(TopRow()) * RowHeight());
}

QModelIndex TapeList::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
  const int rows = Rows();
  if (rows == 0) return QModelIndex();
  const QModelIndex current = currentIndex();
  if (!current.isValid()) return model()->index(0, modelColumn(), rootIndex());
  const std::int64_t row = current.row();
  const int page = FullyVisibleRows();
  std::int64_t target = row;
  switch (action) {
    case MoveUp:
    case MovePrevious:
      target = row - 1;
      break;
    case MoveDown:
    case MoveNext:
      target = row + 1;
      break;
    case MovePageUp:
      target = row - page;
      break;
    case MovePageDown:
      target = row + page;
      break;
    case MoveHome:
      target = 0;
      break;
    case MoveEnd:
      target = rows - 1;
      break;
    case MoveLeft:
    case MoveRight:
      break;
  }
  target = std::clamp<std::int64_t>(target, 0, rows - 1);
  return model()->index(static_cast<int>(target), modelColumn(), rootIndex());
}

void TapeList::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  if (!selectionModel()) return;
  const QRect area = rect.normalized();
  const int height = RowHeight();
  const std::int64_t first = TopRow() + static_cast<std::int64_t>(std::max(0, area.top())) / height;
  const std::int64_t last = std::min<std::int64_t>(
      Rows() - 1, TopRow() + static_cast<std::int64_t>(area.bottom()) / height);
  QItemSelection selection;
  if (area.bottom() >= 0 && first <= last) {
    selection.select(model()->index(static_cast<int>(first), modelColumn(), rootIndex()),
                     model()->index(static_cast<int>(last), modelColumn(), rootIndex()));
  }
  selectionModel()->select(selection, command);
}

QRegion TapeList::visualRegionForSelection(const QItemSelection& selection) const {
  // Only what is on screen: a selection may cover millions of rows.
  const int height = RowHeight();
  const int top = TopRow();
  const int bottom = top + viewport()->height() / height + 1;
  QRegion region;
  for (const QItemSelectionRange& range : selection) {
    if (range.parent() != rootIndex() || range.left() > modelColumn() ||
        range.right() < modelColumn()) {
      continue;
    }
    const int first = std::max(range.top(), top);
    const int last = std::min(range.bottom(), bottom);
    if (first > last) continue;
    const QRect first_rect = visualRect(model()->index(first, modelColumn(), rootIndex()));
    region += QRect(first_rect.topLeft(), QSize(first_rect.width(), (last - first + 1) * height));
  }
  return region;
}

// QListView reports the row of a selection or focus change through its own layout; report it
// from the row number, since a list has one cell a row.
void TapeList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  if (QAccessible::isActive()) {
    const QModelIndex added = selected.indexes().value(0);
    if (added.isValid()) {
      QAccessibleEvent event(this, QAccessible::SelectionAdd);
      event.setChild(added.row());
      QAccessible::updateAccessibility(&event);
    }
    const QModelIndex removed = deselected.indexes().value(0);
    if (removed.isValid()) {
      QAccessibleEvent event(this, QAccessible::SelectionRemove);
      event.setChild(removed.row());
      QAccessible::updateAccessibility(&event);
    }
  }
  QAbstractItemView::selectionChanged(selected, deselected);
}

void TapeList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (QAccessible::isActive() && current.isValid() && hasFocus()) {
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(current.row());
    QAccessible::updateAccessibility(&event);
  }
  QAbstractItemView::currentChanged(current, previous);
}

QSize TapeList::viewportSizeHint() const {
  return QSize(content_width_, ClampToInt(static_cast<std::int64_t>(Rows()) * RowHeight()));
}

int TapeList::LineWidth(int row) const {
  const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
  if (model() != tape_) {
    return fontMetrics().horizontalAdvance(model()->data(index, Qt::DisplayRole).toString()) +
           margin;
  }
  // The sum of the characters' advances, without shaping the text: a line of the tape is
  // single-byte text, and this runs for every line appended. Each byte is measured the first
  // time it is met: a run meets a few dozen of the 256, and measuring the others would look for
  // fonts that have their glyphs.
  if (advances_.empty()) advances_.assign(256, -1.0f);
  double width = 0;
  for (const char byte : tape_->Lines().Line(static_cast<std::size_t>(row))) {
    float& advance = advances_[static_cast<unsigned char>(byte)];
    if (advance < 0) {
      advance = static_cast<float>(QFontMetricsF(font()).horizontalAdvance(
          QChar(static_cast<char16_t>(Cp1252ToCodePoint(byte)))));
    }
    width += advance;
  }
  return static_cast<int>(std::ceil(width)) + margin;
}

void TapeList::RecomputeContentWidth() {
  // Runs over every line: only on a new model, font or style, never on an append.
  content_width_ = 0;
  const int rows = Rows();
  for (int row = 0; row < rows; ++row) content_width_ = std::max(content_width_, LineWidth(row));
}

}  // namespace dravello
