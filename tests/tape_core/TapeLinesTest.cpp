// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeLines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

using dravello::TapeLines;

namespace {

constexpr std::size_t kBlock = TapeLines::kBlockBytes;

// Appends every line and checks the store gives each one back, byte for byte, in order.
void ExpectRoundTrip(const std::vector<std::string>& lines) {
  TapeLines tape;
  std::uint64_t text = 0;
  for (const std::string& line : lines) {
    tape.Append(line);
    text += line.size();
  }
  ASSERT_EQ(tape.Count(), lines.size());
  EXPECT_EQ(tape.TextBytes(), text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(tape.LineSize(i), lines[i].size()) << "line " << i;
    ASSERT_EQ(tape.Line(i), lines[i]) << "line " << i;
  }
}

TEST(TapeLines, StartsEmpty) {
  TapeLines tape;
  EXPECT_TRUE(tape.Empty());
  EXPECT_EQ(tape.Count(), 0u);
  EXPECT_EQ(tape.TextBytes(), 0u);
}

TEST(TapeLines, GivesBackEveryKindOfLineUnchanged) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"one line", {"1,00 + 2,00 = 3,00"}},
      {"empty lines among others", {"", "a", "", "", "b", ""}},
      {"Windows-1252 bytes kept as they are",
       {"\xBD 4,00 = 2,00", "x\xB2 \xB1 1% \x80 \x81", std::string("\xFF\xA0\x7F")}},
      {"a zero byte inside a line", {std::string("a\0b", 3), std::string(1, '\0')}},
      {"a line exactly one block long", {std::string(kBlock, 'a'), "after"}},
      {"a line longer than three blocks", {"x", std::string(3 * kBlock + 17, 'q'), "y"}},
      {"lines that end exactly at a block boundary",
       {std::string(kBlock - 1, 'a'), "b", "c", std::string(kBlock, 'd'), "e"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectRoundTrip(c.lines);
  }
}

TEST(TapeLines, KeepsOrderAcrossManyBlocksOfMixedLengths) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> length(0, 300);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<std::string> lines;
  std::size_t total = 0;
  while (total < 5 * kBlock) {
    std::string line(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : line) c = static_cast<char>(byte(random));
    total += line.size();
    lines.push_back(std::move(line));
  }
  ExpectRoundTrip(lines);
}

TEST(TapeLines, AMovedStoreKeepsItsLines) {
  TapeLines first;
  first.Append("uno");
  first.Append(std::string(kBlock + 3, 'z'));
  TapeLines second = std::move(first);
  ASSERT_EQ(second.Count(), 2u);
  EXPECT_EQ(second.Line(0), "uno");
  EXPECT_EQ(second.Line(1), std::string(kBlock + 3, 'z'));
  second.Append("tres");
  EXPECT_EQ(second.Line(2), "tres");
}

TEST(TapeLines, ASnapshotKeepsItsLinesWhileBothStoresGrow) {
  // Lines of every length around the block sizes, so that the snapshot falls inside a text
  // block and an offset block, and the stores then outgrow them.
  TapeLines tape;
  std::vector<std::string> lines;
  for (std::size_t n = 0; n < TapeLines::kStartsPerBlock + 5; ++n) {
    lines.push_back(std::string(n % 97, static_cast<char>('a' + n % 26)));
    tape.Append(lines.back());
  }
  const std::size_t taken = lines.size();
  TapeLines snapshot = tape.Snapshot();
  for (std::size_t n = 0; n < 2 * TapeLines::kStartsPerBlock; ++n) {
    tape.Append("tape " + std::to_string(n));
    snapshot.Append("copy " + std::to_string(n));
  }
  tape.Append(std::string(kBlock + 10, 't'));
  snapshot.Append(std::string(kBlock + 10, 'c'));

  for (std::size_t i = 0; i < taken; ++i) {
    ASSERT_EQ(tape.Line(i), lines[i]) << "line " << i;
    ASSERT_EQ(snapshot.Line(i), lines[i]) << "line " << i;
  }
  EXPECT_EQ(tape.Line(taken + 3), "tape 3");
  EXPECT_EQ(snapshot.Line(taken + 3), "copy 3");
  EXPECT_EQ(tape.Line(tape.Count() - 1), std::string(kBlock + 10, 't'));
  EXPECT_EQ(snapshot.Line(snapshot.Count() - 1), std::string(kBlock + 10, 'c'));
}

