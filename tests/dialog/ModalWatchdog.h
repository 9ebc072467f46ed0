// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Deals with every modal window that opens while a test runs, so that a test fails instead of
// hanging on one.

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace dialog_test {

class ModalWatchdog : public QObject {
 public:
  // What to do with the next modal window other than a message box. It runs outside the
  // watchdog's own tick, so it may open further modal windows (a click that shows an error).
  using Answer = std::function<void(QWidget*)>;

  // A modal window left open this many ticks after its answer, or one that nobody expected, is
  // closed and counted as a failure.
  static constexpr int kPatienceTicks = 500;

  ModalWatchdog() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_.start();
  }

  void Expect(Answer answer) { answers_.push_back(std::move(answer)); }

  // The message boxes seen, "title | text", each closed with OK; boxes_icons their icons.
  QStringList boxes;
  QList<QMessageBox::Icon> box_icons;
  // Modal windows that had to be closed by force: a test that counts any has failed.
  int forced = 0;
  bool AllAnswered() const { return answers_.empty(); }

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes << box->windowTitle() + QStringLiteral(" | ") + box->text();
      box_icons << box->icon();
      box->done(QMessageBox::Ok);
      return;
    }
    if (modal == answered_ && !answer_done_) return;  // its answer is still at work
    if (modal != answered_ || !answers_.empty()) {
      // A new window, or one that stayed open after its answer and expects the next one.
      if (answers_.empty()) {
        Force(modal);
        return;
      }
      answered_ = modal;
      answer_done_ = false;
      ticks_ = 0;
      Answer answer = std::move(answers_.front());
      answers_.pop_front();
      QPointer<QWidget> target(modal);
      QTimer::singleShot(0, modal, [this, answer, target] {
        if (target) answer(target);
        answer_done_ = true;
      });
      return;
    }
    if (++ticks_ > kPatienceTicks) Force(modal);
  }

  void Force(QWidget* modal) {
    ++forced;
    modal->close();
  }

  QTimer timer_;
  std::deque<Answer> answers_;
  QPointer<QWidget> answered_;
  bool answer_done_ = true;
  int ticks_ = 0;
};

}  // namespace dialog_test
