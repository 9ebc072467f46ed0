// SPDX-License-Identifier: GPL-3.0-or-later
// The operations list under a long run: the cost of one append (add, select, scroll, repaint)
// at a given length, and the memory a line costs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QScrollBar>
#include <cstdio>
#include <string>

#include "TapeList.h"
#include "TapeModel.h"

namespace {

using dravello::TapeList;

// A typical line of the tape, a little different each time.
std::string Line(std::size_t n) {
  char text[64];
  const int size =
      std::snprintf(text, sizeof text, "1.234.567,89 + %zu,00 = 1.234.568,00", n % 100000);
  return std::string(text, static_cast<std::size_t>(size));
}

void ShowAll() {
  QCoreApplication::processEvents();
}

// Bytes in use on the heap, small blocks and mapped ones.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// One append at state.range(0) lines: the model grows by one row, the view selects it, scrolls
// to it and repaints. The tape grows by the iteration count while measuring (1 000 at most).
// From 100 000 lines on, also the heap the lines hold, per line and above their text, with the
// view shown all along.
void BM_AppendAndShow(benchmark::State& state) {
  TapeList list;
  list.resize(494, 76);
  list.show();
  ShowAll();
  const auto start = static_cast<std::size_t>(state.range(0));
  malloc_trim(0);
  const std::size_t empty = HeapInUse();
  std::uint64_t text = 0;
  for (std::size_t i = 0; i < start; ++i) {
    const std::string line = Line(i);
    text += line.size();
    list.Model()->Append(line);
    if (i % 65536 == 0) ShowAll();
  }
  list.scrollToBottom();
  ShowAll();
  if (start >= 100000) {
    const double held = static_cast<double>(HeapInUse() - empty);
    const double lines = static_cast<double>(start);
    state.counters["text_per_line"] = static_cast<double>(text) / lines;
    state.counters["overhead_per_line"] = (held - static_cast<double>(text)) / lines;
  }

  std::size_t n = start;
  for (auto _ : state) {
    list.AnotarOperacion(Line(n++));
    ShowAll();
  }
  if (list.currentIndex().row() != static_cast<int>(n - 1)) state.SkipWithError("not selected");
}
BENCHMARK(BM_AppendAndShow)
    ->Arg(1000)
    ->Arg(1000000)
    ->Iterations(1000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
