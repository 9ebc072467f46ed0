// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFormCalculadora.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QKeySequence>
#include <QPixmap>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QToolButton>
#include <QWindow>
#include <map>
#include <span>

#include "Cp1252.h"
#include "DesignLayout.h"
#include "DialogKeys.h"
#include "JpegDecoder.h"
#include "Pictures.h"
#include "Portapapeles.h"
#include "TGradBtn.h"
#include "THighButton.h"
#include "TapeList.h"
#include "TapeModel.h"

using dravello::KeyButton;

// The pictures are compiled into this static library, which registers them itself (outside any
// namespace, as Qt requires).
static void InitResources() {
  Q_INIT_RESOURCE(dravello);
}

namespace {

constexpr int kKeyFlashMs = 100;
constexpr int kEjecutarClickFlashMs = 50;
// The two collapsible sections change the window's height by these screen pixels, unscaled.
constexpr int kEquivalencesHeight = 78;
constexpr int kOperationsHeight = 123;
constexpr dravello::WinColor kOlive = 0x008080;
constexpr dravello::WinColor kLime = 0x00FF00;

std::string Cp1252(const QString& text) {
  return dravello::Utf8ToCp1252(text.toStdString()).value_or(std::string());
}

const Ui::TFormCalculadora& SetUp(Ui::TFormCalculadora& ui, QWidget* form) {
  InitResources();
  ui.setupUi(form);
  return ui;
}

}  // namespace