TEST(TapeLines, ASnapshotCanBeReadOnAnotherThreadWhileTheStoreTakesLines) {
  TapeLines tape;
  for (int n = 0; n < 50000; ++n) tape.Append("1.234,50 + " + std::to_string(n) + " = x");
  const TapeLines snapshot = tape.Snapshot();
  std::uint64_t read_bytes = 0;
  std::thread reader([&] {
    for (std::size_t i = 0; i < snapshot.Count(); ++i) read_bytes += snapshot.Line(i).size();
  });
  for (int n = 0; n < 50000; ++n) tape.Append("2,00 * " + std::to_string(n) + " = y");
  reader.join();
  EXPECT_EQ(read_bytes, snapshot.TextBytes());
  EXPECT_EQ(tape.Count(), 100000u);
}

TEST(TapeLines, KnowsTheCurrencyOfEachLine) {
  TapeLines tape;
  tape.Append("before any currency");
  tape.SetCurrency("Pts");
  tape.Append("a");
  tape.Append("b");
  tape.SetCurrency("Eur");
  tape.SetCurrency("Pts");  // switched back before any line: no change
  tape.Append("c");
  tape.SetCurrency("\x80");
  tape.Append("d");
  tape.SetCurrency("Eur");
  tape.Append("e");
  const TapeLines snapshot = tape.Snapshot();
  tape.SetCurrency("");
  tape.Append("f");

  const std::vector<std::string> expected = {"", "Pts", "Pts", "Pts", "\x80", "Eur", ""};
  ASSERT_EQ(tape.Count(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(tape.CurrencyOf(i), expected[i]) << "line " << i;
    if (i < snapshot.Count()) {
      EXPECT_EQ(snapshot.CurrencyOf(i), expected[i]) << "line " << i;
    }
  }
}

// Undo and correction take lines back and write others in their place, "Borrar la cinta" hides
// them: a copy taken before (a save, a replay) keeps what it had, and the marks go with their
// lines.
TEST(TapeLines, TakingLinesBackOrHidingThemLeavesACopyAsItWas) {
  const auto line = [](std::size_t i) {
    return std::string(i % 7 == 0 ? kBlock / 3 : 20, 'a' + i % 26);
  };
  for (const std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{9}, std::size_t{20}}) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    TapeLines tape;
    for (std::size_t i = 0; i < 21; ++i) tape.Append(line(i));
    tape.SetCorrected(3, true);
    tape.SetCorrected(15, true);
    const TapeLines copy = tape.Snapshot();
    tape.Truncate(cut);
    ASSERT_EQ(tape.Written(), cut);
    EXPECT_EQ(tape.AnyCorrected(), cut > 3);
    for (std::size_t i = cut; i < 30; ++i) tape.Append("new " + std::to_string(i));
    EXPECT_EQ(tape.Corrected(15), cut > 15);
    tape.Hide(cut);
    ASSERT_EQ(tape.Count(), 30 - cut);
    EXPECT_EQ(tape.Line(0), "new " + std::to_string(cut));
    EXPECT_EQ(tape.WrittenLine(0), cut > 0 ? line(0) : "new 0");
    for (std::size_t i = 0; i < 21; ++i) ASSERT_EQ(copy.Line(i), line(i)) << "line " << i;
    EXPECT_TRUE(copy.Corrected(3) && copy.Corrected(15) && !copy.Corrected(4));
  }
}

}  // namespace
