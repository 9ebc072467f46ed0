// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include "AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace dravello {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  FileRead result;
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    result.status = (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::kMissing
                                                          : FileReadStatus::kUnreadable;
    return result;
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    result.status = FileReadStatus::kUnreadable;
    return result;
  }
  if (static_cast<std::uintmax_t>(st.st_size) > max_bytes) {
    result.status = FileReadStatus::kUnreadable;
    return result;
  }
  std::string bytes;
  if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.status = FileReadStatus::kUnreadable;
      return result;
    }
    if (n == 0) break;
    if (static_cast<std::size_t>(n) > max_bytes - bytes.size()) {
      result.status = FileReadStatus::kUnreadable;
      return result;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  result.status = FileReadStatus::kOk;
  result.bytes = std::move(bytes);
  return result;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
  AtomicFileWriter file;
  return file.Open(path) && file.Write(bytes) && file.Commit();
}

}  // namespace dravello
