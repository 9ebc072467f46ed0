// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace dravello {

namespace {

constexpr const char* kPrevious = "anterior.diario";
constexpr const char* kSuffix = ".diario";
constexpr const char* kRunning = "sesion-";
constexpr const char* kTaking = "recuperando-";  // a previous session being taken over
constexpr const char* kAside = "ilegible-";
constexpr const char* kTemporary = ".nuevo-";
// Far above any session: a million commands take a few megabytes.
constexpr off_t kMaxJournal = off_t{256} << 20;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    ::closedir(dir);
  }
  return names;
}

// Opens and locks `path` when no other program holds it; -1 otherwise.
int OpenIfFree(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string JournalStore::DefaultFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string base;
  if (state != nullptr && state[0] == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      const passwd* user = ::getpwuid(::getuid());
      home = user != nullptr ? user->pw_dir : "/";
    }
    base = std::string(home) + "/.local/state";
  }
  return base + "/CalculadoraDravello";
}

JournalStore::JournalStore(std::string folder) : folder_(std::move(folder)) {}

JournalStore::~JournalStore() {
  if (fd_ >= 0) ::close(fd_);
}

bool JournalStore::MakeFolder() {
  // Each missing folder on the way is made private, as the XDG folders are.
  for (std::size_t slash = 1; slash != std::string::npos; slash = folder_.find('/', slash + 1)) {
    const std::string part = folder_.substr(0, slash);
    if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      error_ = errno;
      return false;
    }
  }
  if (::mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST) {
    error_ = errno;
    return false;
  }
  struct stat st {};
  if (::stat(folder_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    error_ = errno != 0 ? errno : ENOTDIR;
    return false;
  }
  if (st.st_uid == ::getuid() && (st.st_mode & 0777) != 0700) ::chmod(folder_.c_str(), 0700);
  return true;
}

std::string JournalStore::Unique(const std::string& prefix) const {
  static unsigned attempt = 0;
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
  return folder_ + "/" + prefix + std::to_string(seconds) + "-" + std::to_string(::getpid()) + "-" +
         std::to_string(attempt++) + kSuffix;
}

int JournalStore::CreateLocked(const std::string& prefix, std::string& path) {
  for (int tries = 0; tries < 100; ++tries) {
    path = Unique(prefix);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) break;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    ::close(fd);
    break;
  }
  error_ = errno;
  return -1;
}

bool JournalStore::WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool JournalStore::Rewrite(std::string_view text) {
  error_ = 0;
  if (!MakeFolder()) return false;
  // The new text goes to a file of its own, locked before it takes the journal's name: the
  // journal is whole, old or new, at every moment, and never seen unlocked.
  std::string temporary;
  const int fd = CreateLocked(kTemporary, temporary);
  if (fd < 0) return false;
  if (!WriteAll(fd, text) || ::fdatasync(fd) != 0) {
    error_ = errno;
    ::unlink(temporary.c_str());
    ::close(fd);
    return false;
  }
  const std::string path = path_.empty() ? Unique(kRunning) : path_;
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error_ = errno;
    ::unlink(temporary.c_str());
    ::close(fd);
    return false;
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  path_ = path;
  return true;
}

bool JournalStore::Append(std::uint64_t keep, std::string_view bytes) {
  error_ = 0;
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
    error_ = fd_ < 0 ? EBADF : errno;
    return false;
  }
  // Undone commands are cut off first.
  if (static_cast<std::uint64_t>(st.st_size) != keep &&
      ::ftruncate(fd_, static_cast<off_t>(keep)) != 0) {
    error_ = errno;
    return false;
  }
  if (::lseek(fd_, static_cast<off_t>(keep), SEEK_SET) < 0 || !WriteAll(fd_, bytes)) {
    error_ = errno;
    // What part of the bytes went is cut again, so that a record is never left half.
    if (::ftruncate(fd_, static_cast<off_t>(keep)) != 0) {
      // The next write replaces the whole file anyway.
    }
    return false;
  }
  return true;
}

bool JournalStore::Gone() const {
  struct stat st {};
  return fd_ >= 0 && ::fstat(fd_, &st) == 0 && st.st_nlink == 0;
}

