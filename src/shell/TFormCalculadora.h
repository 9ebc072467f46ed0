// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Calculadora.h"
#include "CommandQueue.h"
#include "JournalStore.h"
#include "JournalText.h"
#include "KeyInput.h"
#include "KeyTable.h"
#include "Monedas.h"
#include "OnDemand.h"
#include "ReplayRun.h"
#include "Session.h"
#include "SessionView.h"
#include "WindowView.h"
#include "ui_TFormCalculadora.h"

namespace dravello {
class EuroRates;
}
class QMenu;
class StartupRatesUpdate;
class THighButton;

// The main window: the calculator's controls, laid out from TFormCalculadora.ui, the engine and
// the currencies behind them, and the routing of every key and click to a command character.
//
// Keys: the window sees every key press aimed at its controls first (key preview) and routes it
// in four stages: dialog keys (Return clicks the focused highlight button; Tab and the arrows
// move the focus), FormKeyDown, the accelerator letters of the captions (not while the
// operations list has the focus), FormKeyPress. Before those, the window's own keys
// (WindowKeys: clipboard, printing, currencies, "Configurar", the collapse buttons) click their
// buttons, F1 opens the user's manual, and the journal's keys (ListKeys: undo, redo, correction)
// do their work. Keys and clicks are carried out one after the other in the order they came,
// each with its flash, also when they come faster than the flashes (CommandQueue); the repeats
// of a held key light their button without waiting for it, so a held key stops acting as soon
// as it is released.
//
// Journal: every command that changes the calculator goes through the session (Session), which
// keeps it; undo, redo, correcting or taking out an amount of the list are replays of the
// session's journal that are put in place at once (on a thread of their own, with their
// progress shown, when long).
//
// Assistive tools: a control's accessible description is its hint (empty without one), or its
// name when DRAVELLO_ACCESSIBLE_IDS=1 is set at start-up, a stable handle for test drivers.
//
// Rates: the rate panel's hint and description say where the current currency's rate came from;
// its menu (right button, Ctrl+E) opens the chart of the rate's history. When the user asked for
// it, the rates are updated once the window has appeared (StartupRatesUpdate), in the
// background; good rates are saved and applied as the currency dialog's acceptance applies a
// table (ApplyCurrencyTable).
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
  dravello::Session& Journal() { return session_; }
  bool OperacionesAbiertas() const { return operaciones_abiertas_; }

  // The key-down stage: flashes the button of a key of the key-down table; Delete also hands
  // backspace to the engine. `vk` is a Windows virtual-key code.
  void FormKeyDown(int vk);
  // The character stage: flashes the typed character's button, then hands the character to
  // the engine (Return: '=').
  void FormKeyPress(char ch);

  void AbrirOperaciones(bool abrir);
  void AbrirCambios(bool abrir);

  // The journal's work, from the list's menu and the journal's keys: each is one step of undo.
  void Deshacer();               // undoes the last step (the desktop's beep when there is none)
  void Rehacer();                // redoes the last step undone
  void CorregirImporte();        // "Corregir importe…" of the selected line
  void QuitarOperacion();        // "Quitar operación" of the selected line
  void BorrarCinta();            // "Borrar la cinta"
  void RecuperarSesion();        // "Recuperar la sesión anterior": swaps it with this session
  void GuardarEnDisco(bool on);  // "Guardar la cinta en disco": on keeps the journal on disk

  // Keeps the journal on disk in `folder`, unless the settings file says not to, after offering
  // to recover a session whose program ended without a normal close. Once the window shows.
  void StartJournal(const std::string& folder);
  // Writes at once what the disk does not hold yet (before a signal ends the program).
  void FlushJournal();

  // A new currency table, from the currency dialog or an update of the rates: the table, the
  // buttons, the strip and the equivalences from `campos` (Monedas::ApplyTable, with
  // `tape_line` on the tape unless empty), and the source of the rates for the kept tape.
  void ApplyCurrencyTable(dravello::CamposMonedas campos, const std::string& tape_line = {});

  // The rate panel's menu, at `global` or under the panel (the keyboard's way); it returns at
  // once. The menu, once it has been opened.
  void ShowRateMenu(std::optional<QPoint> global = std::nullopt);
  QMenu* RateMenu() const { return rate_menu_; }
  // The update of the rates at start-up, once it has been started.
  StartupRatesUpdate* RatesUpdate() const { return rates_update_.get(); }

 public slots:
  // The click handlers that the layout connects, named after their controls (a handler may serve
  // several buttons and tell them apart by the clicking button's caption or tag).
  void Button7Click();   // a keypad button: the caption's first letter as its command
  void Button17Click();  // "Ejecutar <--- (=)": flashes 50 ms, then '='; the focus stays
  void Button21Click();  // "Del": delete the last character
  void Button22Click();  // "½": halve
  void Button23Click();  // "%%": per mille
  void Button24Click();  // "Mem +": add to the accumulating memory
  void Button25Click();  // "Mem -": subtract from the accumulating memory
  void Button26Click();  // "Mem-> Dis": recall the accumulating memory
  void Button27Click();  // "rst": clear as "CLr" does, and the memories too
  void Button28Click();  // "M(a)" ... "(c)->": store in or recall memory a, b or c, by caption
  void Button34Click();  // "CLr": clear the registers and the pending operation
  void HighButtonVisiClick();  // "Visible": keep the window on top, or not
  void HighButton34Click();    // "Minimizar": minimise the window
  void GradBtn1Click();        // "Abrir - Cerrar" above the equivalences: close or open them
  void GradBtn2Click();        // "Abrir - Cerrar" of the operations: close or open that section
  void SpeedButton0Click();    // a currency button: switch to its currency (its tag)
  void SpeedButton9Click();    // "Configurar": the currency dialog, then the table read again
  void BitBtn1Click();         // copy the display to the clipboard
  void BitBtn2Click();         // paste the clipboard into the display
  void BitBtn3Click();         // print the operations list
  void BitBtnCerrarClick();    // the door: close the window, which ends the program

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  // Shows the background picture stretched over the backdrop Image1, unless it is shown so
  // already.
  void FitBackground();
  // Descriptions by the layout's hints, or by the control names when `by_name`.
  void DescribeControls(bool by_name);
  // Adds to each button's tooltip, after its hint, the keys that press it.
  void ListKeysInTooltips();

  // Carries out a key or click now, or after those before it (see CommandQueue).
  void Input(std::function<void()> input);
  void Route(const KeyInput& key);
  // The window's own keys: clicks the button of `key`, opens the manual, or does the journal's
  // work of a list key; true when the key is one of them.
  bool ClickWindowKey(const KeyInput& key);
  // The entries of the list's menu that hang on the journal, as they are now.
  void UpdateTapeMenu();
  void TapeMenuAction(int action, bool checked);
  // Runs a prepared replay (on a thread, with its progress, when long) and puts it in place;
  // `line` names the line of a correction in the message that refuses it. False when there
  // was none, or it was cancelled or refused.
  bool ApplyReplay(std::unique_ptr<dravello::ReplayRun> run, const QString& progress,
                   const std::string& line = std::string());
  // Runs a prepared replay, on a thread with its progress when long; false when cancelled.
  bool RunReplay(dravello::ReplayRun& run, const QString& progress);
  // Puts a finished replay in place: the journal, the state and the list.
  void Install(dravello::ReplayRun& run);
  void OpenJournal(const std::string& folder);  // StartJournal's work
  // The journal work is written within a second of the command that made it, all at once.
  void ScheduleJournal();
  void WriteJournal();
  // A journal taken over, read; one that cannot be read is set aside and the user told so.
  std::optional<dravello::JournalRead> ReadClaimed(dravello::JournalStore::Claimed& claimed);
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
  // The update of the rates at start-up, when the user asked for it and they are old.
  void StartRatesUpdate();
  void FinishRatesUpdate(const dravello::EuroRates& rates, const std::string& host);
  void OpenRateChart();
  // The parts used now and then, loaded at the first call; nothing, after an error box that
  // says why, when they cannot be loaded.
  OnDemand* Parts();

  Ui::TFormCalculadora ui_;
  WindowView view_;
  dravello::SessionView session_view_;  // in front of view_: what the journal needs of it
  dravello::Calculadora engine_;
  dravello::Monedas monedas_;
  dravello::Session session_;
  dravello::CommandQueue queue_;
  std::vector<THighButton*> key_buttons_;  // the buttons of KeyButtons(), in its order
  std::vector<THighButton*> accelerator_buttons_;
  bool operaciones_abiertas_ = false;
  bool delivering_ = false;  // a key is being handed to the operations list
  bool repeating_ = false;   // the key being routed is a repeat of a held key
  std::vector<std::pair<QKeyCombination, QWidget*>> window_keys_;  // no widget: the manual
  std::vector<std::pair<QKeyCombination, std::string_view>> list_keys_;
  Qt::FocusPolicy list_focus_policy_ = Qt::StrongFocus;  // ListBox1's while it can be seen
  QSize background_size_;  // of the picture shown on Image1, in device pixels
  bool shown_ = false;     // Image1 has been painted: the window has appeared
  // The currency dialog, printing and saving ("Guardar como…" of the operations list's menu),
  // with the printer's and the file dialog's choices since their first use.
  std::unique_ptr<OnDemand> on_demand_;
  std::string journal_folder_;                     // empty: no journal on disk at all
  std::unique_ptr<dravello::JournalStore> store_;  // while the tape is kept on disk
  QTimer journal_timer_;                           // runs only while something is unwritten
  bool disk_error_shown_ = false;

  std::unique_ptr<StartupRatesUpdate> rates_update_;
  QMenu* rate_menu_ = nullptr;
  QAction* rate_note_ = nullptr;
  QAction* rate_chart_ = nullptr;
};
