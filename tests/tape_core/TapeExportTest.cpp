// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeExport.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Calculadora.h"
#include "CamposMonedas.h"
#include "Monedas.h"
#include "Portapapeles.h"
#include "RecordingView.h"
#include "TapeLines.h"
#include "TapeSaveJob.h"
#include "TestFiles.h"

namespace dravello {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr Separators kSpain{',', '.'};

// The calculator as the window runs it, its list lines kept as the operations list keeps them:
// each with the abbreviation of the currency current when it was written and its rate.
class TapeSession {
 public:
  TapeSession() : view_(*this), calc_(view_, kSpain), monedas_(calc_, view_, "") {
    monedas_.IniciaCalculadora(Campos("166,386"));
  }
  // Base "Pts" with no decimals, and "€" at `rate` Pts with two.
  static CamposMonedas Campos(const std::string& rate) {
    CamposMonedas campos("", kSpain.decimal);
    campos.LeeIni();
    campos.EditMoneda(0) = "Pts";
    campos.EditDecimales(0) = "0";
    campos.EditMoneda(1) = "\x80";
    campos.EditDecimales(1) = "2";
    campos.EditCambio(1) = rate;
    return campos;
  }

  void Keys(const std::string& keys) {
    for (const char key : keys) RunCommand(view_, [&] { calc_.ProcesaTecla(key); });
  }
  void Switch(int tag) {
    RunCommand(view_, [&] { monedas_.SpeedButton0Click(tag); });
  }
  void Copy() {
    RunCommand(view_, [&] { CopiaDisplay(calc_); });
  }
  void Paste(const std::string& text) {
    RunCommand(view_, [&] { PegaDisplay(calc_, text); });
  }
  // A new rate of "€" from a feed, applied as the window applies an update.
  void NewRate(const std::string& rate) {
    CamposMonedas campos = Campos(rate);
    campos.Stamp().rows[1] = campos.Stamp().update = {"2026-12-07", "www.ecb.europa.eu"};
    monedas_.SetStamp(campos.Stamp());
    TTablaMonedas tabla{};
    campos.AplicaMonedas(tabla);
    RunCommand(view_, [&] { monedas_.ApplyTable(tabla, "Cambios actualizados al 07/12/2026"); });
    lines_.SetRatesNote(RatesSourceLine(monedas_.Stamp(), monedas_.TablaMonedas()));
  }

  const TapeLines& Lines() const { return lines_; }
  std::size_t Messages() const { return view_.messages.size(); }

 private:
  // Sets the current currency before each line, as the window's view does.
  class View : public RecordingView {
   public:
    explicit View(TapeSession& session) : session_(session) {}
    void AppendListLine(const std::string& line) override {
      const Monedas& monedas = session_.monedas_;
      const std::string rate = monedas.CurrentRateText();
      session_.lines_.SetCurrency(
          monedas.TablaMonedas()[static_cast<std::size_t>(monedas.MonedaActual())].Moneda, rate,
          rate.empty() ? "" : monedas.TablaMonedas()[0].Moneda);
      session_.lines_.Append(line);
    }

   private:
    TapeSession& session_;
  };

  TapeLines lines_;
  View view_;
  Calculadora calc_;
  Monedas monedas_;
};

// Operations, per cent and per mille, memories, an error, the clipboard, two currency
// switches and a new rate, each kind of line at least once.
TapeLines MixedSession() {
  TapeSession s;
  s.Keys("1500+250=");
  s.Keys("200%15=");
  s.Keys("1000+10%");
  s.Keys("2000$15=");
  s.Keys("A");
  s.Keys("T");
  s.Keys("125/0=");
  s.Copy();
  s.Keys("L");
  s.Paste("1234,5");
  s.Switch(1);
  s.Keys("12,5*3=");
  s.Keys("2R");
  s.Keys("1,5X");
  s.Keys("7\xBD");
  s.Keys("S");
  s.Keys("U");
  s.Keys("O");
  s.Keys("V");
  s.Keys("9-12,25=");
  s.NewRate("166,4");
  s.Keys("2*3=");
  s.Switch(0);
  s.Keys("E");
  EXPECT_EQ(s.Messages(), 1u) << "only the division by zero shows a box";
  return s.Lines().Snapshot();
}

std::string Export(const TapeLines& lines, TapeFormat format) {
  std::string out;
  TapeExport(format, kSpain).Append(lines, 0, lines.Count(), out);
  return out;
}

// Compares with the golden file; DRAVELLO_UPDATE_GOLDEN=1 rewrites it instead (review the
// change with git diff).
void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string path = std::string(DRAVELLO_TAPE_GOLDEN) + "/" + name;
  if (const char* update = std::getenv("DRAVELLO_UPDATE_GOLDEN"); update && *update == '1') {
    WriteBytes(path, actual);
    return;
  }
  EXPECT_EQ(actual, ReadBytes(path)) << "differs from " << path;
}

