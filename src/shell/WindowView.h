// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>

#include "CalculatorView.h"

class LineAnnouncer;
class QToolButton;
class QWidget;
class ReadoutLabel;
class THighButton;
namespace dravello {
class TapeModel;
}
namespace Ui {
class TFormCalculadora;
}

// The calculator's outputs bound to the main window's controls. Texts arrive as Windows-1252
// bytes and are shown as Unicode.
class WindowView : public dravello::CalculatorView {
 public:
  // `window` owns the controls of `ui` (set up already) and parents the message boxes.
  WindowView(QWidget* window, const Ui::TFormCalculadora& ui);

  void SetPanel1(const std::string& caption) override;
  void SetPanel6(const std::string& caption) override;
  void SetPanel7(const std::string& caption) override;
  void SetMemoryPanel(int memory, const std::string& caption, dravello::WinColor colour) override;
  void SetRecallButton(int memory, bool enabled, dravello::WinColor font_colour) override;
  void SetPanel5(const std::string& caption, dravello::WinColor colour,
                 const std::string& hint) override;
  void AppendListLine(const std::string& line) override;
  void ShowMessage(dravello::MessageKind kind, const std::string& caption,
                   const std::string& text) override;
  void SetPanelMoneda(const std::string& caption) override;
  void SetStaticText2(const std::string& caption) override;
  void SetPanelDeci(const std::string& caption) override;
  void SetPanelEqui(const std::string& caption) override;
  void SetPanelEquiHint(const std::string& hint) override;
  void SetCurrencyButton(int tag, const std::string& caption, bool enabled) override;
  void SetAmountCell(int slot, const std::string& text) override;
  void SetAbbreviationCell(int slot, const std::string& text) override;

  // Tells the operations list, before each line, the current currency and its rate
  // (TapeModel::SetCurrency), so that a saved tape says in which currency and at which rate
  // each line was written.
  void SetCurrencyOfLines(std::function<void(dravello::TapeModel&)> current) {
    current_currency_ = std::move(current);
  }
  // Tells the fields that show amounts and rates where their decimals begin (the regional
  // decimal separator, Windows-1252): only those fields may cut decimals that do not fit.
  void SetDecimalSeparator(char separator);

  // The accessible name of a currency button: its abbreviation and its number, which stay
  // distinct when two currencies share an abbreviation or have none yet.
  static QString CurrencyButtonName(int tag, const QString& caption);

  // What PanelEqui's hint adds after the rate's note: the update of the rates at start-up while
  // it runs and when it failed (empty: nothing), and the line of the keys that open its menu.
  void SetRatesUpdateNote(const QString& note);
  void SetRatePanelKeys(const QString& keys);

  // Whether a control's hint that changes at run time (Panel5's) also becomes its accessible
  // description, as the hints of the layout do; not while descriptions are the control names.
  void SetDescribeByHint(bool on) { describe_by_hint_ = on; }

 private:
  QWidget* window_;
  const Ui::TFormCalculadora& ui_;
  std::function<void(dravello::TapeModel&)> current_currency_;
  std::array<ReadoutLabel*, 3> memory_panels_;
  std::array<THighButton*, 4> recall_buttons_;
  std::array<QToolButton*, 7> currency_buttons_{};  // by tag
  std::array<ReadoutLabel*, 7> amount_cells_{};     // by slot 1 to 6
  std::array<ReadoutLabel*, 7> abbreviation_cells_{};
  LineAnnouncer* announcer_;  // tells screen readers each new tape line
  QString rate_note_, update_note_, rate_keys_;
  bool describe_by_hint_ = true;

  void ShowRateHint();
};
