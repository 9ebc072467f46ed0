#include "TFormCalculadora.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPrinter>
#include <QResizeEvent>
#include <QWindow>
#include <span>

#include "Cp1252.h"
#include "DesignLayout.h"
#include "DialogKeys.h"
#include "JpegDecoder.h"
#include "Pictures.h"
#include "Portapapeles.h"
#include "TFormConfigMoneda.h"
#include "TGradBtn.h"
#include "THighButton.h"
#include "TapeModel.h"
#include "TapePrinter.h"

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
constexpr dravello::Color kOlive = 0x008080;
constexpr dravello::Color kLime = 0x00FF00;

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
  ShowButtonPictures(ui_);
  NameControlsForAssistiveTools();

  for (const KeyButton& entry : dravello::KeyButtons()) {
    key_buttons_.push_back(findChild<THighButton*>(QString::fromLatin1(entry.name)));
    if (dravello::AcceleratorOf(entry.caption) != 0)
      accelerator_buttons_.push_back(key_buttons_.back());
  }
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

void TFormCalculadora::ShowBackground() {
  QFile file(QStringLiteral(":/background.jpg"));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray data = file.readAll();
  const std::span<const std::uint8_t> jpeg(reinterpret_cast<const std::uint8_t*>(data.data()),
                                           static_cast<std::size_t>(data.size()));
  dravello::JpegDecoder decoder;
  dravello::JpegDecoder::Size size;
  if (!decoder.ReadSize(jpeg, size)) return;
  QImage image(size.width, size.height, QImage::Format_RGB32);
  if (image.isNull() || !decoder.DecodeRgb32(jpeg, size, image.bits(),
                                             static_cast<std::size_t>(image.bytesPerLine())))
    return;
  ui_.Image1->setPixmap(QPixmap::fromImage(std::move(image)));
}

void TFormCalculadora::NameControlsForAssistiveTools() {
  // Assistive tools do not see object names; the description carries the control's name.
  setAccessibleDescription(objectName());
  for (QWidget* widget : findChildren<QWidget*>()) {
    const QString name = widget->objectName();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) {
      widget->setAccessibleDescription(name);
    }
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
  if (event->type() == QEvent::Paint && watched == ui_.Image1 && !background_shown_) {
    // The picture is decoded when it is first painted, after the window has appeared.
    background_shown_ = true;
    ShowBackground();
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

bool TFormCalculadora::OfferAccelerator(QChar typed) {
  // The buttons whose captions mark a letter, known from the key table, instead of a search of
  // the whole window at every key.
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
    {
      // A new dialog at every opening, so its fields start from the file as it is now.
      TFormConfigMoneda dialog(monedas_.RutaIni(), engine_.Separadores().decimal,
                               monedas_.TablaMonedas(), this);
      dialog.exec();
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
    // A character without a Windows-1252 byte cannot belong to a number: DEL stands for it.
    const std::string text =
        dravello::Utf8ToCp1252Lossy(QGuiApplication::clipboard()->text().toStdString(), '\x7F');
    if (RunCommand(view_, [&] { dravello::PegaDisplay(engine_, text); })) FocusEjecutar();
  });
}

void TFormCalculadora::BitBtn3Click() {
  Input([this] {
    QString failure;
    if (!dravello::TapePrinter::AnyPrinter()) {
      failure = QStringLiteral("No hay ninguna impresora instalada");
    } else {
      // Made once there is a printer, so that it starts on the default one.
      if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
      failure =
          dravello::TapePrinter::PrintWithDialog(ui_.ListBox1->Model()->Lines(), *printer_, this);
    }
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
