// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalText.h"

#include <gtest/gtest.h>

namespace dravello {
namespace {

TTablaMonedas SomeTable() {
  TTablaMonedas table{};
  table[0] = {0, "Pts", 1.0};
  table[1] = {2, "\x80uro", 166.386};  // "€uro": a byte that UTF-8 writes in three
  table[2] = {9, "a b:c", 1e-18};      // blanks and a colon inside an abbreviation
  for (std::size_t n = 3; n < table.size(); ++n) table[n] = {2, "", 0.1 + static_cast<double>(n)};
  return table;
}

// Every kind of record, and the text that holds them.
std::vector<JournalEntry> SomeEntries() {
  std::vector<JournalEntry> entries;
  for (char key : std::string("12,5+\b\\S=\xBD")) entries.push_back(JournalEntry::Key(key));
  entries.push_back(JournalEntry::Click(6));
  entries.push_back(JournalEntry::Copy());
  entries.push_back(JournalEntry::Paste("  -1.234,5 \\m1;\xE2\x88\x92"));
  entries.push_back(JournalEntry::Table(SomeTable()));
  entries.push_back(JournalEntry::ClearTape());
  JournalEntry marked = JournalEntry::Key('%');
  marked.marks = 5;
  entries.push_back(marked);
  return entries;
}

std::string TextOf(const JournalStart& start, const std::vector<JournalEntry>& entries) {
  std::string text;
  AppendJournalStart(start, text);
  for (const JournalEntry& entry : entries) AppendJournalEntry(entry, text);
  return text;
}

TEST(JournalText, EveryRecordReadsBackAsWritten) {
  const JournalStart start{{'.', '\xA0'}, SomeTable()};
  const std::vector<JournalEntry> entries = SomeEntries();
  JournalRead read;
  std::string error;
  ASSERT_TRUE(ReadJournalText(TextOf(start, entries), JournalTextMode::kStrict, read, error))
      << error;
  ASSERT_TRUE(read.start);
  EXPECT_EQ(read.start->separators.decimal, '.');
  EXPECT_EQ(read.start->separators.thousands, '\xA0');
  EXPECT_TRUE(SameTable(read.start->table, start.table));
  ASSERT_EQ(read.entries.size(), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_TRUE(read.entries[i].SameCommand(entries[i])) << "entry " << i;
  }
}

// A write cut short at any byte (a crash, a full disk) loses the record it cut and nothing
// before it, and the text's whole records end where the reader says.
TEST(JournalText, TextCutAtAnyByteKeepsEveryWholeRecord) {
  const JournalStart start{{',', '.'}, SomeTable()};
  const std::vector<JournalEntry> entries = SomeEntries();
  std::vector<std::size_t> ends;  // where each record's text ends
  std::string text;
  AppendJournalStart(start, text);
  const std::size_t start_end = text.size();
  for (const JournalEntry& entry : entries) {
    AppendJournalEntry(entry, text);
    ends.push_back(text.size() - (text.back() == '\n' ? 1 : 0));  // the line end is a blank
  }
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    for (const bool zeros : {false, true}) {
      // After a power cut the end of a file may read as zeros instead.
      std::string damaged = text.substr(0, cut);
      if (zeros) damaged.append(text.size() - cut, '\0');
      JournalRead read;
      std::string error;
      ASSERT_TRUE(ReadJournalText(damaged, JournalTextMode::kTornEnd, read, error))
          << "cut at " << cut << ": " << error;
      std::size_t whole = 0;
      while (whole < ends.size() && ends[whole] <= cut) ++whole;
      // A blank after a record may or may not be there; what counts is whole records.
      ASSERT_EQ(read.entries.size(), cut < start_end ? 0 : whole) << "cut at " << cut;
      ASSERT_EQ(read.start.has_value(), cut >= start_end - 1) << "cut at " << cut;
      for (std::size_t i = 0; i < read.entries.size(); ++i) {
        ASSERT_TRUE(read.entries[i].SameCommand(entries[i])) << "cut at " << cut << ", " << i;
      }
      ASSERT_LE(read.whole_bytes, cut);
    }
  }
}

TEST(JournalText, DamageInsideIsBadInputNotATornEnd) {
  const std::string cases[] = {
      "12\\q3",          // an escape that does not exist
      "1\\m1;\\m2;+",    // two marks for one command
      "5\\i3:1 1",       // a start record after a command
      "\\t9:not table",  // a table that is not one
      "1\xFF"
      "2",  // not UTF-8
      std::string("12\0"
                  "34",
                  5),  // zeros in the middle are no torn end
  };
  for (const std::string& text : cases) {
    JournalRead read;
    std::string error;
    EXPECT_FALSE(ReadJournalText(text, JournalTextMode::kTornEnd, read, error)) << text;
    EXPECT_NE(error.find("at byte"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace dravello
