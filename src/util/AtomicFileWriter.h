// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace dravello {

// Error() of a save refused because the path is a symbolic link (or a chain of them) that lies
// in a shared folder, sticky and writable by all as /tmp is, and belongs neither to the user nor
// to the folder's owner: another user may have planted it there to make the save replace a file
// it points to. The kernel's protected_symlinks rule, kept whatever the system's setting. Not an
// errno; SystemErrorText says it in words.
inline constexpr int kForeignLinkError = -1;

// Replaces a file in one step, written piece by piece: the bytes go to a temporary file in the
// same folder, which Commit() flushes to disk and renames over the file, so a reader sees
// either the old file or the new one, never a part. A symbolic link stays a link and its
// target is replaced (not one in a shared folder that another user owns: kForeignLinkError); an
// existing file keeps its permissions (and its owner and group as far
// as the system allows). Until Commit() succeeds nothing at the path changes, and a writer
// that is abandoned, failed or destroyed removes its temporary file.
//
// Every call returns false once anything has failed; Error() then gives the errno of the
// failure, for a message that says why.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file for `path` (".NAME.tmpPID.N"), first removing those that
  // processes which no longer run left beside the file when they were killed. Refused (EACCES) when
  // the file exists but may not be written, and (EISDIR, EINVAL) when it is a folder or not a
  // regular file.
  bool Open(const std::string& path);
  bool Write(std::string_view bytes);
  // Flushes the temporary file to disk and renames it over the file.
  bool Commit();
  // Removes the temporary file; the file at the path stays as it was.
  void Abandon();

  // The temporary file, for writers that open it by name (the printing system's PDF output);
  // they write through their own descriptor, and Commit() flushes their bytes as well.
  const std::string& TempPath() const { return temp_; }
  // The file that Commit() replaces: the path, or where its links lead.
  const std::string& Target() const { return target_; }
  int Error() const { return error_; }

 private:
  bool Fail(int error);

  int fd_ = -1;
  int error_ = 0;
  bool committed_ = false;
  bool exists_ = false;  // the target existed when opened
  unsigned owner_ = 0, group_ = 0, mode_ = 0;
  std::string target_;
  std::string temp_;
};

}  // namespace dravello
