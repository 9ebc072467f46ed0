// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFormCalculadora.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cerrno>
#include <map>
#include <span>

#include "CamposMonedas.h"
#include "CorrectionDialog.h"
#include "Cp1252.h"
#include "Currency.h"
#include "DesignLayout.h"
#include "DialogKeys.h"
#include "FeedMessages.h"
#include "IsoDates.h"
#include "JpegDecoder.h"
#include "Pictures.h"
#include "Portapapeles.h"
#include "RateChart.h"
#include "RateUpdate.h"
#include "ReplayJob.h"
#include "StartupRatesUpdate.h"
#include "SystemErrorText.h"
#include "TGradBtn.h"
#include "THighButton.h"
#include "TapeList.h"
#include "TapeModel.h"
#include "TapeOnDisk.h"
#include "UserManual.h"

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
// Replays of more commands than this run on a thread of their own, with their progress shown.
constexpr std::size_t kReplayOnThread = 20000;

QString Text(const std::string& cp1252) {
  return QString::fromStdString(dravello::Cp1252ToUtf8(cp1252));
}

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
      session_view_(&view_),
      engine_(session_view_, separators),
      monedas_(engine_, session_view_, settings_file),
      session_(engine_, monedas_, session_view_) {
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
  // Each tape line knows its currency and that currency's rate.
  ui_.ListBox1->Model()->SetSeparators(separators);
  view_.SetCurrencyOfLines([this](dravello::TapeModel& tape) {
    const dravello::TTablaMonedas& tabla = monedas_.TablaMonedas();
    const std::string rate = monedas_.CurrentRateText();
    tape.SetCurrency(tabla[static_cast<std::size_t>(monedas_.MonedaActual())].Moneda, rate,
                     rate.empty() ? std::string_view() : std::string_view(tabla[0].Moneda));
  });
  connect(
      ui_.ListBox1, &dravello::TapeList::SaveRequested, this,
      [this] {
        if (OnDemand* parts = Parts()) parts->SaveTape(ui_.ListBox1, engine_.Separadores());
      },
      Qt::QueuedConnection);
  connect(ui_.ListBox1, &dravello::TapeList::PrintRequested, this, &TFormCalculadora::BitBtn3Click,
          Qt::QueuedConnection);
  // The journal: the list it writes, and the entries of the list's menu that hang on it.
  session_.SetTape(&ui_.ListBox1->Model()->Lines(),
                   [this] { return ui_.ListBox1->Model()->HideAll(); });
  connect(ui_.ListBox1, &dravello::TapeList::MenuAboutToShow, this,
          &TFormCalculadora::UpdateTapeMenu);
  connect(ui_.ListBox1, &dravello::TapeList::ActionRequested, this,
          &TFormCalculadora::TapeMenuAction, Qt::QueuedConnection);
  for (const dravello::WindowKey& entry : dravello::WindowKeys()) {
    const QKeySequence keys = QKeySequence::fromString(
        QString::fromLatin1(entry.keys.data(), static_cast<qsizetype>(entry.keys.size())),
        QKeySequence::PortableText);
    if (keys.count() != 1) continue;
    if (entry.action == dravello::WindowAction::kManual) {
      window_keys_.emplace_back(keys[0], nullptr);
      continue;
    }
    QWidget* button = findChild<QWidget*>(
        QString::fromLatin1(entry.button.data(), static_cast<qsizetype>(entry.button.size())));
    if (button != nullptr) window_keys_.emplace_back(keys[0], button);
  }
  // Wayland lets no program keep its window on top: "Visible" then lights its mark only.
  ui_.HighButtonVisi->setToolTip(ui_.HighButtonVisi->toolTip() +
                                 QStringLiteral("\nSiempre encima s\u00f3lo en una sesi\u00f3n X11 "
                                                "(en Wayland, con QT_QPA_PLATFORM=xcb)"));
  for (const dravello::ListKey& entry : dravello::ListKeys()) {
    const QKeySequence keys = QKeySequence::fromString(
        QString::fromLatin1(entry.keys.data(), static_cast<qsizetype>(entry.keys.size())),
        QKeySequence::PortableText);
    if (keys.count() == 1) list_keys_.emplace_back(keys[0], entry.action);
  }
  ListKeysInTooltips();
  view_.SetRatePanelKeys(ui_.PanelEqui->toolTip());
  list_focus_policy_ = ui_.ListBox1->focusPolicy();
  journal_timer_.setSingleShot(true);
  connect(&journal_timer_, &QTimer::timeout, this, &TFormCalculadora::WriteJournal);
  QCoreApplication::instance()->installEventFilter(this);
  FormCreate();
}

