// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBasicTimer>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "QtColor.h"

class QKeyEvent;
class QMouseEvent;

// The keypad push button: a flat panel with a one-pixel outer bevel, an optional single border,
// a background and a caption centred in it with its accelerator character underlined. It shows
// a pressed (down) look while a mouse button is held on it, and program code can show that look
// for a while with Flash() so that a key typed on the keyboard visibly presses the button.
//
// Colours are Windows colour values (see WinColor.h in src/util). Every setter does nothing when
// the value is unchanged; a setter that changes the look schedules a repaint.
//
// While it holds the keyboard focus, the style's focus frame is drawn inside its bevel.
//
// Events: clicked() (OnClick) fires for every mouse release that reaches the button, after
// mouseUp(); a left press and release inside the button also stores ModalResult in the
// containing window first. The window's dialog keys and accelerators (DialogKeys) call Click(),
// which fires clicked() alone. A mouse press does not take the keyboard focus.
class THighButton : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(uint Color READ Color WRITE setColor)
  Q_PROPERTY(uint FontColor READ FontColor WRITE setFontColor)
  Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
  Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)
  Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE setCtl3D)
  Q_PROPERTY(bool Cancel READ Cancel WRITE setCancel)
  Q_PROPERTY(uint UpColor READ UpColor WRITE setUpColor)
  Q_PROPERTY(uint DownColor READ DownColor WRITE setDownColor)
  Q_PROPERTY(uint UpColorFont READ UpColorFont WRITE setUpColorFont)
  Q_PROPERTY(uint DownColorFont READ DownColorFont WRITE setDownColorFont)
  Q_PROPERTY(int ModalResult READ ModalResult WRITE setModalResult)
  Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
  Q_PROPERTY(int Tag READ Tag WRITE setTag)

 public:
  enum TBevelCut { bvNone, bvLowered, bvRaised };
  Q_ENUM(TBevelCut)
  enum TBorderStyle { bsNone, bsSingle };
  Q_ENUM(TBorderStyle)

  static constexpr dravello::WinColor kDefaultColor = 0xC0C0C0;
  static constexpr dravello::WinColor kDefaultFontColor = 0x000000;

  // 185 x 41, raised bevel, no border, up and down colours 0xC0C0C0 on 0x000000 text, a tab stop.
  explicit THighButton(QWidget* parent = nullptr);
  ~THighButton() override;

  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  // The background and caption colours shown now.
  dravello::WinColor Color() const { return color_; }
  void setColor(dravello::WinColor color);
  dravello::WinColor FontColor() const { return font_color_; }
  void setFontColor(dravello::WinColor color);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void setBevelOuter(TBevelCut bevel);
  // bsSingle draws a one-pixel line in the window-frame colour when Ctl3D is false, a two-pixel
  // sunken edge when it is true.
  TBorderStyle BorderStyle() const { return border_style_; }
  void setBorderStyle(TBorderStyle style);
  bool Ctl3D() const { return ctl3d_; }
  void setCtl3D(bool on);
  // Escape clicks the button.
  bool Cancel() const { return cancel_; }
  void setCancel(bool cancel);
  // Setting UpColor or UpColorFont also shows the colour at once; the down colours show at the
  // next press or flash.
  dravello::WinColor UpColor() const { return up_color_; }
  void setUpColor(dravello::WinColor color);
  dravello::WinColor DownColor() const { return down_color_; }
  void setDownColor(dravello::WinColor color);
  dravello::WinColor UpColorFont() const { return up_color_font_; }
  void setUpColorFont(dravello::WinColor color);
  dravello::WinColor DownColorFont() const { return down_color_font_; }
  void setDownColorFont(dravello::WinColor color);
  // Stored in the containing window on a left click (see clicked()): a QDialog running modally
  // closes with a non-zero value (done()); other windows get it as their dynamic property
  // "ModalResult".
  int ModalResult() const { return modal_result_; }
  void setModalResult(int result);
  // A tab stop takes the focus by Tab (Qt::TabFocus); otherwise only from program code.
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void setTabStop(bool on);
  int Tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  // Shows the down look (lowered bevel, DownColor, DownColorFont) and repaints at once. The
  // bevel in use is recorded for ShowUp, unless the down look already shows: a nested press or
  // flash keeps the bevel recorded by the first.
  void ShowDown();
  // Restores the recorded bevel, UpColor and UpColorFont, and repaints at once.
  void ShowUp();
  // ShowDown, then keeps the application handling its events until more than `ms` milliseconds
  // of tick-counter time have passed, then ShowUp (unless a KeepDown still holds the down
  // look). The wait sleeps between events instead of polling. A negative duration shows the
  // down look and at once the up look, handling no event. Works on a disabled button. Events
  // handled inside may flash again, this or other buttons; if the button is destroyed
  // meanwhile, Flash returns as soon as it notices.
  void Flash(int ms);
  // For a key held down, whose repeats come faster than flashes: shows the down look at once
  // and keeps it, without waiting, until more than `ms` milliseconds of tick-counter time have
  // passed since the latest KeepDown; then a timer shows the up look. A Flash that ends before
  // then leaves the down look in place.
  void KeepDown(int ms);

  // Fires clicked() as the keyboard does: no ModalResult step.
  void Click();

  // Whether the down look shows.
  bool IsDown() const { return down_; }
  // Whether this is the focused highlight button of its window, the one that Enter clicks.
  bool IsActive() const { return active_; }
  // Whether the button takes the dialog key `key` (Qt::Key_Return, Qt::Key_Enter or
  // Qt::Key_Escape) given without Shift, Ctrl or Alt: Enter when active, Escape when Cancel.
  bool WantsDialogKey(int key) const;
  // Whether `typed` is the accelerator character of the caption.
  bool WantsAccelerator(QChar typed) const;

 signals:
  void clicked();
  void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void keyDown(QKeyEvent* event);
  void keyPress(QKeyEvent* event);
  void keyUp(QKeyEvent* event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  void Press(QMouseEvent* event, bool arm_click);
  void StoreModalResult();
  void FocusChanged(QWidget* now);
  void NotifyPressedState();

  QString caption_;
  dravello::WinColor color_ = kDefaultColor;
  dravello::WinColor font_color_ = kDefaultFontColor;
  TBevelCut bevel_outer_ = bvRaised;
  TBevelCut recorded_bevel_ = bvRaised;
  TBorderStyle border_style_ = bsNone;
  bool ctl3d_ = true;
  bool cancel_ = false;
  dravello::WinColor up_color_ = kDefaultColor;
  dravello::WinColor down_color_ = kDefaultColor;
  dravello::WinColor up_color_font_ = kDefaultFontColor;
  dravello::WinColor down_color_font_ = kDefaultFontColor;
  int modal_result_ = 0;
  int tag_ = 0;
  bool down_ = false;
  bool active_ = false;
  bool click_armed_ = false;  // a left press (not the second of a double click) is held
  int flashes_ = 0;           // Flash calls running on this button
  QBasicTimer keep_timer_;    // ends a KeepDown
  std::uint32_t keep_start_ = 0;
  int keep_ms_ = 0;
  // The application's focus notices reach this button until its own destructor has run; the
  // widget underneath may still lose the focus after that, and tell it.
  QMetaObject::Connection focus_connection_;
};