TFormCalculadora::TFormCalculadora(const std::string& settings_file,
                                   dravello::Separators separators, QWidget* parent)
    : QWidget(parent),
      view_(this, SetUp(ui_, this)),
      engine_(view_, separators),
      monedas_(engine_, view_, settings_file) {
  // A title bar with a close box only and a fixed size; an ordinary top-level window keeps its
  // task-bar entry, so a minimised calculator can be brought back.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  ApplyDesign(this, dravello::ScaleForScreen(this));
  view_.SetDecimalSeparator(separators.decimal);
  ShowButtonPictures(ui_);
  const bool describe_by_name =
      qEnvironmentVariable("DRAVELLO_ACCESSIBLE_IDS") == QLatin1String("1");
  DescribeControls(describe_by_name);
  view_.SetDescribeByHint(!describe_by_name);

  for (const KeyButton& entry : dravello::KeyButtons()) {
    THighButton* button = findChild<THighButton*>(
        QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
    key_buttons_.push_back(button);
    if (button != nullptr && dravello::AcceleratorOf(Cp1252(button->Caption())) != 0)
      accelerator_buttons_.push_back(button);
  }
  // The operations list's menu: saving belongs to the list, printing is the print button's.
  view_.SetCurrencyOfLines([this]() -> const std::string& {
    return monedas_.TablaMonedas()[static_cast<std::size_t>(monedas_.MonedaActual())].Moneda;
  });
  connect(
      ui_.ListBox1, &dravello::TapeList::SaveRequested, this,
      [this] {
        if (OnDemand* parts = Parts()) parts->SaveTape(ui_.ListBox1, engine_.Separadores());
      },
      Qt::QueuedConnection);
  connect(ui_.ListBox1, &dravello::TapeList::PrintRequested, this, &TFormCalculadora::BitBtn3Click,
          Qt::QueuedConnection);
  for (const dravello::WindowKey& entry : dravello::WindowKeys()) {
    const QKeySequence keys = QKeySequence::fromString(
        QString::fromLatin1(entry.keys.data(), static_cast<qsizetype>(entry.keys.size())),
        QKeySequence::PortableText);
    QWidget* button = findChild<QWidget*>(
        QString::fromLatin1(entry.button.data(), static_cast<qsizetype>(entry.button.size())));
    if (keys.count() == 1 && button != nullptr) window_keys_.emplace_back(keys[0], button);
  }
  ListKeysInTooltips();
  list_focus_policy_ = ui_.ListBox1->focusPolicy();
  QCoreApplication::instance()->installEventFilter(this);
  FormCreate();
}

TFormCalculadora::~TFormCalculadora() {
  QCoreApplication::instance()->removeEventFilter(this);
}

void TFormCalculadora::FormCreate() {
  RunCommand(view_, [this] { monedas_.IniciaCalculadora(); });
  operaciones_abiertas_ = true;
}

void TFormCalculadora::FitBackground() {
  // The picture stretched over the backdrop, made here as the label would make it itself from a
  // picture of another size; the label then keeps this one copy of it instead of the picture,
  // a copy of it and the stretched one.
  const qreal ratio = ui_.Image1->devicePixelRatio();
  const QSize size = ui_.Image1->contentsRect().size() * ratio;
  if (size == background_size_) return;
  background_size_ = size;
  QFile file(QStringLiteral(":/background.jpg"));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray data = file.readAll();
  const std::span<const std::uint8_t> jpeg(reinterpret_cast<const std::uint8_t*>(data.data()),
                                           static_cast<std::size_t>(data.size()));
  dravello::JpegDecoder decoder;
  dravello::JpegDecoder::Size picture;
  if (!decoder.ReadSize(jpeg, picture)) return;
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  if (image.isNull() || !decoder.DecodeRgb32(jpeg, picture, image.bits(),
                                             static_cast<std::size_t>(image.bytesPerLine())))
    return;
  QPixmap stretched =
      QPixmap::fromImage(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  stretched.setDevicePixelRatio(ratio);
  ui_.Image1->setScaledContents(false);
  ui_.Image1->setPixmap(stretched);
}

void TFormCalculadora::DescribeControls(bool by_name) {
  // A screen reader says the description after the name and the role: the hint tells what a
  // button does ("CLr, botón, Borra Display"). Assistive tools do not see object names, so a
  // test driver finds controls by the description that carries the name.
  setAccessibleDescription(by_name ? objectName() : QString());
  for (QWidget* widget : findChildren<QWidget*>()) {
    const QString name = widget->objectName();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) {
      widget->setAccessibleDescription(by_name ? name : widget->toolTip());
    }
  }
}

void TFormCalculadora::ListKeysInTooltips() {
  std::map<QWidget*, std::string> keys;  // blank-separated, in the tables' order
  const std::span<const KeyButton> buttons = dravello::KeyButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i) keys[key_buttons_[i]] = buttons[i].keys;
  for (const dravello::WindowKey& entry : dravello::WindowKeys()) {
    QWidget* button = findChild<QWidget*>(
        QString::fromLatin1(entry.button.data(), static_cast<qsizetype>(entry.button.size())));
    std::string& list = keys[button];
    if (!list.empty()) list += ' ';
    list += entry.keys;
  }
  for (const auto& [button, list] : keys) {
    const std::string line = dravello::KeysLine(list);
    if (button == nullptr || line.empty()) continue;
    const QString hint = button->toolTip();
    const QString text = QString::fromStdString(dravello::Cp1252ToUtf8(line));
    button->setToolTip(hint.isEmpty() ? text : hint + QLatin1Char('\n') + text);
  }
}

void TFormCalculadora::resizeEvent(QResizeEvent* event) {
  // Only the backdrop follows the client area; the sections' controls keep their places and
  // fall outside it when the window shrinks.
  ui_.GradPan1->resize(event->size());
  const QRect inside = ui_.GradPan1->rect().adjusted(1, 1, -1, -1);
  ui_.Image1->setGeometry(inside);
  QWidget::resizeEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Keys

bool TFormCalculadora::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && watched == ui_.Image1) {
    // The picture is decoded when the backdrop is first painted, after the window has appeared,
    // and again when a section opened or closed has changed the backdrop's size.
    FitBackground();
    return false;
  }
  if (event->type() != QEvent::KeyPress || delivering_ || !watched->isWidgetType()) return false;
  if (static_cast<QWidget*>(watched)->window() != this) return false;
  // Every key press aimed at the window is taken here, before its control sees it, and routed
  // in its turn; the focus it meets then is the one the keys before it left.
  const KeyInput key = KeyInput::From(*static_cast<QKeyEvent*>(event));
  Input([this, key] { Route(key); });
  return true;
}

