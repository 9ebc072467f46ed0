// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"

namespace dravello {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

int FilesIn(const fs::path& folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(ReadWholeFile, TellsMissingFromUnreadable) {
  TempFolder folder;
  const std::string file = folder.File("a.INI");
  const std::string bytes = std::string("x\0y\r\n", 5) + std::string(200000, '\xFF');
  WriteBytes(file, bytes);
  const std::string fifo = folder.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

  const struct {
    const char* what;
    std::string path;
    FileReadStatus status;
  } cases[] = {
      {"regular file", file, FileReadStatus::kOk},
      {"missing file", folder.File("none.INI"), FileReadStatus::kMissing},
      {"missing folder", folder.File("none/a.INI"), FileReadStatus::kMissing},
      {"a file as folder", file + "/a.INI", FileReadStatus::kMissing},
      {"empty path", "", FileReadStatus::kMissing},
      {"a folder", folder.path().string(), FileReadStatus::kUnreadable},
      {"a pipe (must not block)", fifo, FileReadStatus::kUnreadable},
      {"a device", "/dev/zero", FileReadStatus::kUnreadable},
  };
  for (const auto& c : cases) {
    const FileRead read = ReadWholeFile(c.path, 1 << 20);
    EXPECT_EQ(read.status, c.status) << c.what;
    if (c.status == FileReadStatus::kOk) {
      EXPECT_EQ(read.bytes, bytes) << c.what;
    }
  }

  ::chmod(file.c_str(), 0);
  EXPECT_TRUE(testing::AsOrdinaryUser(
      [&] { return ReadWholeFile(file, 1 << 20).status == FileReadStatus::kUnreadable; }));
}

TEST(ReadWholeFile, AFileAboveTheSizeLimitIsUnreadable) {
  TempFolder folder;
  const std::string file = folder.File("a.INI");
  const struct {
    const char* what;
    std::size_t size;
    std::size_t limit;
    FileReadStatus status;
  } cases[] = {
      {"empty", 0, 0, FileReadStatus::kOk},
      {"at the limit", 70000, 70000, FileReadStatus::kOk},
      {"one byte more", 70001, 70000, FileReadStatus::kUnreadable},
      {"one byte more than an empty file may have", 1, 0, FileReadStatus::kUnreadable},
      // Sparse: told by its size alone, at once and without the memory.
      {"a gigabyte", std::size_t{1} << 30, 16 << 20, FileReadStatus::kUnreadable},
  };
  for (const auto& c : cases) {
    WriteBytes(file, "");
    ASSERT_EQ(::truncate(file.c_str(), static_cast<off_t>(c.size)), 0);
    const FileRead read = ReadWholeFile(file, c.limit);
    EXPECT_EQ(read.status, c.status) << c.what;
    EXPECT_EQ(read.bytes.size(), c.status == FileReadStatus::kOk ? c.size : 0) << c.what;
  }
}

TEST(ReplaceWholeFile, CreatesAndReplacesLeavingNoTemporaryFile) {
  TempFolder folder;
  const std::string file = folder.File("a.INI");
  ASSERT_TRUE(ReplaceWholeFile(file, "one"));
  EXPECT_EQ(ReadBytes(file), "one");
  ASSERT_TRUE(ReplaceWholeFile(file, ""));
  EXPECT_EQ(ReadBytes(file), "");
  ASSERT_TRUE(ReplaceWholeFile(file, std::string(3 << 20, 'z')));
  EXPECT_EQ(fs::file_size(file), 3u << 20);
  EXPECT_EQ(FilesIn(folder.path()), 1);
}

TEST(ReplaceWholeFile, KeepsPermissions) {
  TempFolder folder;
  const std::string file = folder.File("a.INI");
  WriteBytes(file, "old");
  ::chmod(file.c_str(), 0604);
  ASSERT_TRUE(ReplaceWholeFile(file, "new"));
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
}

TEST(ReplaceWholeFile, ALinkStaysALinkAndItsTargetIsReplaced) {
  TempFolder folder;
  fs::create_directory(folder.path() / "real");
  const std::string target = folder.File("real/calcu.INI");
  WriteBytes(target, "old");
  const struct {
    const char* what;
    std::string link_text;  // relative links resolve from the link's folder
  } cases[] = {{"absolute link", target}, {"relative link", "real/calcu.INI"}};
  for (const auto& c : cases) {
    const std::string link = folder.File("link.INI");
    fs::remove(link);
    fs::create_symlink(c.link_text, link);
    ASSERT_TRUE(ReplaceWholeFile(link, c.what)) << c.what;
    EXPECT_TRUE(fs::is_symlink(link)) << c.what;
    EXPECT_EQ(ReadBytes(target), c.what);
  }
  // A chain of links, and a link whose target does not exist yet.
  fs::create_symlink("link.INI", folder.path() / "chain.INI");
  ASSERT_TRUE(ReplaceWholeFile(folder.File("chain.INI"), "chained"));
  EXPECT_EQ(ReadBytes(target), "chained");
  fs::create_symlink("real/new.INI", folder.path() / "dangling.INI");
  ASSERT_TRUE(ReplaceWholeFile(folder.File("dangling.INI"), "created"));
  EXPECT_TRUE(fs::is_symlink(folder.path() / "dangling.INI"));
  EXPECT_EQ(ReadBytes(folder.File("real/new.INI")), "created");
}

// A dotfiles layout: each relative link resolves from its own folder, not from the first one's.
TEST(ReplaceWholeFile, AChainOfRelativeLinksAcrossFolders) {
  TempFolder folder;
  const fs::path home = folder.path();
  fs::create_directories(home / ".config/app/store");
  fs::create_directories(home / "dotfiles/store");
  WriteBytes((home / "dotfiles/store/calcu.INI").string(), "old");
  WriteBytes((home / ".config/app/store/calcu.INI").string(), "decoy");
  fs::create_symlink("../../dotfiles/calcu.INI", home / ".config/app/calcu.INI");
  fs::create_symlink("store/calcu.INI", home / "dotfiles/calcu.INI");
  ASSERT_TRUE(ReplaceWholeFile((home / ".config/app/calcu.INI").string(), "new"));
  EXPECT_EQ(ReadBytes((home / "dotfiles/store/calcu.INI").string()), "new");
  EXPECT_EQ(ReadBytes((home / ".config/app/store/calcu.INI").string()), "decoy");
  EXPECT_TRUE(fs::is_symlink(home / ".config/app/calcu.INI"));
  EXPECT_TRUE(fs::is_symlink(home / "dotfiles/calcu.INI"));
}

TEST(ReplaceWholeFile, FailsWithoutChangingAnything) {
  TempFolder folder;
  const std::string file = folder.File("a.INI");
  WriteBytes(file, "old");
  fs::create_directory(folder.path() / "dir.INI");
  fs::create_symlink("loop.INI", folder.path() / "loop.INI");

  const struct {
    const char* what;
    std::string path;
  } cases[] = {
      {"missing folder", folder.File("none/a.INI")},
      {"a file as folder", file + "/a.INI"},
      {"a folder", folder.File("dir.INI")},
      {"a link loop", folder.File("loop.INI")},
      {"empty path", ""},
  };
  for (const auto& c : cases) EXPECT_FALSE(ReplaceWholeFile(c.path, "new")) << c.what;
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(FilesIn(folder.path()), 3);
}

TEST(ReplaceWholeFile, RespectsWhatTheUserMayNotWrite) {
  TempFolder folder;
  ::chmod(folder.path().c_str(), 0777);
  const std::string read_only = folder.File("read-only.INI");
  WriteBytes(read_only, "old");
  ::chmod(read_only.c_str(), 0444);
  const std::string in_closed = testing::FileInClosedFolder(folder, "closed", "a.INI", "old");

  EXPECT_TRUE(testing::AsOrdinaryUser(
      [&] { return !ReplaceWholeFile(read_only, "new") && !ReplaceWholeFile(in_closed, "new"); }));
  EXPECT_EQ(ReadBytes(read_only), "old");
  EXPECT_EQ(ReadBytes(in_closed), "old");
  EXPECT_EQ(FilesIn(folder.path() / "closed"), 1);
}

TEST(ReplaceWholeFile, RemovesTemporaryFilesOfDeadProcessesOnly) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  // A process that has ended (and been waited for), and one that runs.
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
  const pid_t alive = ::fork();
  if (alive == 0) {
    ::pause();
    ::_exit(0);
  }
  ASSERT_GT(alive, 0);
  const std::string d = std::to_string(dead), a = std::to_string(alive);
  const struct {
    std::string name;
    bool removed;
  } cases[] = {
      {".calcu.INI.tmp" + d + ".0", true},  {".calcu.INI.tmp" + d + ".17", true},
      {".calcu.INI.tmp" + a + ".0", false},  // its process still saves
      {".calcu.INI.tmp1.0", false},          // init runs for ever
      {".other.INI.tmp" + d + ".0", false},  // another file's
      {".calcu.INI.tmp" + d, false},         // not a name this program makes
      {".calcu.INI.tmp" + d + ".x", false}, {".calcu.INI.tmpx" + d + ".0", false},
      {"calcu.INI.tmp" + d + ".0", false},
  };
  for (const auto& c : cases) WriteBytes(folder.File(c.name), "left");
  // A folder of that name is not a temporary file, whatever its name says.
  fs::create_directory(folder.path() / (".calcu.INI.tmp" + d + ".99"));

  ASSERT_TRUE(ReplaceWholeFile(file, "new"));
  ::kill(alive, SIGKILL);
  ::waitpid(alive, nullptr, 0);
  for (const auto& c : cases) {
    EXPECT_EQ(!fs::exists(folder.File(c.name)), c.removed) << c.name;
  }
  EXPECT_TRUE(fs::is_directory(folder.path() / (".calcu.INI.tmp" + d + ".99")));
  EXPECT_EQ(ReadBytes(file), "new");
}

}  // namespace
}  // namespace dravello