TFormCalculadora::~TFormCalculadora() {
  QCoreApplication::instance()->removeEventFilter(this);
  // A normal close: the journal is written whole and becomes the previous session.
  if (store_) {
    disk_error_shown_ = true;  // no box while the window goes
    if (session_.DiskBehind()) WriteJournal();
    if (store_) store_->CloseAsPrevious(!session_.Entries().empty());
  }
}

void TFormCalculadora::FormCreate() {
  RunCommand(view_, [this] { monedas_.IniciaCalculadora(); });
  ui_.ListBox1->Model()->SetRatesNote(
      dravello::RatesSourceLine(monedas_.Stamp(), monedas_.TablaMonedas()));
  operaciones_abiertas_ = true;
  // The journal starts here, with the table and the separators in force.
  session_.Begin({engine_.Separadores(), monedas_.TablaMonedas()});
}

void TFormCalculadora::ApplyCurrencyTable(dravello::CamposMonedas campos,
                                          const std::string& tape_line) {
  monedas_.SetStamp(campos.Stamp());
  dravello::TTablaMonedas table{};
  campos.AplicaMonedas(table);
  // A new table is a command of the journal, which keeps the table itself (and the line the
  // change writes); the same table is only shown again.
  if (!tape_line.empty() || !dravello::SameTable(table, monedas_.TablaMonedas())) {
    session_.Run(dravello::JournalEntry::Table(table, tape_line));
  } else {
    RunCommand(view_, [&] { monedas_.ApplyTable(table); });
  }
  ui_.ListBox1->Model()->SetRatesNote(
      dravello::RatesSourceLine(monedas_.Stamp(), monedas_.TablaMonedas()));
}

// ---------------------------------------------------------------------------------------------
// Rates

void TFormCalculadora::StartRatesUpdate() {
  // Nothing is fetched, and the network module is not even loaded, unless the user asked for
  // it and the rates are old.
  if (rates_update_ || !monedas_.Stamp().NeedsStartupUpdate(monedas_.Today())) return;
  rates_update_ = std::make_unique<StartupRatesUpdate>(
      monedas_.RutaIni(), [this](const StartupRatesUpdate::Result& result) {
        if (!result.failure.isEmpty()) {
          view_.SetRatesUpdateNote(
              QStringLiteral("No se han podido actualizar los cambios al abrir el programa: %1")
                  .arg(result.failure));
          return;
        }
        // In its turn among the keys and clicks, so never inside the currency dialog.
        Input([this, rates = result.rates, host = result.host] { FinishRatesUpdate(rates, host); });
      });
  rates_update_->Start();
  view_.SetRatesUpdateNote(
      QStringLiteral("Actualizando los cambios desde %1…").arg(rates_update_->Host()));
}

