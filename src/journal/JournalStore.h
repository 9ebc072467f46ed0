// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dravello {

// The journals on disk, all in one folder of the user's (mode 0700, files 0600):
//   sesion-TIME-PID.diario      the journal of a running session, locked by its program
//   anterior.diario             the previous session (one only)
//   ilegible-TIME-PID.diario    a journal that could not be read, kept aside for the user
// A session journal that no running program locks is one whose program ended without a normal
// close (a crash, a kill, a power cut). Several windows of the program each have their own
// journal; whatever one of them takes over (an unclosed session, the previous one) it first
// locks or renames, so that no other takes it too.
class JournalStore {
 public:
  // $XDG_STATE_HOME/CalculadoraDravello, with ~/.local/state when the variable is unset, empty
  // or not an absolute path.
  static std::string DefaultFolder();

  explicit JournalStore(std::string folder);
  // Closes this session's journal, leaving it as an unclosed session (see CloseAsPrevious).
  ~JournalStore();
  JournalStore(const JournalStore&) = delete;
  JournalStore& operator=(const JournalStore&) = delete;

  const std::string& Folder() const { return folder_; }
  // This session's journal (empty before the first write).
  const std::string& Path() const { return path_; }

  // This session's journal replaced by `text` in one step (the folder and the file are made at
  // the first write), or cut to `keep` bytes with `bytes` appended. False, with the errno in
  // Error(), when it fails; the file is then as it was or at most longer by a part of `bytes`
  // that the next Rewrite replaces.
  bool Rewrite(std::string_view text);
  bool Append(std::uint64_t keep, std::string_view bytes);
  int Error() const { return error_; }
  // This session's journal was deleted by someone else (another window that stopped keeping
  // the tape on disk).
  bool Gone() const;

  // A normal close: this session's journal becomes the previous session, or goes when
  // `keep` is false.
  void CloseAsPrevious(bool keep);

  // Another session's journal, taken for this one and locked until Release.
  struct Claimed {
    std::string path;
    int fd = -1;
    std::string text;  // its bytes
    int error = 0;     // when it could not be read: the errno (EFBIG when too large)
  };
  // The newest journal of a session that ended without a normal close.
  std::optional<Claimed> ClaimUnclosed();
  // The previous session, moved aside first so that another window cannot take it too.
  std::optional<Claimed> ClaimPrevious();
  bool HasPrevious() const;
  enum class Fate { kDelete, kPrevious, kAside };
  // What becomes of a claimed journal; returns where it is then (empty when deleted).
  std::string Release(Claimed& claimed, Fate fate);
  // `text` as the previous session, replacing it.
  bool WritePrevious(std::string_view text);

  // Deletes every journal of the folder, this session's included; the next write starts a new
  // one.
  void DeleteAll();

 private:
  bool MakeFolder();
  // A new file of the folder named `prefix` + a unique ending, open for writing and locked.
  int CreateLocked(const std::string& prefix, std::string& path);
  std::string Unique(const std::string& prefix) const;
  static bool WriteAll(int fd, std::string_view bytes);
  std::optional<Claimed> Take(const std::string& path);

  std::string folder_;
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace dravello
