// SPDX-License-Identifier: GPL-3.0-or-later
// Undo, redo, correction and removal checked against dravello-replay: a session changed by them
// must be exactly the session typed that way from the start.
#include "Session.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "SessionHarness.h"

namespace dravello {
namespace {

TTablaMonedas Table(double euro_rate, int euro_decimals) {
  TTablaMonedas table{};
  table[0] = {0, "Pts", 1.0};
  table[1] = {euro_decimals, "Eur", euro_rate};
  table[2] = {2, "Dol", 0.9};
  for (std::size_t n = 3; n < table.size(); ++n) table[n] = {2, "", 1.0};
  return table;
}

// dravello-replay --trace on `journal`: the list and the state after each of its commands.
std::vector<std::string> ReplayTrace(const std::string& journal) {
  // A file of this process's own: CTest runs the tests of this program side by side.
  const std::string path = ::testing::TempDir() + "journal-" + std::to_string(::getpid()) + ".txt";
  std::ofstream(path, std::ios::binary) << journal;
  const std::string command = std::string(DRAVELLO_REPLAY) + " --trace < '" + path + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0);
  std::vector<std::string> states, list;
  std::string block;
  std::size_t from = 0;
  for (std::size_t to; (to = output.find('\n', from)) != std::string::npos; from = to + 1) {
    const std::string line = output.substr(from, to + 1 - from);
    if (line.starts_with("list")) {
      list.push_back(line);
    } else if (line == "clear:\n") {
      list.clear();
    } else if (!line.starts_with("box:")) {
      block += line;
      if (line == "end\n") {
        std::string state;
        for (const std::string& l : list) state += l;
        states.push_back(state + block);
        block.clear();
      }
    }
  }
  return states;
}

JournalEntry RandomCommand(std::mt19937& rng) {
  static const std::string kCommands = std::string("*/") + kHalfKey + "+-SXRABCOPQ%$TUV=\bLE";
  static const char* const kPastes[] = {"12,5", "-3", "1.234,56", "7e2", "abc", " 42 "};
  const unsigned kind = rng() % 100;
  if (kind < 50) return JournalEntry::Key(static_cast<char>('0' + rng() % 10));
  if (kind < 54) return JournalEntry::Key(rng() % 2 ? ',' : '.');
  if (kind < 86) return JournalEntry::Key(kCommands[rng() % kCommands.size()]);
  if (kind < 90) return JournalEntry::Paste(kPastes[rng() % std::size(kPastes)]);
  if (kind < 95) return JournalEntry::Click(static_cast<int>(rng() % 3));
  if (kind < 97) return JournalEntry::Copy();
  if (kind < 98) return JournalEntry::ClearTape();
  return JournalEntry::Table(Table(100.0 + rng() % 100, static_cast<int>(rng() % 4)));
}

// After undoing the last k steps the state is that of the session without its last k commands;
// redoing them gives the state of the whole session back; a new command after some undos gives
// the session with that command in place of the undone ones.
TEST(Session, UndoAndRedoGiveTheStateOfTheShorterAndTheWholeSession) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    SessionHarness h(Table(166.386, 2));
    EXPECT_FALSE(h.session().CanUndo());
    const std::string start = h.Transcript();
    for (int i = 0; i < 120; ++i) h.Run(RandomCommand(rng));
    std::vector<std::string> expected = ReplayTrace(h.JournalText());
    const std::size_t n = h.session().Entries().size();
    ASSERT_EQ(expected.size(), n + 1);  // after each command, and once more at the end
    expected.insert(expected.begin(), start);
    expected.pop_back();
    ASSERT_EQ(h.Transcript(), expected[n]);

    std::size_t undone = 0;
    while (h.session().CanUndo()) {
      ASSERT_TRUE(h.Apply(h.session().Undo()));
      ++undone;
      ASSERT_EQ(h.Transcript(), expected[n - undone]) << "after " << undone << " undos";
    }
    // Only a change of the currency table stops undo before the start.
    if (undone < n) {
      EXPECT_EQ(h.session().Entries().back().kind, CommandKind::kTable);
    }
    for (std::size_t redone = 1; redone <= undone; ++redone) {
      ASSERT_TRUE(h.Apply(h.session().Redo()));
      ASSERT_EQ(h.Transcript(), expected[n - undone + redone]) << "after " << redone << " redos";
    }
    EXPECT_FALSE(h.session().CanRedo());

    const std::size_t back = std::min<std::size_t>(undone, 1 + rng() % 5);
    for (std::size_t i = 0; i < back; ++i) h.Apply(h.session().Undo());
    const std::size_t before = h.session().Entries().size();
    while (h.session().Entries().size() == before) h.Run(RandomCommand(rng));
    EXPECT_FALSE(h.session().CanRedo());
    ASSERT_EQ(h.Transcript(), ReplayTrace(h.JournalText()).back());
  }
}

