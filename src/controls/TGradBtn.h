// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <optional>

#include "QtColor.h"

class QKeyEvent;
class QMouseEvent;

// A self-painted push button: a colour gradient in one of six patterns, a one-pixel 3-D frame
// and a caption drawn plain, raised or inset. While a mouse button is held on it the frame is
// reversed, the caption moves one pixel right and down and, with SwapColors, BeginColor and
// EndColor trade places (the properties themselves). Every paint renders the whole face into an
// off-screen image that is copied to the screen in one block; the background is never erased.
//
// Colours are Windows colour values (see WinColor.h in src/util); BeginColor and EndColor are
// taken as plain colours even when they hold a system-colour reference. Setting one of the ten
// published properties (SwapColors excepted) or the caption to a new value repaints; setting the
// value the property already has does nothing. The button has no keyboard activation.
class TGradBtn : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
  Q_PROPERTY(uint BtnHiliteClr READ BtnHiliteClr WRITE setBtnHiliteClr)
  Q_PROPERTY(uint BtnShadowClr READ BtnShadowClr WRITE setBtnShadowClr)
  Q_PROPERTY(uint TxtHiliteClr READ TxtHiliteClr WRITE setTxtHiliteClr)
  Q_PROPERTY(uint TxtShadowClr READ TxtShadowClr WRITE setTxtShadowClr)
  Q_PROPERTY(uint BeginColor READ BeginColor WRITE setBeginColor)
  Q_PROPERTY(uint EndColor READ EndColor WRITE setEndColor)
  Q_PROPERTY(bool SwapColors READ SwapColors WRITE setSwapColors)
  Q_PROPERTY(TGradientStyle GradientStyle READ GradientStyle WRITE setGradientStyle)
  Q_PROPERTY(TTextStyle TextStyle READ TextStyle WRITE setTextStyle)
  Q_PROPERTY(TShadeType TextShadeType READ TextShadeType WRITE setTextShadeType)
  Q_PROPERTY(uint FontColor READ FontColor WRITE setFontColor RESET resetFontColor)
  Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

 public:
  enum TGradientStyle {
    gsHorizontal,
    gsVertical,
    gsElliptic,
    gsRectangle,
    gsVertCenter,
    gsHorizCenter
  };
  Q_ENUM(TGradientStyle)
  enum TTextStyle { tsNormal, tsRaised, tsInset };
  Q_ENUM(TTextStyle)
  enum TShadeType { stLight, stHeavy };
  Q_ENUM(TShadeType)

  // 75 x 25, gsVertCenter from 0x800000 to 0xFFFF00, system highlight and shadow frame and
  // text colours, tsNormal, stLight, SwapColors on, no tab stop.
  explicit TGradBtn(QWidget* parent = nullptr);
  ~TGradBtn() override;

  QString Caption() const { return caption_; }
  void setCaption(const QString& caption);
  // Light edge of the frame: top and left when up, bottom and right when down.
  dravello::WinColor BtnHiliteClr() const { return btn_hilite_; }
  void setBtnHiliteClr(dravello::WinColor color);
  // Dark edge of the frame: bottom and right when up, top and left when down.
  dravello::WinColor BtnShadowClr() const { return btn_shadow_; }
  void setBtnShadowClr(dravello::WinColor color);
  // Highlight copy of the caption in the raised and inset text styles.
  dravello::WinColor TxtHiliteClr() const { return txt_hilite_; }
  void setTxtHiliteClr(dravello::WinColor color);
  // Shadow copy of the caption with the heavy shade.
  dravello::WinColor TxtShadowClr() const { return txt_shadow_; }
  void setTxtShadowClr(dravello::WinColor color);
  // Gradient colour at the start (left, top or rim) and at the end (right, bottom or centre).
  dravello::WinColor BeginColor() const { return begin_color_; }
  void setBeginColor(dravello::WinColor color);
  dravello::WinColor EndColor() const { return end_color_; }
  void setEndColor(dravello::WinColor color);
  // Read at the press and again at the release; stored only (no repaint).
  bool SwapColors() const { return swap_colors_; }
  void setSwapColors(bool on);
  TGradientStyle GradientStyle() const { return gradient_style_; }
  void setGradientStyle(TGradientStyle style);
  TTextStyle TextStyle() const { return text_style_; }
  void setTextStyle(TTextStyle style);
  TShadeType TextShadeType() const { return text_shade_type_; }
  void setTextShadeType(TShadeType type);
  // The caption colour. Until it is set, the text colour of the palette that the button
  // inherits from the control it is placed in; resetFontColor() returns to that.
  dravello::WinColor FontColor() const;
  void setFontColor(dravello::WinColor color);
  void resetFontColor();
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void setTabStop(bool on);

  // Whether a mouse button holds the button down.
  bool IsDown() const { return down_; }
  // Fires clicked(), as assistive technology's press action does.
  void Click();

  // The picture of the face as the next paint shows it, `size` pixels large.
  QImage Render(QSize size) const;

 signals:
  // A left press (not the second of a double click) released inside the button; fires before
  // the release undoes the down state, so the colours are still exchanged.
  void clicked();
  void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint pos);
  void entered();  // took the keyboard focus
  void exited();   // lost the keyboard focus
  void keyDown(QKeyEvent* event);
  void keyPress(QKeyEvent* event);
  void keyUp(QKeyEvent* event);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void Press(QMouseEvent* event, bool arm_click);
  void SetColorProperty(dravello::WinColor& field, dravello::WinColor color);
  void RenderInto(QImage& image) const;

  QString caption_;
  dravello::WinColor btn_hilite_ = dravello::kSysBtnHighlight;
  dravello::WinColor btn_shadow_ = dravello::kSysBtnShadow;
  dravello::WinColor txt_hilite_ = dravello::kSysBtnHighlight;
  dravello::WinColor txt_shadow_ = dravello::kSysBtnShadow;
  dravello::WinColor begin_color_ = 0x800000;
  dravello::WinColor end_color_ = 0xFFFF00;
  bool swap_colors_ = true;
  TGradientStyle gradient_style_ = gsVertCenter;
  TTextStyle text_style_ = tsNormal;
  TShadeType text_shade_type_ = stLight;
  std::optional<dravello::WinColor> font_color_;
  bool down_ = false;
  bool click_armed_ = false;  // a left press (not the second of a double click) is held
  QImage bitmap_;             // the off-screen picture, kept between paints
};
