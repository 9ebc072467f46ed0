// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the operations list: the time to write a million lines as text and as CSV through the
// same code as "Guardar como…" (a temporary file flushed to disk and renamed), and as PDF through
// the printer's page code.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QPrinter>
#include <filesystem>
#include <string>

#include "TapeExport.h"
#include "TapeLines.h"
#include "TapePrinter.h"

namespace {

using dravello::SaveProgress;
using dravello::SaveResult;
using dravello::TapeExport;
using dravello::TapeFormat;
using dravello::TapeLines;

constexpr std::size_t kLines = 1000000;

// A long run as the calculator writes it: mostly operations, now and then a memory, a note
// or a currency switch; 33 bytes a line on average.
const TapeLines& MillionLines() {
  static const TapeLines lines = [] {
    TapeLines tape;
    const std::string others[] = {"1.235,00 --> M(a)", "Copiado a ClipBoard 1.235,00",
                                  "(1.235,00 Eur)", "---> Cambio a Moneda (Pts)",
                                  "Borrar Datos (Clr)"};
    for (std::size_t n = 0; n < kLines; ++n) {
      tape.SetCurrency(n % 1000 < 500 ? "Eur" : "Pts");
      if (n % 10 == 9) {
        tape.Append(others[n / 10 % 5]);
      } else {
        const std::string amount = std::to_string(n % 100000);
        tape.Append("1.234,50 + " + amount + ",25 = 1.234.567,75");
      }
    }
    return tape;
  }();
  return lines;
}

class Folder {
 public:
  Folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tape-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  std::string File(const char* name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void BM_SaveMillionLines(benchmark::State& state) {
  const TapeLines& lines = MillionLines();
  const auto format = static_cast<TapeFormat>(state.range(0));
  const TapeExport exporter(format, dravello::Separators{',', '.'});
  Folder folder;
  const std::string file = folder.File("cinta");
  for (auto _ : state) {
    SaveProgress progress;
    if (exporter.Save(lines, file, progress).status != SaveResult::Status::kSaved) {
      state.SkipWithError("not saved");
      return;
    }
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  state.SetLabel(format == TapeFormat::kCsv ? "CSV" : "text");
}
BENCHMARK(BM_SaveMillionLines)
    ->Arg(static_cast<int>(TapeFormat::kText))
    ->Arg(static_cast<int>(TapeFormat::kCsv))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The PDF goes through the printer's page code: about 16 000 pages.
void BM_SaveMillionLinesPdf(benchmark::State& state) {
  const TapeLines& lines = MillionLines();
  Folder folder;
  const std::string file = folder.File("cinta.pdf");
  for (auto _ : state) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    if (!dravello::TapePrinter::Print(lines, printer).isEmpty()) {
      state.SkipWithError("not printed");
      return;
    }
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
}
BENCHMARK(BM_SaveMillionLinesPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

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
