// SPDX-License-Identifier: GPL-3.0-or-later
#include "AmountTracker.h"

#include <cstring>

namespace dravello {

namespace {

bool IsEntry(char key) {
  return (key >= '0' && key <= '9') || key == ',' || key == '.';
}

bool IsOperator(char key) {
  return key != '\0' && std::strchr("+-*/%$", key) != nullptr;
}

}  // namespace

EnteredAmount AmountTracker::Amount(const Register& r, Currency value) {
  if (r.source != Source::kEntered) return EnteredAmount{kNoEntry, kNoEntry, value};
  return EnteredAmount{r.first, r.last, value};
}

AmountTracker::Plan AmountTracker::PlanFor(const EstadoCalculadora& e, const JournalEntry& command,
                                           std::uint32_t index) const {
  Plan plan;
  if (command.kind != CommandKind::kKey) return plan;
  // The accumulating memory takes the display register whatever the flags say; the other
  // operations need an operand.
  const bool memory = command.key == 'T' || command.key == 'U';
  if (!e.HayNumero && !memory) return plan;
  const Currency x = e.Numeros[kAccumulator];
  const Currency y = e.Numeros[kDisplayRegister];
  auto binary = [&](EnteredAmount a, EnteredAmount b, std::uint32_t op) {
    plan.lines[static_cast<std::size_t>(plan.count++)] = {0, index, op, a, b, true};
  };
  switch (command.key) {
    case 'S':
    case 'R':
    case 'X':
    case kHalfKey:
    case 'T':
    case 'U':
      plan.lines[0] = {0, index, index, Amount(y_, y), {}, false};
      plan.count = 1;
      break;
    case '=':
    case '+':
    case '-':
    case '*':
    case '/':
      if (e.HayOperacion) binary(Amount(x_, x), Amount(y_, y), operator_entry_);
      break;
    case '%':
    case '$':
      if (!e.HayOperacion) break;
      if (e.Operacion == '+' || e.Operacion == '-') {
        // "X % Y = P", then "X + P = R": the percentage is no amount of the user's.
        binary(Amount(x_, x), Amount(y_, y), index);
        binary(Amount(x_, x), EnteredAmount{kNoEntry, kNoEntry, Currency{}}, operator_entry_);
      } else {
        binary(Amount(x_, x), Amount(y_, y), operator_entry_);
      }
      break;
    default:
      break;
  }
  return plan;
}

void AmountTracker::Update(const EstadoCalculadora& before, const EstadoCalculadora& after,
                           const JournalEntry& command, std::uint32_t index, bool ok) {
  if (!ok) {
    // What a failed command left half done is no amount of the user's.
    x_ = y_ = Register{Source::kDerived};
  } else {
    switch (command.kind) {
      case CommandKind::kPaste:
        y_ = {Source::kEntered, index, index};
        break;
      case CommandKind::kClick:
        x_ = y_ = Register{Source::kDerived};
        break;
      case CommandKind::kKey: {
        const char key = command.key;
        if (IsEntry(key) && (before.NuevaEntrada || y_.source == Source::kNone)) {
          y_ = {Source::kEntered, index, index};
        } else if (IsEntry(key) || key == '\b' || key == 'S') {
          // An amount goes on being entered only by the keys straight after it: one that
          // another command has used meanwhile is that command's result.
          if (y_.source == Source::kEntered && y_.last + 1 == index) {
            y_.last = index;
          } else if (y_.source == Source::kEntered) {
            y_ = Register{Source::kDerived};
          }
        } else if (key == 'R' || key == 'X' || key == kHalfKey) {
          if (before.HayNumero) y_ = Register{Source::kDerived};
        } else if (key == 'O' || key == 'P' || key == 'Q' || key == 'V') {
          y_ = Register{Source::kDerived};
        } else if (key == 'L' || key == 'E') {
          x_ = y_ = Register{};
        } else if (key == '=') {
          if (before.HayOperacion && before.HayNumero) x_ = y_ = Register{Source::kDerived};
        } else if (IsOperator(key) && before.HayNumero) {
          const bool percent = key == '%' || key == '$';
          if (!before.HayOperacion) {
            x_ = y_;  // the display moves to the accumulator
            y_ = Register{};
          } else if (!percent || before.Operacion == '+' || before.Operacion == '-') {
            x_ = y_ = Register{Source::kDerived};
          } else {
            x_ = Register{Source::kDerived};
          }
        }
        break;
      }
      default:
        break;
    }
  }
  if (!after.HayOperacion) {
    operator_entry_ = kNoEntry;
  } else if (command.kind == CommandKind::kKey && after.Operacion == command.key &&
             (!before.HayOperacion || before.Operacion != command.key || before.HayNumero)) {
    operator_entry_ = index;
  }
}

}  // namespace dravello