// A line's amounts replaced: the list and the state are those of the session typed with the new
// amounts from the start (its changed lines marked), the line now shows the new amounts, and
// undo gives back the session as it was.
TEST(Session, CorrectionIsTheSessionTypedWithTheNewAmount) {
  int corrected = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    SessionHarness h(Table(166.386, 2));
    for (int i = 0; i < 80; ++i) h.Run(RandomCommand(rng));
    // A random line with amounts that were typed or pasted.
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < h.tape().Count(); ++row) {
      if (!h.session().DescribeLine(row).amounts.empty()) rows.push_back(row);
    }
    if (rows.empty()) continue;
    const std::size_t row = rows[rng() % rows.size()];
    const std::string before = h.Transcript();
    const std::string line = h.tape().Line(row);
    std::vector<std::string> texts;
    std::vector<Currency> values;
    // The new amounts keep the old signs, so that no sign change comes or goes (and the line
    // keeps its place in the list).
    for (const Currency old : h.session().DescribeLine(row).amounts) {
      const std::int64_t count =
          static_cast<std::int64_t>(1 + rng() % 100000000) * (old.count < 0 ? -1 : 1);
      values.push_back(Currency{count});
      texts.push_back(FormatExact(Currency{count}, ','));
    }
    std::string error;
    std::unique_ptr<ReplayRun> run = h.session().Correct(row, texts, error);
    EXPECT_TRUE(error.empty()) << error;
    if (!h.Apply(std::move(run))) continue;  // the same amounts, or a new failure
    ++corrected;
    ASSERT_EQ(h.Transcript(), ReplayTrace(h.JournalText()).back());
    EXPECT_EQ(h.session().DescribeLine(row).amounts, values);
    EXPECT_TRUE(h.tape().Corrected(row) || h.tape().Line(row) == line);
    ASSERT_TRUE(h.Apply(h.session().Undo()));
    ASSERT_EQ(h.Transcript(), before);
  }
  EXPECT_GT(corrected, 20);
}

TEST(Session, RemovalIsTheSessionTypedWithoutTheOperation) {
  SessionHarness h(Table(166.386, 2));
  for (char key : std::string("12+21,5+7,25=")) h.Run(JournalEntry::Key(key));
  ASSERT_TRUE(h.Apply(h.session().Remove(1)));  // "33,50 + 7,25 = 40,75"
  SessionHarness typed(Table(166.386, 2));
  for (char key : std::string("12+21,5=")) typed.Run(JournalEntry::Key(key));
  EXPECT_EQ(h.Transcript(), typed.Transcript());

  // Random sessions: the same as a fresh replay of what is left.
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    SessionHarness r(Table(166.386, 2));
    for (int i = 0; i < 80; ++i) r.Run(RandomCommand(rng));
    for (std::size_t row = 0; row < r.tape().Count(); ++row) {
      if (!r.session().DescribeLine(row).removable) continue;
      if (r.Apply(r.session().Remove(row))) {
        ASSERT_EQ(r.Transcript(), ReplayTrace(r.JournalText()).back()) << "seed " << seed;
      }
      break;
    }
  }
}

// Whatever the steps (commands, undos, redos, corrections) and whenever the disk is written, the
// file that the disk work makes is the journal's text.
TEST(Session, TheDiskWorkKeepsTheFileTheJournalsText) {
  std::mt19937 rng(7);
  SessionHarness h(Table(166.386, 2));
  std::string file;
  for (int step = 0; step < 600; ++step) {
    const unsigned what = rng() % 10;
    if (what < 6) {
      h.Run(RandomCommand(rng));
    } else if (what < 8) {
      h.Apply(h.session().Undo());
    } else if (what < 9) {
      h.Apply(h.session().Redo());
    } else if (h.tape().Count() > 0) {
      std::string error;
      h.Apply(h.session().Correct(rng() % h.tape().Count(), {"7", "8"}, error));
      h.Apply(h.session().Correct(rng() % h.tape().Count(), {"9"}, error));
    }
    if (rng() % 3 == 0 && h.session().DiskBehind()) {
      const Session::DiskWork work = h.session().TakeDiskWork();
      if (!work.rewrite) file.resize(work.keep);
      file = (work.rewrite ? "" : file) + work.bytes;
      ASSERT_EQ(file, h.JournalText()) << "step " << step;
    }
  }
  EXPECT_GT(h.session().Entries().size(), 100u);
}

TEST(Session, CorrectionThatWouldFailChangesNothing) {
  SessionHarness h(Table(166.386, 2));
  for (char key : std::string("10/4=")) h.Run(JournalEntry::Key(key));
  const std::string before = h.Transcript();
  std::string error;
  std::unique_ptr<ReplayRun> run = h.session().Correct(0, {"10", "0"}, error);
  ASSERT_TRUE(run);
  run->Run();
  EXPECT_TRUE(run->Out().refused);
  EXPECT_EQ(run->Out().refusal, " No se puede Dividir por Cero ");
  h.session().Drop();
  EXPECT_EQ(h.Transcript(), before);

  for (const char* bad : {"", "1,2,3", "12a", "1234567890123456"}) {
    EXPECT_FALSE(h.session().Correct(0, {"10", bad}, error));
    EXPECT_FALSE(error.empty()) << bad;
  }
}

}  // namespace
}  // namespace dravello