void JournalStore::CloseAsPrevious(bool keep) {
  if (fd_ < 0) return;
  if (keep) {
    ::rename(path_.c_str(), (folder_ + "/" + kPrevious).c_str());
  } else {
    ::unlink(path_.c_str());
  }
  ::close(fd_);
  fd_ = -1;
  path_.clear();
}

std::optional<JournalStore::Claimed> JournalStore::Take(const std::string& path) {
  const int fd = OpenIfFree(path);
  if (fd < 0) return std::nullopt;
  Claimed claimed;
  claimed.path = path;
  claimed.fd = fd;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    claimed.error = errno;
  } else if (st.st_size > kMaxJournal) {
    claimed.error = EFBIG;
  } else {
    claimed.text.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < claimed.text.size()) {
      const ssize_t n = ::pread(fd, claimed.text.data() + got, claimed.text.size() - got,
                                static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        claimed.error = errno;
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    claimed.text.resize(got);
  }
  return claimed;
}

std::optional<JournalStore::Claimed> JournalStore::ClaimUnclosed() {
  std::optional<Claimed> newest;
  time_t newest_time = 0;
  for (const std::string& name : Names(folder_)) {
    const std::string path = folder_ + "/" + name;
    if (path == path_) continue;
    // Half-written replacements of programs that are gone.
    if (StartsWith(name, kTemporary)) {
      if (const int fd = OpenIfFree(path); fd >= 0) {
        ::unlink(path.c_str());
        ::close(fd);
      }
      continue;
    }
    if (!EndsWith(name, kSuffix) || !(StartsWith(name, kRunning) || StartsWith(name, kTaking))) {
      continue;
    }
    std::optional<Claimed> claimed = Take(path);
    if (!claimed) continue;  // a running window's
    struct stat st {};
    const time_t time = ::fstat(claimed->fd, &st) == 0 ? st.st_mtime : 0;
    if (!newest || time > newest_time) {
      if (newest) ::close(newest->fd);
      newest = std::move(claimed);
      newest_time = time;
    } else {
      ::close(claimed->fd);
    }
  }
  return newest;
}

bool JournalStore::HasPrevious() const {
  struct stat st {};
  return ::stat((folder_ + "/" + kPrevious).c_str(), &st) == 0;
}

std::optional<JournalStore::Claimed> JournalStore::ClaimPrevious() {
  const std::string taking = Unique(kTaking);
  if (::rename((folder_ + "/" + kPrevious).c_str(), taking.c_str()) != 0) return std::nullopt;
  return Take(taking);
}

std::string JournalStore::Release(Claimed& claimed, Fate fate) {
  std::string where;
  switch (fate) {
    case Fate::kDelete:
      ::unlink(claimed.path.c_str());
      break;
    case Fate::kPrevious:
      where = folder_ + "/" + kPrevious;
      if (::rename(claimed.path.c_str(), where.c_str()) != 0) where = claimed.path;
      break;
    case Fate::kAside:
      where = Unique(kAside);
      if (::rename(claimed.path.c_str(), where.c_str()) != 0) where = claimed.path;
      break;
  }
  if (claimed.fd >= 0) ::close(claimed.fd);
  claimed.fd = -1;
  return where;
}

bool JournalStore::WritePrevious(std::string_view text) {
  error_ = 0;
  if (!MakeFolder()) return false;
  std::string temporary;
  const int fd = CreateLocked(kTemporary, temporary);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text) && ::fdatasync(fd) == 0 &&
                       ::rename(temporary.c_str(), (folder_ + "/" + kPrevious).c_str()) == 0;
  if (!written) {
    error_ = errno;
    ::unlink(temporary.c_str());
  }
  ::close(fd);
  return written;
}

void JournalStore::DeleteAll() {
  for (const std::string& name : Names(folder_)) {
    const bool journal =
        name == kPrevious || StartsWith(name, kTemporary) ||
        (EndsWith(name, kSuffix) &&
         (StartsWith(name, kRunning) || StartsWith(name, kTaking) || StartsWith(name, kAside)));
    if (journal) ::unlink((folder_ + "/" + name).c_str());
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_.clear();
}

}  // namespace dravello