TEST(TapeExport, AMixedSessionAsTextAndAsCsv) {
  const TapeLines lines = MixedSession();
  ExpectGolden("mixed_session.txt", Export(lines, TapeFormat::kText));
  ExpectGolden("mixed_session.csv", Export(lines, TapeFormat::kCsv));
}

TEST(TapeExport, SavedFilesAreTheExportsByteForByteHoweverTheyArePieced) {
  // Long enough for many pieces of a megabyte, with lines split across the tape's blocks.
  const TapeLines session = MixedSession();
  TapeLines lines;
  std::size_t n = 0;
  while (lines.TextBytes() < 3u << 20) {
    const std::size_t i = n % session.Count();
    lines.SetCurrency(session.CurrencyOf(i), session.RateOf(i), session.BaseOf(i));
    lines.Append(session.Line(i));
    ++n;
  }
  lines.SetRatesNote(session.RatesNote());
  TempFolder folder;
  for (const TapeFormat format : {TapeFormat::kText, TapeFormat::kCsv}) {
    const std::string file = folder.File(format == TapeFormat::kCsv ? "a.csv" : "a.txt");
    SaveProgress progress;
    const SaveResult result = TapeExport(format, kSpain).Save(lines, file, progress);
    ASSERT_EQ(result.status, SaveResult::Status::kSaved) << result.error;
    EXPECT_EQ(ReadBytes(file), Export(lines, format));
    EXPECT_EQ(progress.done.load(), lines.Count());
  }
}

TEST(TapeExport, AnEmptyTapeIsAnEmptyTextOrACsvHeaderAlone) {
  const TapeLines none;
  EXPECT_EQ(Export(none, TapeFormat::kText), "");
  EXPECT_EQ(Export(none, TapeFormat::kCsv),
            "\xEF\xBB\xBFOperando 1,Operador,Operando "
            "2,Resultado,Moneda,Cambio,L\xC3\xADnea,Corregida\r\n");
}

// A line that a correction changed: a dagger after it and the legend at the end of the text, "Sí"
// in the CSV's last column.
TEST(TapeExport, CorrectedLinesAreMarkedInTheTextAndTheCsv) {
  TapeLines lines;
  lines.SetCurrency("Pts");
  for (const char* line : {"1 + 2 = 3", "3 + 4 = 7"}) lines.Append(line);
  lines.SetCorrected(1, true);
  EXPECT_EQ(Export(lines, TapeFormat::kText),
            "1 + 2 = 3\n3 + 4 = 7 \xE2\x80\xA0\n\n\xE2\x80\xA0 L\xC3\xADnea corregida: su texto "
            "cambi\xC3\xB3 al corregir una operaci\xC3\xB3n anterior.\n");
  EXPECT_EQ(Export(lines, TapeFormat::kCsv),
            "\xEF\xBB\xBFOperando 1,Operador,Operando "
            "2,Resultado,Moneda,Cambio,L\xC3\xADnea,Corregida\r\n"
            "1,+,2,3,Pts,,1 + 2 = 3,\r\n3,+,4,7,Pts,,3 + 4 = 7,S\xC3\xAD\r\n");
}