void TFormCalculadora::FinishRatesUpdate(const dravello::EuroRates& rates,
                                         const std::string& host) {
  view_.SetRatesUpdateNote({});
  dravello::CamposMonedas campos(monedas_.RutaIni(), engine_.Separadores().decimal);
  campos.LeeIni();
  const dravello::RateOrigin& last = campos.Stamp().update;
  // The currency dialog may have brought these rates, or newer ones, meanwhile.
  if (last.FromFeed() && last.date >= rates.Date()) return;
  const dravello::RateUpdate update = dravello::UpdateCampos(campos, rates, host);
  QString failure;
  if (update.base_code.empty()) {
    failure = QStringLiteral("la moneda base «%1» no figura en los cambios de %2.")
                  .arg(dravello::FromCp1252(monedas_.TablaMonedas()[0].Moneda),
                       QString::fromStdString(host));
  } else {
    try {
      campos.GrabaIni();
    } catch (const dravello::EngineError& e) {
      failure = QFile::decodeName(e.what()) + QLatin1Char('.');
    }
  }
  if (!failure.isEmpty()) {
    view_.SetRatesUpdateNote(
        QStringLiteral("No se han podido actualizar los cambios al abrir el programa: %1")
            .arg(failure));
    return;
  }
  ApplyCurrencyTable(std::move(campos),
                     "Cambios actualizados al " + dravello::SpanishDate(rates.Date()));
}

void TFormCalculadora::ShowRateMenu(std::optional<QPoint> global) {
  if (rate_menu_ == nullptr) {
    rate_menu_ = new QMenu(this);
    rate_menu_->setAccessibleName(QStringLiteral("Cambio"));
    rate_note_ = rate_menu_->addAction(QString());
    rate_note_->setEnabled(false);
    rate_menu_->addSeparator();
    rate_chart_ = rate_menu_->addAction(QStringLiteral("&Evolución del cambio…"));
    connect(rate_chart_, &QAction::triggered, this, [this] { Input([this] { OpenRateChart(); }); });
  }
  rate_note_->setText(dravello::FromCp1252(
      dravello::RateNote(monedas_.Stamp(), monedas_.MonedaActual(), monedas_.Today())));
  // The base against itself is always 1: there is nothing to chart.
  rate_chart_->setEnabled(monedas_.MonedaActual() != 0);
  if (global) {
    rate_menu_->popup(*global);
    return;
  }
  // From the keyboard: under the panel, its entry ready for Return.
  rate_menu_->popup(ui_.PanelEqui->mapToGlobal(ui_.PanelEqui->rect().bottomLeft()));
  if (rate_chart_->isEnabled()) rate_menu_->setActiveAction(rate_chart_);
}

void TFormCalculadora::OpenRateChart() {
  const dravello::TTablaMonedas& tabla = monedas_.TablaMonedas();
  const dravello::TMoneda& actual = tabla[static_cast<std::size_t>(monedas_.MonedaActual())];
  RateChart::Open({monedas_.RutaIni(), tabla[0].Moneda, actual.Moneda, actual.Cambio,
                   engine_.Separadores().decimal, monedas_.Today()},
                  this);
  if (isVisible() && !isActiveWindow()) activateWindow();
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
    if (entry.action != dravello::WindowAction::kClick) continue;
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
    if (!shown_) {
      // The update of the rates, when there is one, starts then too; posted to the window, it
      // is dropped with it, should it close first.
      shown_ = true;
      QMetaObject::invokeMethod(this, &TFormCalculadora::StartRatesUpdate, Qt::QueuedConnection);
    }
    return false;
  }
  if (event->type() == QEvent::ToolTip && watched == ui_.PanelEqui) {
    // The age of the rate as of now, however long the window has been open.
    view_.SetPanelEquiHint(
        dravello::RateNote(monedas_.Stamp(), monedas_.MonedaActual(), monedas_.Today()));
    return false;
  }
  if (event->type() == QEvent::ContextMenu && watched == ui_.PanelEqui) {
    ShowRateMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
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
    if (button == nullptr) {
      // The manual: a held key opens it once.
      if (!key.auto_repeat) OpenUserManual(this);
      return true;
    }
    // A button of a closed section lies outside the window: its key does nothing, as a click
    // cannot reach it either.
    const QRect place(button->mapTo(this, QPoint(0, 0)), button->size());
    if (!rect().intersects(place) || !button->isEnabled()) return true;
    if (button == ui_.PanelEqui) ShowRateMenu();
    if (auto* tool = qobject_cast<QToolButton*>(button)) tool->click();
    if (auto* grad = qobject_cast<TGradBtn*>(button)) grad->Click();
    return true;
  }
  for (const auto& [combination, action] : list_keys_) {
    if (combination.key() != key.key || combination.keyboardModifiers() != modifiers) continue;
    if (action == "Deshacer") {
      Deshacer();
    } else if (action == "Rehacer") {
      Rehacer();
    } else {
      CorregirImporte();
    }
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
  ScheduleJournal();
}

