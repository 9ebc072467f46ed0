// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of a long session, without the window: the cost a key adds, undo and redo of one
// step, and correcting the first amount (everything after it replayed), each with the new
// state and list put in place as the window takes them.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "SessionHarness.h"

namespace dravello {
namespace {

TTablaMonedas Table() {
  TTablaMonedas table{};
  table[0] = {2, "Eur", 1.0};
  table[1] = {0, "Pts", 1.0 / 166.386};
  for (std::size_t n = 2; n < table.size(); ++n) table[n] = {2, "", 1.0};
  return table;
}

// A shopping list of `lines` amounts: "1234,5", then "+37,25" again and again, and "=": each
// "+" after the first and the "=" write a line.
std::unique_ptr<SessionHarness> ShoppingList(long lines) {
  auto h = std::make_unique<SessionHarness>(Table());
  for (char key : std::string("1234,5")) h->Run(JournalEntry::Key(key));
  for (long n = 0; n < lines; ++n) {
    for (char key : std::string("+37,25")) h->Run(JournalEntry::Key(key));
  }
  h->Run(JournalEntry::Key('='));
  return h;
}

void BM_KeyThroughSession(benchmark::State& state) {
  // The engine benchmark's kind of typing, through the journal (the session's view, the
  // journal entry, a snapshot every so often) to a list kept as the window keeps it.
  const std::string keys = "1234,56+789,1=*3=A250-12,5%99,99*0,15=B144R12X7\xBDT15,5S3=UO+P=V/4=C";
  SessionHarness h(Table());
  for (auto _ : state) {
    for (char key : keys) h.Run(JournalEntry::Key(key));
  }
  state.counters["ns_per_key"] =
      benchmark::Counter(static_cast<double>(state.iterations() * static_cast<long>(keys.size())),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["journal_bytes_per_key"] = static_cast<double>(h.JournalText().size()) /
                                            static_cast<double>(h.session().Entries().size());
}
BENCHMARK(BM_KeyThroughSession);

void BM_UndoOrRedoOneStep(benchmark::State& state) {
  const auto h = ShoppingList(state.range(0));
  for (auto _ : state) {
    h->Apply(h->session().Undo());
    h->Apply(h->session().Redo());
  }
  state.SetItemsProcessed(state.iterations() * 2);  // an undo and a redo
}
BENCHMARK(BM_UndoOrRedoOneStep)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CorrectFirstAmount(benchmark::State& state) {
  const auto h = ShoppingList(state.range(0));
  const std::vector<std::string> amounts[2] = {{"1234,5", "36,25"}, {"1234,5", "37,25"}};
  std::size_t which = 0;
  for (auto _ : state) {
    std::string error;
    if (!h->Apply(h->session().Correct(0, amounts[which], error))) {
      state.SkipWithError("the correction was not made");
      break;
    }
    which ^= 1;
  }
  state.counters["commands"] = static_cast<double>(h->session().Entries().size());
}
BENCHMARK(BM_CorrectFirstAmount)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dravello

BENCHMARK_MAIN();
