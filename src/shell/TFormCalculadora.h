// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Calculadora.h"
#include "CommandQueue.h"
#include "KeyInput.h"
#include "KeyTable.h"
#include "Monedas.h"
#include "TapeSaver.h"
#include "WindowView.h"
#include "ui_TFormCalculadora.h"

class QPrinter;
class THighButton;

// The main window: the calculator's controls, laid out from TFormCalculadora.ui, the engine and
// the currencies behind them, and the routing of every key and click to a command character.
//
// Keys: the window sees every key press aimed at its controls first (key preview) and routes it
// in four stages: dialog keys (Return clicks the focused highlight button; Tab and the arrows
// move the focus), FormKeyDown, the accelerator letters of the captions (not while the
// operations list has the focus), FormKeyPress. Before those, the window's own keys
// (WindowKeys: clipboard, printing, currencies, "Configurar", the collapse buttons) click their
// buttons. Keys and clicks are carried out one after the other in the order they came, each
// with its flash, also when they come faster than the flashes (CommandQueue); the repeats of a
// held key light their button without waiting for it, so a held key stops acting as soon as it
// is released.
//
// Assistive tools: a control's accessible description is its hint (empty without one), or its
// name when DRAVELLO_ACCESSIBLE_IDS=1 is set at start-up, a stable handle for test drivers.
class TFormCalculadora : public QWidget {
  Q_OBJECT

 public:
  // `settings_file`: the settings file of the currency table; `separators`: the user's
  // regional separators. Creating the window runs FormCreate.
  TFormCalculadora(const std::string& settings_file, dravello::Separators separators,
                   QWidget* parent = nullptr);
  ~TFormCalculadora() override;

  dravello::Calculadora& Engine() { return engine_; }
  dravello::Monedas& Currencies() { return monedas_; }
  bool OperacionesAbiertas() const { return operaciones_abiertas_; }

  // The key-down stage: flashes the button of a key of the key-down table; Delete also hands
  // backspace to the engine. `vk` is a Windows virtual-key code.
  void FormKeyDown(int vk);
  // The character stage: flashes the typed character's button, then hands the character to
  // the engine (Return: '=').
  void FormKeyPress(char ch);

  void AbrirOperaciones(bool abrir);
  void AbrirCambios(bool abrir);

 public slots:
  // The click handlers of the layout.
  void Button7Click();
  void Button17Click();
  void Button21Click();
  void Button22Click();
  void Button23Click();
  void Button24Click();
  void Button25Click();
  void Button26Click();
  void Button27Click();
  void Button28Click();
  void Button34Click();
  void HighButtonVisiClick();
  void HighButton34Click();
  void GradBtn1Click();
  void GradBtn2Click();
  void SpeedButton0Click();
  void SpeedButton9Click();
  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();
  void BitBtnCerrarClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void ShowBackground();
  // Descriptions by the layout's hints, or by the control names when `by_name`.
  void DescribeControls(bool by_name);
  // Adds to each button's tooltip, after its hint, the keys that press it.
  void ListKeysInTooltips();

  // Carries out a key or click now, or after those before it (see CommandQueue).
  void Input(std::function<void()> input);
  void Route(const KeyInput& key);
  // The window's own keys: clicks the button of `key`; true when the key is one of them.
  bool ClickWindowKey(const KeyInput& key);
  void MoveFocusByArrow(int key);
  // The accelerator stage: clicks the enabled, visible button whose caption marks `typed`.
  bool OfferAccelerator(QChar typed);
  // Hands `ch` to the engine; true when the command did not fail.
  bool Command(char ch);
  // A command of a button or of the character stage: the engine, then the focus to
  // "Ejecutar" unless the command failed.
  void CommandAndRest(char ch);
  void FocusEjecutar();
  void FlashButton(THighButton* button, int ms);
  THighButton* ButtonOf(const dravello::KeyButton* entry) const;
  void ChangeHeight(int pixels);

  Ui::TFormCalculadora ui_;
  WindowView view_;
  dravello::Calculadora engine_;
  dravello::Monedas monedas_;
  dravello::TapeSaver saver_;  // "Guardar como…" of the operations list's menu
  dravello::CommandQueue queue_;
  std::vector<THighButton*> key_buttons_;  // the buttons of KeyButtons(), in its order
  std::vector<THighButton*> accelerator_buttons_;
  bool operaciones_abiertas_ = false;
  bool delivering_ = false;  // a key is being handed to the operations list
  bool repeating_ = false;   // the key being routed is a repeat of a held key
  std::vector<std::pair<QKeyCombination, QWidget*>> window_keys_;
  Qt::FocusPolicy list_focus_policy_ = Qt::StrongFocus;  // ListBox1's while it can be seen
  bool background_shown_ = false;
  std::unique_ptr<QPrinter> printer_;  // made at the first print, kept for the user's choices
};