bool TFormCalculadora::Command(char ch) {
  return session_.Run(dravello::JournalEntry::Key(ch)).ok;
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
  Input([this, tag] {
    // Refused while an operation is pending: nothing changes, and the beep tells the user so.
    if (!session_.Run(dravello::JournalEntry::Click(tag)).switched) QApplication::beep();
  });
}

void TFormCalculadora::SpeedButton9Click() {
  Input([this] {
    const dravello::RateOrigin last_update = monedas_.Stamp().update;
    // A new dialog at every opening, so its fields start from the file as it is now.
    if (OnDemand* parts = Parts()) {
      parts->ConfigureCurrencies(monedas_.RutaIni(), engine_.Separadores().decimal,
                                 monedas_.TablaMonedas(), this);
    }
    // However the dialog closed, the table is read again from the file: values changed there
    // by hand since the last load take effect too. The amounts are not converted.
    dravello::CamposMonedas campos(monedas_.RutaIni(), engine_.Separadores().decimal);
    campos.LeeIni();
    ApplyCurrencyTable(std::move(campos));
    // Rates the dialog brought make a failed update at start-up a thing of the past.
    if (!(monedas_.Stamp().update == last_update)) view_.SetRatesUpdateNote({});
  });
}

// The clipboard and printing are bound to their buttons here; what they do belongs to the
// operations list.
void TFormCalculadora::BitBtn1Click() {
  Input([this] {
    const dravello::CommandOutcome copy = session_.Run(dravello::JournalEntry::Copy());
    if (!copy.ok) return;
    QGuiApplication::clipboard()->setText(Text(copy.copied));
    FocusEjecutar();
  });
}

