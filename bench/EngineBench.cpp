// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one key through the whole engine, and of one display formatting.
#include <benchmark/benchmark.h>

#include <string>

#include "Calculadora.h"
#include "Formato.h"

namespace dravello {
namespace {

// A view that only counts what it receives, so the benchmark measures the engine.
class CountingView : public CalculatorView {
 public:
  void SetPanel1(const std::string& c) override { Count(c); }
  void SetPanel6(const std::string& c) override { Count(c); }
  void SetPanel7(const std::string& c) override { Count(c); }
  void SetMemoryPanel(int, const std::string& c, WinColor) override { Count(c); }
  void SetRecallButton(int, bool, WinColor) override { ++outputs; }
  void SetPanel5(const std::string& c, WinColor, const std::string& h) override {
    Count(c);
    Count(h);
  }
  void AppendListLine(const std::string& line) override {
    Count(line);
    ++lines;
  }
  void ShowMessage(MessageKind, const std::string&, const std::string& t) override { Count(t); }
  void SetPanelMoneda(const std::string& c) override { Count(c); }
  void SetStaticText2(const std::string& c) override { Count(c); }
  void SetPanelDeci(const std::string& c) override { Count(c); }
  void SetPanelEqui(const std::string& c) override { Count(c); }
  void SetCurrencyButton(int, const std::string& c, bool) override { Count(c); }
  void SetAmountCell(int, const std::string& c) override { Count(c); }
  void SetAbbreviationCell(int, const std::string& c) override { Count(c); }

  long outputs = 0;
  long bytes = 0;
  long lines = 0;

 private:
  void Count(const std::string& s) {
    ++outputs;
    bytes += static_cast<long>(s.size());
  }
};

// A long mixed sequence: typing, the four operations, per cent, unary operations, memories,
// recalls, delete and clear. It never fails, so the benchmark measures the ordinary path.
const std::string kSequence =
    "1234,56+789,1=*3=A"
    "250-12,5%"
    "99,99*0,15=B"
    "144R"
    "12X"
    "7½"
    "T"
    "15,5S3="
    "U"
    "O+P="
    "V/4="
    "C"
    "31416\b\b+2="
    "Q"
    "2000$15="
    "1,5*2,25="
    "L"
    "60+40%"
    "E";

void BM_KeyThroughEngine(benchmark::State& state) {
  CountingView view;
  Calculadora calc(view, Separators{',', '.'});
  calc.Inicia();
  calc.PoneDisplay(Currency{});
  calc.ActualizaMemorias();
  for (auto _ : state) {
    for (char key : kSequence) {
      RunCommand(view, [&] { calc.ProcesaTecla(key); });
    }
  }
  benchmark::DoNotOptimize(view.bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<long>(kSequence.size()));
  state.counters["ns_per_key"] = benchmark::Counter(
      static_cast<double>(state.iterations() * static_cast<long>(kSequence.size())),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_KeyThroughEngine);

void BM_FormatAmount(benchmark::State& state) {
  const std::int64_t counts[] = {
      0, 12345678, -5000, 9223372036854775807LL, 1234567890123450000LL, 42, -987654321, 10000};
  const Separators separators{',', '.'};
  std::size_t i = 0;
  for (auto _ : state) {
    std::string text = FormatAmount(Currency::FromCount(counts[i++ & 7]), 2, separators);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_FormatAmount);

}  // namespace
}  // namespace dravello

BENCHMARK_MAIN();
