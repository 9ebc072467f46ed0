// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

namespace dravello {

namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether the link `link` (its lstat `st`) may be followed, by the kernel's protected_symlinks
// rule: not when it lies in a sticky folder that all may write, unless it is the user's own or
// the folder owner's.
bool MayFollow(const std::string& link, const struct stat& st) {
  struct stat folder;
  if (::stat(FolderOf(link).c_str(), &folder) != 0) return false;
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return !shared || st.st_uid == ::geteuid() || st.st_uid == folder.st_uid;
}

// Follows symbolic links from `path` to the file that a write through it would change (which
// need not exist yet). Empty, with `error` set, when the chain is too long or cannot be read
// (an errno), or when a link of it may not be followed (kForeignLinkError, see MayFollow).
std::string FinalTarget(const std::string& path, int& error) {
  std::string target = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) {
      if (errno == ENOENT) return target;
      error = errno;
      return std::string();
    }
    if (!S_ISLNK(st.st_mode)) return target;
    if (!MayFollow(target, st)) {
      error = kForeignLinkError;
      return std::string();
    }
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size() || n == 0) {
      error = n < 0 ? errno : EINVAL;
      return std::string();
    }
    link.resize(static_cast<std::size_t>(n));
    target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
  }
  error = ELOOP;
  return std::string();
}

// The process number in the name of a temporary file of `name` (".NAME.tmpPID.N"), or 0 when
// `entry` is not one.
pid_t TemporaryFileOwner(std::string_view entry, std::string_view name) {
  const std::string prefix = "." + std::string(name) + ".tmp";
  if (!entry.starts_with(prefix)) return 0;
  entry.remove_prefix(prefix.size());
  const std::size_t point = entry.find('.');
  if (point == 0 || point == std::string_view::npos || point + 1 == entry.size()) return 0;
  const std::string_view attempt = entry.substr(point + 1);
  if (attempt.find_first_not_of("0123456789") != std::string_view::npos) return 0;
  pid_t pid = 0;
  const std::string_view digits = entry.substr(0, point);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return 0;
  return pid;
}

// Removes the temporary files of `name` in `folder` that processes which no longer run left
// behind. A process that runs, whoever's, answers the null signal or refuses it (EPERM); this
// process's own number may be an earlier holder's, and is left alone too.
void RemoveLeftTemporaryFiles(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t pid = TemporaryFileOwner(entry->d_name, name);
    if (pid == 0 || pid == ::getpid()) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    const std::string path = folder + "/" + entry->d_name;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

}  // namespace

AtomicFileWriter::~AtomicFileWriter() {
  Abandon();
}

bool AtomicFileWriter::Fail(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
  return false;
}

bool AtomicFileWriter::Open(const std::string& path) {
  if (fd_ >= 0 || committed_ || error_ != 0) return Fail(EINVAL);
  if (path.empty()) return Fail(ENOENT);
  int error = 0;
  target_ = FinalTarget(path, error);
  if (target_.empty()) return Fail(error);

  struct stat old;
  exists_ = ::stat(target_.c_str(), &old) == 0;
  if (exists_) {
    if (S_ISDIR(old.st_mode)) return Fail(EISDIR);
    if (!S_ISREG(old.st_mode)) return Fail(EINVAL);
    if (::access(target_.c_str(), W_OK) != 0) return Fail(errno);
    owner_ = old.st_uid;
    group_ = old.st_gid;
    mode_ = old.st_mode & 07777;
  } else if (errno != ENOENT) {
    return Fail(errno);
  }

  RemoveLeftTemporaryFiles(FolderOf(target_), NameOf(target_));
  const std::string stem =
      FolderOf(target_) + "/." + NameOf(target_) + ".tmp" + std::to_string(::getpid());
  // An existing file's permissions are copied at Commit(); a new file gets the usual ones.
  const mode_t create_mode = exists_ ? 0600 : 0666;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    const std::string temp = stem + "." + std::to_string(attempt);
    fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, create_mode);
    if (fd_ >= 0) {
      temp_ = temp;
    } else if (errno != EEXIST) {
      return Fail(errno);
    }
  }
  return fd_ >= 0 || Fail(EEXIST);
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0 || error_ != 0) return Fail(EBADF);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool AtomicFileWriter::Commit() {
  if (fd_ < 0 || error_ != 0) return Fail(EBADF);
  if (exists_) {
    // Owner and group are kept as far as the system lets this user give files away; failing
    // that, the new file is the user's own, as any file the user writes.
    if (::fchown(fd_, owner_, group_) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd_, static_cast<uid_t>(-1), group_);
    }
    if (::fchmod(fd_, mode_) != 0) return Fail(errno);
  }
  // Also the last chance to hear of a write that failed late (a full disk, a network folder).
  if (::fsync(fd_) != 0) return Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Fail(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(errno);
  committed_ = true;
  // Make the rename itself durable; the file is already complete whatever happens here.
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void AtomicFileWriter::Abandon() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace dravello
