// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "Calculadora.h"
#include "JournalEntry.h"

namespace dravello {

inline constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

// An operand of a line as the user gave it: the commands that typed it (digits, separators,
// deletes and sign changes, first to last) or the paste that brought it, with its value. Not
// entered (first == kNoEntry) when it came from a memory, a result or a currency switch.
struct EnteredAmount {
  std::uint32_t first = kNoEntry;
  std::uint32_t last = kNoEntry;
  Currency value;
  bool Entered() const { return first != kNoEntry; }
};

// A line of the list that shows an operation, with where its amounts came from.
struct OperationLine {
  std::uint64_t line = 0;                   // counted among all the lines written
  std::uint32_t entry = 0;                  // the command that wrote it
  std::uint32_t operator_entry = kNoEntry;  // the command of its operator
  EnteredAmount a, b;                       // its operands; b only for two operands
  bool binary = false;
};

// Follows, command by command, where the values of the accumulator and the display register
// came from, so that each line that shows an operation knows which commands entered its
// amounts (for correcting them) and which gave its operator (for taking the operation out).
// It sees the calculator only from outside, before and after each command.
class AmountTracker {
 public:
  // The operation lines the command will write, in the order it writes them (at most two);
  // `index` is the command's place in the journal. Lines that show no operation are not in it.
  struct Plan {
    std::array<OperationLine, 2> lines;
    int count = 0;
  };
  Plan PlanFor(const EstadoCalculadora& before, const JournalEntry& command,
               std::uint32_t index) const;

  // After a command that changed something: `ok` false when it failed midway.
  void Update(const EstadoCalculadora& before, const EstadoCalculadora& after,
              const JournalEntry& command, std::uint32_t index, bool ok);

 private:
  enum class Source : std::uint8_t { kNone, kEntered, kDerived };
  struct Register {
    Source source = Source::kNone;
    std::uint32_t first = kNoEntry, last = kNoEntry;
  };
  static EnteredAmount Amount(const Register& r, Currency value);

  Register x_, y_;                           // the accumulator and the display register
  std::uint32_t operator_entry_ = kNoEntry;  // the command that made the operator pending
};

}  // namespace dravello