void TFormCalculadora::Route(const KeyInput& key) {
  const QScopedValueRollback<bool> repeat(repeating_, key.auto_repeat);
  if (ClickWindowKey(key)) return;

  QWidget* focus = QApplication::focusWidget();
  const bool focus_on_button =
      qobject_cast<THighButton*>(focus) != nullptr || qobject_cast<TGradBtn*>(focus) != nullptr;

  // Stage 1: dialog keys.
  switch (key.key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      if (DialogKeys::OfferDialogKey(this, key.key, key.modifiers)) return;
      break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (!key.Control() && !key.Alt()) {
        focusNextPrevChild(key.key == Qt::Key_Tab && !key.Shift());
        return;
      }
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (focus_on_button && !key.Control() && !key.Alt()) {
        MoveFocusByArrow(key.key);
        return;
      }
      break;
    default:
      break;
  }

  // Stage 2.
  FormKeyDown(key.VirtualKey());

  const std::optional<char> typed = key.Typed();
  if (!typed) {
    // Keys that type nothing go on to the focused control: the list's navigation keys.
    focus = QApplication::focusWidget();
    if (focus == ui_.ListBox1) {
      QKeyEvent copy = key.ToEvent();
      delivering_ = true;
      QCoreApplication::sendEvent(focus, &copy);
      delivering_ = false;
    }
    return;
  }

  // Stage 3: the accelerators, while the focused control does not take characters itself, or
  // with Alt. Alt with a key that is no accelerator types nothing.
  const QChar typed_char(dravello::Cp1252ToCodePoint(*typed));
  if ((!DialogKeys::TakesCharacters(QApplication::focusWidget()) || (key.Alt() && *typed != ' ')) &&
      OfferAccelerator(typed_char)) {
    return;
  }
  if (key.Alt()) return;

  // Stage 4.
  FormKeyPress(*typed);
}

bool TFormCalculadora::ClickWindowKey(const KeyInput& key) {
  // The keypad's keys count as the main keyboard's: Ctrl with a keypad digit, Shift with the
  // keypad's Insert.
  const Qt::KeyboardModifiers modifiers = key.modifiers & ~Qt::KeypadModifier;
  for (const auto& [combination, button] : window_keys_) {
    if (combination.key() != key.key || combination.keyboardModifiers() != modifiers) continue;
    // A button of a closed section lies outside the window: its key does nothing, as a click
    // cannot reach it either.
    const QRect place(button->mapTo(this, QPoint(0, 0)), button->size());
    if (!rect().intersects(place) || !button->isEnabled()) return true;
    if (auto* tool = qobject_cast<QToolButton*>(button)) tool->click();
    if (auto* grad = qobject_cast<TGradBtn*>(button)) grad->Click();
    return true;
  }
  return false;
}

bool TFormCalculadora::OfferAccelerator(QChar typed) {
  // The buttons of the key table whose captions mark a letter, found once at start-up, instead
  // of a search of the whole window at every key.
  for (THighButton* button : accelerator_buttons_) {
    if (button->isVisible() && button->isEnabled() && button->WantsAccelerator(typed)) {
      button->Click();
      return true;
    }
  }
  return false;
}

void TFormCalculadora::FormKeyDown(int vk) {
  const KeyButton* entry = dravello::KeyDownFlash(vk);
  const bool delete_key = (vk & 0xFF) == dravello::kVkDelete;
  if (entry != nullptr && !delete_key) FlashButton(ButtonOf(entry), kKeyFlashMs);
  if (delete_key) {
    FlashButton(ui_.HighButton42, kKeyFlashMs);
    if (Command(dravello::kDeleteKey)) FocusEjecutar();
  }
}

void TFormCalculadora::FormKeyPress(char ch) {
  if (const KeyButton* entry = dravello::TypedFlash(ch)) FlashButton(ButtonOf(entry), kKeyFlashMs);
  if (ch == '\r') {
    FlashButton(ui_.HighButton33, kKeyFlashMs);
    Command('=');
    return;
  }
  CommandAndRest(dravello::UpperAscii(ch));
}