void TFormCalculadora::BitBtn2Click() {
  Input([this] {
    // Only the first line counts; the journal keeps it with the paste. A line longer than any
    // number is refused before it is converted or kept.
    const QString clipboard = QGuiApplication::clipboard()->text();
    QStringView line(clipboard);
    for (qsizetype i = 0; i < line.size(); ++i) {
      if (line[i] == QLatin1Char('\n') || line[i] == QLatin1Char('\r')) line.truncate(i);
    }
    if (line.trimmed().size() > qsizetype{dravello::kMaxPastedNumber}) {
      QApplication::beep();
      return;
    }
    const std::string text = line.toString().toStdString();
    const dravello::CommandOutcome paste = session_.Run(dravello::JournalEntry::Paste(text));
    if (!paste.ok) return;
    // Text that is not a number changes nothing; the beep tells the user so.
    if (!paste.pasted) {
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

// ---------------------------------------------------------------------------------------------
// The journal

void TFormCalculadora::Deshacer() {
  if (!session_.CanUndo()) {
    QApplication::beep();
    return;
  }
  ApplyReplay(session_.Undo(), QStringLiteral("Deshaciendo…"));
}

void TFormCalculadora::Rehacer() {
  if (!session_.CanRedo()) {
    QApplication::beep();
    return;
  }
  ApplyReplay(session_.Redo(), QStringLiteral("Rehaciendo…"));
}

void TFormCalculadora::CorregirImporte() {
  const int row = ui_.ListBox1->SelectedRow();
  const dravello::Session::LineInfo info =
      row < 0 ? dravello::Session::LineInfo{}
              : session_.DescribeLine(static_cast<std::size_t>(row));
  if (info.amounts.empty()) {
    QApplication::beep();
    return;
  }
  const std::string line = ui_.ListBox1->Model()->Lines().Line(static_cast<std::size_t>(row));
  QStringList amounts;
  for (const dravello::Currency amount : info.amounts) {
    amounts << Text(dravello::FormatExact(amount, engine_.Separadores().decimal));
  }
  for (;;) {
    CorrectionDialog dialog(Text(line), amounts, this);
    if (dialog.exec() != QDialog::Accepted) return;
    amounts = dialog.Amounts();
    std::vector<std::string> texts;
    for (const QString& amount : amounts) texts.push_back(amount.toStdString());
    std::string error;
    std::unique_ptr<dravello::ReplayRun> run =
        session_.Correct(static_cast<std::size_t>(row), texts, error);
    if (!error.empty()) {
      view_.ShowMessage(dravello::MessageKind::kError, dravello::kApplicationTitle, error);
      continue;  // the dialog again, with what was typed
    }
    if (ApplyReplay(std::move(run), QStringLiteral("Corrigiendo las operaciones…"), line)) {
      ui_.ListBox1->SelectRow(row);
    }
    return;
  }
}

void TFormCalculadora::QuitarOperacion() {
  const int row = ui_.ListBox1->SelectedRow();
  std::unique_ptr<dravello::ReplayRun> run =
      row < 0 ? nullptr : session_.Remove(static_cast<std::size_t>(row));
  if (!run) {
    QApplication::beep();
    return;
  }
  const std::string line = ui_.ListBox1->Model()->Lines().Line(static_cast<std::size_t>(row));
  if (ApplyReplay(std::move(run), QStringLiteral("Quitando la operación…"), line)) {
    ui_.ListBox1->SelectRow(std::min(row, ui_.ListBox1->Model()->rowCount() - 1));
  }
}

void TFormCalculadora::BorrarCinta() {
  session_.Run(dravello::JournalEntry::ClearTape());
}

bool TFormCalculadora::ApplyReplay(std::unique_ptr<dravello::ReplayRun> run,
                                   const QString& progress, const std::string& line) {
  if (!run) return false;
  if (!RunReplay(*run, progress)) {
    session_.Drop();
    return false;
  }
  if (run->Out().refused) {
    session_.Drop();
    std::string reason = run->Out().refusal;
    reason.erase(0, reason.find_first_not_of(' '));
    reason.erase(reason.find_last_not_of(' ') + 1);
    view_.ShowMessage(dravello::MessageKind::kWarning, dravello::kApplicationTitle,
                      "No se ha corregido \xAB" + line +
                          "\xBB: con el cambio, una operaci\xF3n dar\xED"
                          "a el error \xAB" +
                          reason + "\xBB. Nada ha cambiado.");
    return false;
  }
  Install(*run);
  return true;
}

bool TFormCalculadora::RunReplay(dravello::ReplayRun& run, const QString& progress) {
  const std::size_t commands = run.In().entries.size();
  if (commands < kReplayOnThread) {
    run.Run();
    return true;
  }
  // A long replay: the window goes on (it paints, keys wait their turn) and shows how far it
  // has got; "Cancelar" leaves everything as it was.
  dravello::ReplayJob job(run);
  QProgressDialog dialog(progress, QStringLiteral("Cancelar"), 0, static_cast<int>(commands), this);
  dialog.setWindowTitle(QString::fromLatin1(dravello::kApplicationTitle));
  dialog.setWindowModality(Qt::WindowModal);
  dialog.setMinimumDuration(400);
  dialog.setAutoReset(false);
  dialog.setAutoClose(false);
  queue_.BeginWait();
  while (!job.Finished()) {
    dialog.setValue(static_cast<int>(job.Done()));
    if (dialog.wasCanceled()) job.Cancel();
    QEventLoop wait;
    QTimer::singleShot(30, &wait, &QEventLoop::quit);
    wait.exec();
  }
  queue_.EndWait();
  return !run.Out().cancelled;
}

void TFormCalculadora::Install(dravello::ReplayRun& run) {
  std::size_t unchanged = 0;
  dravello::TapeLines lines = session_.Commit(run, unchanged);
  ui_.ListBox1->Model()->Replace(std::move(lines), unchanged);
  ui_.ListBox1->SelectRow(ui_.ListBox1->Model()->rowCount() - 1);
  // The current currency may be another now: its rate's note.
  view_.SetPanelEquiHint(
      dravello::RateNote(monedas_.Stamp(), monedas_.MonedaActual(), monedas_.Today()));
  ScheduleJournal();
}

// ---------------------------------------------------------------------------------------------
// The journal on disk

void TFormCalculadora::StartJournal(const std::string& folder) {
  // In its turn with the keys: those typed meanwhile are carried out after it.
  Input([this, folder] { OpenJournal(folder); });
}

void TFormCalculadora::OpenJournal(const std::string& folder) {
  journal_folder_ = folder;
  if (!dravello::ReadTapeOnDisk(monedas_.RutaIni())) return;
  store_ = std::make_unique<dravello::JournalStore>(folder);
  std::optional<dravello::JournalStore::Claimed> claimed = store_->ClaimUnclosed();
  if (!claimed) return;
  std::optional<dravello::JournalRead> journal = ReadClaimed(*claimed);
  if (!journal) return;
  if (journal->entries.empty()) {
    store_->Release(*claimed, dravello::JournalStore::Fate::kDelete);
    return;
  }
  std::unique_ptr<dravello::ReplayRun> run = session_.Recover(*journal);
  if (!RunReplay(*run, QStringLiteral("Leyendo la sesión anterior…"))) {
    session_.Drop();
    store_->Release(*claimed, dravello::JournalStore::Fate::kPrevious);
    return;
  }
  QMessageBox question(
      QMessageBox::Question, QString::fromLatin1(dravello::kApplicationTitle),
      QStringLiteral("La última sesión de la calculadora terminó sin cerrarse (un corte de luz, "
                     "un cierre forzado…). Guarda %1 operaciones; su cinta tiene %2 líneas.\n\n"
                     "¿Quiere recuperarla?")
          .arg(journal->entries.size())
          .arg(run->Out().tape.Count()),
      QMessageBox::Yes | QMessageBox::No, this);
  question.button(QMessageBox::Yes)->setText(QStringLiteral("Sí"));
  question.button(QMessageBox::No)->setText(QStringLiteral("No"));
  question.setDefaultButton(QMessageBox::Yes);
  if (question.exec() == QMessageBox::Yes) {
    Install(*run);
    store_->Release(*claimed, dravello::JournalStore::Fate::kDelete);
  } else {
    // Kept as the previous session: the list's menu can still recover it.
    session_.Drop();
    store_->Release(*claimed, dravello::JournalStore::Fate::kPrevious);
  }
}

std::optional<dravello::JournalRead> TFormCalculadora::ReadClaimed(
    dravello::JournalStore::Claimed& claimed) {
  dravello::JournalRead journal;
  std::string error;
  std::string reason;
  if (claimed.error != 0) {
    reason = claimed.error == EFBIG
                 ? "es demasiado grande"
                 : "no se puede leer: " + dravello::SystemErrorText(claimed.error);
  } else if (!dravello::ReadJournalText(claimed.text, dravello::JournalTextMode::kTornEnd, journal,
                                        error)) {
    reason = journal.newer ? std::string("es de una versi\xF3n m\xE1s nueva del programa")
                           : "est\xE1 da\xF1"
                             "ada a partir del byte " +
                                 std::to_string(journal.bad_at + 1);
  } else {
    return journal;
  }
  const std::string aside = store_->Release(claimed, dravello::JournalStore::Fate::kAside);
  view_.ShowMessage(dravello::MessageKind::kWarning, dravello::kApplicationTitle,
                    "La sesi\xF3n guardada no se puede recuperar: " + reason +
                        ". Queda aparte, en \xAB" + dravello::Utf8ToCp1252Lossy(aside, '?') +
                        "\xBB, y la calculadora sigue con una sesi\xF3n nueva.");
  return std::nullopt;
}

void TFormCalculadora::RecuperarSesion() {
  if (!store_) return;
  std::optional<dravello::JournalStore::Claimed> claimed = store_->ClaimPrevious();
  if (!claimed) {
    QApplication::beep();
    return;
  }
  std::optional<dravello::JournalRead> journal = ReadClaimed(*claimed);
  if (!journal) return;
  // This session becomes the previous one, so that nothing is lost.
  const std::string replaced = session_.Entries().empty() ? std::string() : session_.Text();
  std::unique_ptr<dravello::ReplayRun> run = session_.Recover(*journal);
  if (!RunReplay(*run, QStringLiteral("Recuperando la sesión anterior…"))) {
    session_.Drop();
    store_->Release(*claimed, dravello::JournalStore::Fate::kPrevious);
    return;
  }
  Install(*run);
  store_->Release(*claimed, dravello::JournalStore::Fate::kDelete);
  if (!replaced.empty()) store_->WritePrevious(replaced);
}

void TFormCalculadora::GuardarEnDisco(bool on) {
  if (!dravello::WriteTapeOnDisk(monedas_.RutaIni(), on)) {
    view_.ShowMessage(dravello::MessageKind::kError, dravello::kApplicationTitle,
                      "Unable to write to " + monedas_.RutaIni() + ".");
  }
  if (journal_folder_.empty()) return;
  if (!on) {
    // Every journal goes at once, this one's and the other windows' (they notice and stop).
    journal_timer_.stop();
    if (!store_) store_ = std::make_unique<dravello::JournalStore>(journal_folder_);
    store_->DeleteAll();
    store_.reset();
    return;
  }
  if (!store_) store_ = std::make_unique<dravello::JournalStore>(journal_folder_);
  session_.DiskLost();
  ScheduleJournal();
}

void TFormCalculadora::FlushJournal() {
  journal_timer_.stop();
  if (store_ && session_.DiskBehind()) WriteJournal();
}

void TFormCalculadora::ScheduleJournal() {
  // A timer only while something is unwritten: an idle window never wakes up for it.
  if (store_ && !journal_timer_.isActive() && session_.DiskBehind()) journal_timer_.start(1000);
}

void TFormCalculadora::WriteJournal() {
  if (!store_) return;
  if (store_->Gone()) {
    // Another window stopped keeping the tape on disk and deleted the journals.
    if (!dravello::ReadTapeOnDisk(monedas_.RutaIni())) {
      store_.reset();
      return;
    }
    session_.DiskLost();
  }
  const dravello::Session::DiskWork work = session_.TakeDiskWork();
  const bool written =
      work.rewrite ? store_->Rewrite(work.bytes) : store_->Append(work.keep, work.bytes);
  if (written) {
    disk_error_shown_ = false;
    return;
  }
  session_.DiskLost();
  // Said once; the next command tries again.
  if (!disk_error_shown_) {
    disk_error_shown_ = true;
    view_.ShowMessage(dravello::MessageKind::kError, dravello::kApplicationTitle,
                      "No se puede guardar la cinta en disco (" + store_->Folder() +
                          "): " + dravello::SystemErrorText(store_->Error()) +
                          ". La calculadora sigue; lo que haga se guardar\xE1 cuando se pueda.");
  }
}

void TFormCalculadora::UpdateTapeMenu() {
  using dravello::TapeAction;
  dravello::TapeList* list = ui_.ListBox1;
  const auto set = [list](TapeAction action, bool enabled, const QString& why) {
    QAction* entry = list->Action(action);
    entry->setEnabled(enabled);
    // A greyed entry says why in its hint.
    const QString hint = enabled ? QString() : why;
    entry->setToolTip(hint.isEmpty() ? entry->text().remove(u'&').section(u'\t', 0, 0) : hint);
    entry->setStatusTip(hint);
    entry->setWhatsThis(hint);
  };
  set(TapeAction::kUndo, session_.CanUndo(),
      session_.UndoStopsAtTable()
          ? QStringLiteral("Un cambio de la tabla de monedas no se deshace, ni lo anterior a él")
          : QStringLiteral("No hay nada que deshacer"));
  set(TapeAction::kRedo, session_.CanRedo(), QStringLiteral("No hay nada que rehacer"));
  const int row = list->SelectedRow();
  const dravello::Session::LineInfo info =
      row < 0 ? dravello::Session::LineInfo{}
              : session_.DescribeLine(static_cast<std::size_t>(row));
  const QString why = row < 0           ? QStringLiteral("No hay ninguna línea seleccionada")
                      : !info.operation ? QStringLiteral("Esta línea no muestra una operación")
                                        : QStringLiteral(
                                              "Sus importes no se teclearon: vienen de una "
                                              "memoria, de un resultado o de un cambio de "
                                              "moneda");
  set(TapeAction::kCorrect, !info.amounts.empty(), why);
  set(TapeAction::kRemove, info.removable,
      info.operation && !info.amounts.empty()
          ? QStringLiteral("Su importe no se tecleó: viene de una memoria, de un resultado o de "
                           "un cambio de moneda")
          : why);
  set(TapeAction::kClear, list->Model()->rowCount() > 0, QStringLiteral("La cinta está vacía"));
  set(TapeAction::kRecover, store_ && store_->HasPrevious(),
      store_ ? QStringLiteral("No hay ninguna sesión anterior guardada")
             : QStringLiteral("La cinta no se guarda en disco"));
  set(TapeAction::kKeepOnDisk, !journal_folder_.empty(),
      QStringLiteral("Esta ventana no guarda la cinta"));
  list->Action(TapeAction::kKeepOnDisk)->setChecked(store_ != nullptr);
}

void TFormCalculadora::TapeMenuAction(int action, bool checked) {
  switch (static_cast<dravello::TapeAction>(action)) {
    case dravello::TapeAction::kUndo:
      Input([this] { Deshacer(); });
      break;
    case dravello::TapeAction::kRedo:
      Input([this] { Rehacer(); });
      break;
    case dravello::TapeAction::kCorrect:
      Input([this] { CorregirImporte(); });
      break;
    case dravello::TapeAction::kRemove:
      Input([this] { QuitarOperacion(); });
      break;
    case dravello::TapeAction::kClear:
      Input([this] { BorrarCinta(); });
      break;
    case dravello::TapeAction::kRecover:
      Input([this] { RecuperarSesion(); });
      break;
    case dravello::TapeAction::kKeepOnDisk:
      Input([this, checked] { GuardarEnDisco(checked); });
      break;
  }
}

OnDemand* TFormCalculadora::Parts() {
  if (!on_demand_) {
    QString error;
    on_demand_ = OnDemand::Load(error);
    if (!on_demand_) {
      const QString text = QStringLiteral("No se ha podido cargar lib%1.so: %2.")
                               .arg(QString::fromLatin1(OnDemand::kModule), error);
      view_.ShowMessage(dravello::MessageKind::kError, dravello::kApplicationTitle,
                        dravello::Utf8ToCp1252Lossy(text.toStdString(), '?'));
    }
  }
  return on_demand_.get();
}
