// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up benchmark's floor: the least a Qt Widgets program of the calculator's size costs.
//
//   startup_floor [--quit-when-shown]
//
// One fixed-size window of the calculator's size at 96 dpi, centred on the screen, with a label,
// 30 custom-painted buttons and a list, in the toolkit's default font, palette and style, and
// nothing else: no layouts, pictures, fonts, translations, settings or accessibility of its own.
// It answers the benchmark's keys with the toolkit work that the calculator's answer cannot do
// without: the key's button drawn pressed for 100 ms, the label's new text, and a new list line
// (selected and scrolled into view) for each operation finished (an operator or Return after a
// second number) and for the memory key. Ctrl with a digit changes the label's text.
//
// --quit-when-shown: ends as soon as the window has been shown (the build's smoke test).
//
// Keep it bare: it is the yardstick of the calculator's figures, and every line added here makes
// the calculator look cheaper than it is.

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <array>

namespace {

constexpr int kWidth = 537;
constexpr int kHeight = 400;
constexpr int kFlashMs = 100;

constexpr std::array<const char*, 30> kCaptions = {
    "7", "8", "9",  "4",    "5",  "6", "1",    "2",  "3",  "0",  ",",  "+",  "-",   "*",   "/",
    "=", "%", "%%", "Raiz", "X²", "½", "Sig±", "M+", "M-", "Ma", "Mb", "Mc", "CLr", "Del", "Mon"};

// A flat button painted by hand: a panel, a darker one while pressed, and its caption.
class FloorButton : public QAbstractButton {
 public:
  FloorButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
  }

  void Flash() {
    setDown(true);
    QTimer::singleShot(kFlashMs, this, [this] { setDown(false); });
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), isDown() ? Qt::darkGray : Qt::lightGray);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect(), Qt::AlignCenter, text());
  }
};

class FloorWindow : public QWidget {
 public:
  FloorWindow() {
    setFixedSize(kWidth, kHeight);
    display_ = new QLabel(QStringLiteral("0"), this);
    display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    display_->setGeometry(10, 10, kWidth - 20, 30);
    for (int i = 0; i < static_cast<int>(kCaptions.size()); ++i) {
      auto* button = new FloorButton(QString::fromUtf8(kCaptions[i]), this);
      button->setGeometry(10 + (i % 10) * 52, 50 + (i / 10) * 32, 50, 30);
      buttons_[static_cast<std::size_t>(i)] = button;
    }
    list_ = new QListWidget(this);
    list_->setGeometry(10, 150, kWidth - 20, kHeight - 160);
    // The window takes every key, as the calculator's does; with the focus, the list would take
    // the typed characters for its keyboard search.
    list_->setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const QString text = event->text();
    if (event->modifiers() & Qt::ControlModifier) {
      if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9) {
        buttons_.back()->Flash();
        display_->setText(entry_ + QStringLiteral(" (%1)").arg(event->key() - Qt::Key_0));
      }
      return;
    }
    const QChar ch = text.isEmpty() ? QChar() : text.front();
    if (event->key() == Qt::Key_Return || ch == u'=') {
      Press(15);
      Finish(QStringLiteral("="));
    } else if (ch.isDigit() || ch == u',') {
      Press(ch == u',' ? 10 : (ch == u'0' ? 9 : PadIndex(ch)));
      entry_ += ch;
      display_->setText(entry_);
      typed_ = true;
    } else if (const int op = QStringLiteral("+-*/").indexOf(ch); op >= 0) {
      Press(11 + op);
      Finish(QString(ch));
      pending_ = true;
    } else if (ch == u'M') {
      Press(22);
      list_->addItem(entry_ + QStringLiteral(" M+"));
      Select();
    }
  }

 private:
  // The keypad's rows run 7 8 9, 4 5 6, 1 2 3.
  static int PadIndex(QChar digit) {
    const int d = digit.digitValue();
    return (2 - (d - 1) / 3) * 3 + (d - 1) % 3;
  }

  void Press(int index) { buttons_[static_cast<std::size_t>(index)]->Flash(); }

  // An operator or Return after a second number finishes an operation: one line.
  void Finish(const QString& op) {
    if (pending_ && typed_) {
      list_->addItem(entry_ + QLatin1Char(' ') + op);
      Select();
      pending_ = false;
    }
    display_->setText(entry_ + QLatin1Char(' ') + op);
    entry_.clear();
    typed_ = false;
  }

  void Select() {
    list_->setCurrentRow(list_->count() - 1);
    list_->scrollToBottom();
  }

  QLabel* display_;
  std::array<FloorButton*, kCaptions.size()> buttons_{};
  QListWidget* list_;
  QString entry_;
  bool typed_ = false;
  bool pending_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  FloorWindow window;
  if (const QScreen* screen = window.screen()) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
  window.show();
  if (app.arguments().contains(QStringLiteral("--quit-when-shown")))
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return QApplication::exec();
}