void TFormCalculadora::MoveFocusByArrow(int key) {
  QWidget* focus = QApplication::focusWidget();
  QWidget* container = focus != nullptr ? focus->parentWidget() : nullptr;
  if (container == nullptr) return;
  const bool forward = key == Qt::Key_Right || key == Qt::Key_Down;
  for (QWidget* w = forward ? focus->nextInFocusChain() : focus->previousInFocusChain();
       w != nullptr && w != focus;
       w = forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
    if (w->parentWidget() == container && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
        w->isVisible()) {
      w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Commands

void TFormCalculadora::Input(std::function<void()> input) {
  queue_.Run(std::move(input));
}

bool TFormCalculadora::Command(char ch) {
  return RunCommand(view_, [this, ch] { engine_.ProcesaTecla(ch); });
}

void TFormCalculadora::CommandAndRest(char ch) {
  if (Command(ch)) FocusEjecutar();
}

void TFormCalculadora::FocusEjecutar() {
  ui_.HighButton33->setFocus(Qt::OtherFocusReason);
}

void TFormCalculadora::FlashButton(THighButton* button, int ms) {
  if (button == nullptr) return;
  if (repeating_) {
    // A held key repeats faster than the flashes: each repeat keeps the button lit instead of
    // waiting for a flash of its own, so its command follows at once and nothing piles up.
    button->KeepDown(ms);
    return;
  }
  queue_.BeginWait();
  button->Flash(ms);
  queue_.EndWait();
}

THighButton* TFormCalculadora::ButtonOf(const KeyButton* entry) const {
  const std::span<const KeyButton> all = dravello::KeyButtons();
  return key_buttons_[static_cast<std::size_t>(entry - all.data())];
}

void TFormCalculadora::Button7Click() {
  auto* button = qobject_cast<THighButton*>(sender());
  if (button == nullptr) return;
  const char ch = dravello::CommandOfButton7(Cp1252(button->Caption()));
  Input([this, ch] { CommandAndRest(ch); });
}

void TFormCalculadora::Button28Click() {
  auto* button = qobject_cast<THighButton*>(sender());
  if (button == nullptr) return;
  const char ch = dravello::CommandOfButton28(Cp1252(button->Caption()));
  Input([this, ch] { CommandAndRest(ch); });
}

void TFormCalculadora::Button17Click() {
  Input([this] {
    FlashButton(ui_.HighButton33, kEjecutarClickFlashMs);
    Command('=');
  });
}

void TFormCalculadora::Button21Click() {
  Input([this] { CommandAndRest(dravello::kDeleteKey); });
}
void TFormCalculadora::Button22Click() {
  Input([this] { CommandAndRest(dravello::kHalfKey); });
}
void TFormCalculadora::Button23Click() {
  Input([this] { CommandAndRest('$'); });
}
void TFormCalculadora::Button24Click() {
  Input([this] { CommandAndRest('T'); });
}
void TFormCalculadora::Button25Click() {
  Input([this] { CommandAndRest('U'); });
}
void TFormCalculadora::Button26Click() {
  Input([this] { CommandAndRest('V'); });
}
void TFormCalculadora::Button27Click() {
  Input([this] { CommandAndRest('E'); });
}
void TFormCalculadora::Button34Click() {
  Input([this] { CommandAndRest('L'); });
}

void TFormCalculadora::SpeedButton0Click() {
  const int tag = sender() != nullptr ? sender()->property("Tag").toInt() : 0;
  Input([this, tag] { RunCommand(view_, [this, tag] { monedas_.SpeedButton0Click(tag); }); });
}

void TFormCalculadora::SpeedButton9Click() {
  Input([this] {
    // A new dialog at every opening, so its fields start from the file as it is now.
    if (OnDemand* parts = Parts()) {
      parts->ConfigureCurrencies(monedas_.RutaIni(), engine_.Separadores().decimal,
                                 monedas_.TablaMonedas(), this);
    }
    // However the dialog closed, the table is read again from the file: values changed there
    // by hand since the last load take effect too. The amounts are not converted.
    RunCommand(view_, [this] {
      monedas_.CargaMonedas();
      monedas_.RotulaBotonesMoneda();
      monedas_.MuestraMoneda();
      monedas_.ActualizaEquivalencias();
    });
  });
}

// The clipboard and printing are bound to their buttons here; what they do belongs to the
// operations list.
void TFormCalculadora::BitBtn1Click() {
  Input([this] {
    std::string text;
    if (!RunCommand(view_, [&] { text = dravello::CopiaDisplay(engine_); })) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(dravello::Cp1252ToUtf8(text)));
    FocusEjecutar();
  });
}

void TFormCalculadora::BitBtn2Click() {
  Input([this] {
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    bool pasted = false;
    if (!RunCommand(view_, [&] { pasted = dravello::PegaDisplay(engine_, text); })) return;
    // Text that is not a number changes nothing; the beep tells the user so.
    if (!pasted) {
      QApplication::beep();
      return;
    }
    FocusEjecutar();
  });
}

void TFormCalculadora::BitBtn3Click() {
  Input([this] {
    OnDemand* parts = Parts();
    if (parts == nullptr) return;
    const QString failure = parts->PrintTape(ui_.ListBox1->Model()->Lines(), this);
    if (!failure.isEmpty()) {
      view_.ShowMessage(dravello::MessageKind::kError, dravello::kApplicationTitle,
                        dravello::Utf8ToCp1252Lossy(failure.toStdString(), '?') + ".");
    }
  });
}

void TFormCalculadora::BitBtnCerrarClick() {
  Input([this] { close(); });
}

// ---------------------------------------------------------------------------------------------
// The window

void TFormCalculadora::HighButtonVisiClick() {
  Input([this] {
    const bool on_top = ui_.ShapeVisible->BrushColor() != kLime;
    ui_.ShapeVisible->SetBrushColor(on_top ? kLime : kOlive);
    // Told to the window system directly, so the window is not hidden and shown again.
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowStaysOnTopHint, on_top);
    overrideWindowFlags(flags);
    if (QWindow* window = windowHandle()) window->setFlags(flags);
  });
}

void TFormCalculadora::HighButton34Click() {
  Input([this] { showMinimized(); });
}

void TFormCalculadora::GradBtn1Click() {
  Input([this] {
    AbrirCambios(!monedas_.CambiosAbiertos());
    if (monedas_.CambiosAbiertos())
      RunCommand(view_, [this] { monedas_.ActualizaEquivalencias(); });
  });
}

void TFormCalculadora::GradBtn2Click() {
  Input([this] { AbrirOperaciones(!operaciones_abiertas_); });
}

void TFormCalculadora::AbrirCambios(bool abrir) {
  monedas_.SetCambiosAbiertos(abrir);
  ChangeHeight(abrir ? kEquivalencesHeight : -kEquivalencesHeight);
}

void TFormCalculadora::AbrirOperaciones(bool abrir) {
  operaciones_abiertas_ = abrir;
  // The list that falls outside the window leaves the Tab cycle; if it held the focus, the
  // focus goes back to "Ejecutar", where letters are the accelerators again.
  ui_.ListBox1->setFocusPolicy(abrir ? list_focus_policy_ : Qt::NoFocus);
  if (!abrir && ui_.ListBox1->hasFocus()) FocusEjecutar();
  if (abrir) {
    ChangeHeight(kOperationsHeight);
    if (monedas_.CambiosAbiertos()) {
      AbrirCambios(true);
      RunCommand(view_, [this] { monedas_.ActualizaEquivalencias(); });
    }
  } else {
    if (monedas_.CambiosAbiertos()) {
      AbrirCambios(false);
      // The panel reopens with the section.
      monedas_.SetCambiosAbiertos(true);
    }
    ChangeHeight(-kOperationsHeight);
  }
}

void TFormCalculadora::ChangeHeight(int pixels) {
  setFixedSize(width(), height() + pixels);
}

OnDemand* TFormCalculadora::Parts() {
  if (!on_demand_) {
    QString error;
    on_demand_ = OnDemand::Load(error);
    if (!on_demand_) {
      const QString text = QStringLiteral("No se ha podido cargar %1: %2.")
                               .arg(QString::fromLatin1(OnDemand::kModule), error);
      view_.ShowMessage(dravello::MessageKind::kError, dravello::kApplicationTitle,
                        dravello::Utf8ToCp1252Lossy(text.toStdString(), '?'));
    }
  }
  return on_demand_.get();
}