TEST(TapeExport, CsvFieldsAreQuotedWhereTheyMustBe) {
  const struct {
    const char* line;
    const char* currency;
    Separators separators;
    const char* record;
  } cases[] = {
      // Regional decimal commas need quotes; points do not.
      {"1.234,50 + 0,50 = 1.235,00", "Eur", kSpain,
       "\"1234,50\",+,\"0,50\",\"1235,00\",Eur,,\"1.234,50 + 0,50 = 1.235,00\",\r\n"},
      {"1,234.50 + 0.50 = 1,235.00", "USD", Separators{'.', ','},
       "1234.50,+,0.50,1235.00,USD,,\"1,234.50 + 0.50 = 1,235.00\",\r\n"},
      {"1.500 + 250 = 1.750", "Pts", kSpain, "1500,+,250,1750,Pts,,1.500 + 250 = 1.750,\r\n"},
      // A line that is no operation keeps only itself, without its currency and rate.
      {"---> Cambio a Moneda (Eur)", "Pts", kSpain, ",,,,,,---> Cambio a Moneda (Eur),\r\n"},
      {"(1.000 Pts)", "Pts", kSpain, ",,,,,,(1.000 Pts),\r\n"},
      {"", "Pts", kSpain, ",,,,,,,\r\n"},
      // Quotes are doubled; blanks at either end and line breaks are kept inside quotes.
      {"Pegado Desde ClipBoard 0,00", "a\"b", kSpain, ",,,,,,\"Pegado Desde ClipBoard 0,00\",\r\n"},
      {"1 + 2 = 3", "a\"b", kSpain, "1,+,2,3,\"a\"\"b\",,1 + 2 = 3,\r\n"},
      {"say \"hi\", twice", "", kSpain, ",,,,,,\"say \"\"hi\"\", twice\",\r\n"},
      {" x ", "", kSpain, ",,,,,,\" x \",\r\n"},
      {"a\nb\rc", "", kSpain, ",,,,,,\"a\nb\rc\",\r\n"},
      // Windows-1252 becomes UTF-8: the sign change's operator, a currency sign.
      {"12,00 = -12,00", "\x80", kSpain,
       "\"12,00\",\xC2\xB1,,\"-12,00\",\xE2\x82\xAC,,\"12,00 = -12,00\",\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TapeExport::CsvRecord(c.line, c.currency, c.separators), c.record) << c.line;
  }
}

// --- Saving that fails or is cancelled: the old file stays, nothing else is left.

TapeLines Tape(std::size_t lines) {
  TapeLines tape;
  tape.SetCurrency("Eur");
  for (std::size_t n = 0; n < lines; ++n) {
    tape.Append("1.234,50 + " + std::to_string(n) + ",00 = 9.999,99");
  }
  return tape;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

SaveResult SaveCsv(const TapeLines& lines, const std::string& path) {
  SaveProgress progress;
  return TapeExport(TapeFormat::kCsv, kSpain).Save(lines, path, progress);
}

TEST(TapeExportSave, AFolderThatCannotBeWrittenIsRefusedWithItsReason) {
  TempFolder folder;
  const fs::path locked =
      fs::path(testing::FileInClosedFolder(folder, "locked", "old.csv", "old")).parent_path();
  const TapeLines lines = Tape(10);
  EXPECT_TRUE(testing::AsOrdinaryUser([&] {
    const SaveResult result = SaveCsv(lines, (locked / "new.csv").string());
    return result.status == SaveResult::Status::kFailed && result.error == EACCES;
  }));
  EXPECT_TRUE(testing::AsOrdinaryUser([&] {
    const SaveResult result = SaveCsv(lines, (locked / "old.csv").string());
    return result.status == SaveResult::Status::kFailed && result.error == EACCES;
  }));
  EXPECT_EQ(ReadBytes((locked / "old.csv").string()), "old");
  EXPECT_EQ(Names(locked), std::vector<std::string>{"old.csv"});

  // Not a folder at all, or a folder where the file should be.
  const SaveResult missing = SaveCsv(lines, (folder.path() / "none" / "a.csv").string());
  EXPECT_EQ(missing.status, SaveResult::Status::kFailed);
  EXPECT_EQ(missing.error, ENOENT);
  const SaveResult onto_folder = SaveCsv(lines, locked.string());
  EXPECT_EQ(onto_folder.status, SaveResult::Status::kFailed);
  EXPECT_EQ(onto_folder.error, EISDIR);
}

// A small tmpfs of the test's own, so the disk really fills; it needs root.
class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "not root: no tmpfs of our own to fill";
    if (::mount("tmpfs", folder_.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                "size=256k,mode=0700") != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here (errno " << errno << ")";
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) ::umount2(folder_.path().c_str(), MNT_DETACH);
  }
  TempFolder folder_;
  bool mounted_ = false;
};

