// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <sstream>
#include <string>

#include "Calculadora.h"
#include "Cp1252.h"
#include "Monedas.h"
#include "NullView.h"
#include "Session.h"
#include "SessionView.h"
#include "StateBlock.h"
#include "TapeLines.h"

namespace dravello {

// The window without Qt: a session on an engine whose list and equivalence cells are kept as
// the window keeps them, and every replay put in place at once as the window does.
class SessionHarness {
 public:
  explicit SessionHarness(const TTablaMonedas& table, Separators separators = {',', '.'})
      : shown_(*this),
        view_(&shown_),
        calculadora_(view_, separators),
        monedas_(calculadora_, view_, std::string()),
        session_(calculadora_, monedas_, view_) {
    session_.SetTape(&tape_, [this] {
      const bool any = !tape_.Empty();
      tape_.Hide(tape_.Written());
      return any;
    });
    monedas_.IniciaCalculadora(table);
    session_.Begin({separators, table});
  }

  CommandOutcome Run(const JournalEntry& command) { return session_.Run(command); }

  // Runs a prepared replay and puts it in place; false when there was none or it was refused.
  bool Apply(std::unique_ptr<ReplayRun> run) {
    if (!run) return false;
    run->Run();
    if (run->Out().refused) {
      session_.Drop();
      return false;
    }
    std::size_t unchanged = 0;
    tape_ = session_.Commit(*run, unchanged);
    return true;
  }

  // The list and the state as dravello-replay prints them (the list as it stands now).
  std::string Transcript() const {
    std::ostringstream out;
    for (std::size_t i = 0; i < tape_.Count(); ++i) {
      out << (tape_.Corrected(i) ? "list*: " : "list: ") << Cp1252ToUtf8(tape_.Line(i)) << '\n';
    }
    WriteStateBlock(out, view_.State(), calculadora_.Estado(), monedas_.MonedaActual(), cells_);
    return out.str();
  }

  // The journal's text, as the disk holds it.
  std::string JournalText() const { return session_.Text(); }

  Session& session() { return session_; }
  const TapeLines& tape() const { return tape_; }

 private:
  // The window's controls that the session's view hands on to: the list and the cells.
  class Shown : public NullView {
   public:
    explicit Shown(SessionHarness& h) : h_(h) {}
    void AppendListLine(const std::string& line) override {
      const TMoneda& m =
          h_.monedas_.TablaMonedas()[static_cast<std::size_t>(h_.monedas_.MonedaActual())];
      h_.tape_.SetCurrency(m.Moneda);
      h_.tape_.Append(line);
    }
    void SetAmountCell(int slot, const std::string& text) override {
      h_.cells_.amounts.at(static_cast<std::size_t>(slot)) = text;
    }
    void SetAbbreviationCell(int slot, const std::string& text) override {
      h_.cells_.abbreviations.at(static_cast<std::size_t>(slot)) = text;
    }

   private:
    SessionHarness& h_;
  };

  TapeLines tape_;
  EquivalenceCells cells_;
  Shown shown_;
  SessionView view_;
  Calculadora calculadora_;
  Monedas monedas_;
  Session session_;
};

}  // namespace dravello
