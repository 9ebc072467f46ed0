// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalStore.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "TestFiles.h"

namespace dravello {
namespace {

using testing::ReadBytes;
using testing::TempFolder;

int Mode(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return static_cast<int>(st.st_mode & 0777);
}

// Two windows at once: each writes its own journal, private to the user; neither takes the
// other's while it runs; a window killed leaves its journal for the next start, whole.
TEST(JournalStore, WindowsKeepTheirOwnJournalsAndAKilledOnesIsFound) {
  TempFolder root;
  const std::string folder = root.File("state/CalculadoraDravello");
  JournalStore first(folder), second(folder);
  ASSERT_TRUE(first.Rewrite("\\i1:x 12+"));
  ASSERT_TRUE(first.Append(9, "3="));
  ASSERT_TRUE(first.Append(9, "4="));  // "3=" taken back (an undo), "4=" instead
  ASSERT_TRUE(second.Rewrite("5*5="));
  EXPECT_NE(first.Path(), second.Path());
  EXPECT_EQ(Mode(root.File("state")), 0700);
  EXPECT_EQ(Mode(folder), 0700);
  EXPECT_EQ(Mode(first.Path()), 0600);
  EXPECT_FALSE(first.ClaimUnclosed());
  EXPECT_FALSE(second.ClaimUnclosed());

  std::optional<JournalStore> killed(std::in_place, folder);
  ASSERT_TRUE(killed->Rewrite("7+7="));
  killed.reset();  // the program ended without a normal close
  std::optional<JournalStore::Claimed> claimed = second.ClaimUnclosed();
  ASSERT_TRUE(claimed);
  EXPECT_EQ(claimed->text, "7+7=");
  EXPECT_FALSE(first.ClaimUnclosed());  // taken: no other window takes it too
  second.Release(*claimed, JournalStore::Fate::kDelete);
  EXPECT_EQ(ReadBytes(first.Path()), "\\i1:x 12+4=");
}

// A normal close leaves the previous session, which one window takes over at a time; a
// damaged journal is set aside; turning the tape off deletes every journal, other windows' too.
TEST(JournalStore, PreviousSessionAsideAndDeleteAll) {
  TempFolder root;
  const std::string folder = root.File("journals");
  {
    JournalStore closing(folder);
    ASSERT_TRUE(closing.Rewrite("1+1="));
    closing.CloseAsPrevious(true);
  }
  JournalStore one(folder), other(folder);
  EXPECT_TRUE(one.HasPrevious());
  std::optional<JournalStore::Claimed> previous = one.ClaimPrevious();
  ASSERT_TRUE(previous);
  EXPECT_EQ(previous->text, "1+1=");
  EXPECT_FALSE(other.ClaimPrevious());
  const std::string aside = one.Release(*previous, JournalStore::Fate::kAside);
  EXPECT_EQ(ReadBytes(aside), "1+1=");
  EXPECT_FALSE(one.HasPrevious());
  ASSERT_TRUE(one.WritePrevious("2+2="));
  EXPECT_TRUE(other.HasPrevious());

  ASSERT_TRUE(other.Rewrite("3+3="));
  one.DeleteAll();
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  EXPECT_TRUE(other.Gone());
  EXPECT_TRUE(one.Rewrite("new"));  // the next write starts a new journal
}

}  // namespace
}  // namespace dravello