TEST_F(FullDiskTest, ASaveThatDoesNotFitLeavesTheOldFileAndNoTemporaryFile) {
  const std::string file = folder_.File("cinta.csv");
  const std::string old = "the tape saved before\r\n";
  WriteBytes(file, old);
  const TapeLines lines = Tape(20000);  // about 1.5 MB of CSV
  for (const TapeFormat format : {TapeFormat::kCsv, TapeFormat::kText}) {
    SaveProgress progress;
    const SaveResult result = TapeExport(format, kSpain).Save(lines, file, progress);
    EXPECT_EQ(result.status, SaveResult::Status::kFailed);
    EXPECT_EQ(result.error, ENOSPC);
    EXPECT_EQ(ReadBytes(file), old);
    EXPECT_EQ(Names(folder_.path()), std::vector<std::string>{"cinta.csv"});
  }
  // A tape that fits is saved all the same.
  ASSERT_EQ(SaveCsv(Tape(100), file).status, SaveResult::Status::kSaved);
  EXPECT_EQ(ReadBytes(file), Export(Tape(100), TapeFormat::kCsv));
}

TEST(TapeExportSave, ACancelledSaveLeavesTheOldFileAndNoTemporaryFile) {
  TempFolder folder;
  const std::string file = folder.File("cinta.txt");
  WriteBytes(file, "old");
  const TapeLines lines = Tape(1000);
  SaveProgress progress;
  progress.cancel = true;
  const SaveResult result = TapeExport(TapeFormat::kText, kSpain).Save(lines, file, progress);
  EXPECT_EQ(result.status, SaveResult::Status::kCancelled);
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"cinta.txt"});
}

TEST(TapeSaveJob, RunsOnItsOwnThreadAndCanBeCancelledOnTheWay) {
  TempFolder folder;
  const std::string file = folder.File("cinta.csv");
  WriteBytes(file, "old");
  const TapeLines lines = Tape(60000);
  const TapeExport csv(TapeFormat::kCsv, kSpain);
  {
    // Cancelled once it has written something: it stops at its next piece.
    TapeSaveJob job([&](SaveProgress& progress) { return csv.Save(lines, file, progress); });
    while (job.LinesDone() == 0 && !job.Finished()) std::this_thread::yield();
    job.Cancel();
    while (!job.Finished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (job.Result().status == SaveResult::Status::kCancelled) {
      EXPECT_EQ(ReadBytes(file), "old");
    } else {
      // The last piece was already on its way: then the file is whole.
      EXPECT_EQ(job.Result().status, SaveResult::Status::kSaved);
      EXPECT_EQ(ReadBytes(file), Export(lines, TapeFormat::kCsv));
    }
    EXPECT_EQ(Names(folder.path()), std::vector<std::string>{"cinta.csv"});
  }
  {
    // Not cancelled: the destructor waits for the whole file.
    TapeSaveJob job([&](SaveProgress& progress) { return csv.Save(lines, file, progress); });
  }
  EXPECT_EQ(ReadBytes(file), Export(lines, TapeFormat::kCsv));
  {
    TapeSaveJob job([](SaveProgress&) -> SaveResult { throw std::bad_alloc(); });
    while (!job.Finished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(job.Result().status, SaveResult::Status::kFailed);
    EXPECT_EQ(job.Result().error, ENOMEM);
  }
}

}  // namespace
}  // namespace dravello
