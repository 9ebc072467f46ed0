// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace dravello {

// Whole-file reading and replacing for small settings files.

enum class FileReadStatus {
  kOk,          // `bytes` holds the whole file
  kMissing,     // there is no file at the path
  kUnreadable,  // something is there but cannot be read as a regular file
};

struct FileRead {
  FileReadStatus status = FileReadStatus::kMissing;
  std::string bytes;
};

// Reads the regular file at `path` whole. Never blocks on a pipe or a device: anything but a
// regular file is kUnreadable. So is a file of more than `max_bytes` bytes, told by its size
// before anything is read (and by what is read, should it grow meanwhile), so that a huge file
// costs neither memory nor time.
FileRead ReadWholeFile(const std::string& path, std::size_t max_bytes);

// Replaces the file at `path` by `bytes` in one step: a temporary file in the same folder is
// written, flushed to disk and renamed over the old one, so a reader sees either the old file or
// the new one, never a part. A symbolic link stays a link and its target is replaced; an existing
// file keeps its permissions. A file that exists but may not be written (read-only) is refused.
// Returns false, with the file and its folder as they were, when anything fails.
//
// The temporary file is named ".NAME.tmpPID.N" after the file, the process and an attempt. A
// process killed while it saved leaves its temporary file behind; the next replacement of the
// same file removes such files of processes that no longer run (never one of a running process,
// another user's included).
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);

}  // namespace dravello
