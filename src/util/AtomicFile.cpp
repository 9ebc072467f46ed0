#include "AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

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
  // Closes now and reports whether the close (the last chance to see a write error) succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

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

// Follows symbolic links from `path` to the file that a write through it would change (which
// need not exist yet). Empty when the chain is too long or cannot be read.
std::string FinalTarget(const std::string& path) {
  std::string target = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? target : std::string();
    if (!S_ISLNK(st.st_mode)) return target;
    std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
    const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
    if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return std::string();
    link.resize(static_cast<std::size_t>(n));
    if (link.empty()) return std::string();
    target = link.front() == '/' ? link : FolderOf(target) + "/" + link;
  }
  return std::string();
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
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
  if (path.empty()) return false;
  const std::string target = FinalTarget(path);
  if (target.empty()) return false;

  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;
  if (!exists && errno != ENOENT) return false;

  const std::string folder = FolderOf(target);
  RemoveLeftTemporaryFiles(folder, NameOf(target));
  const std::string stem = folder + "/." + NameOf(target) + ".tmp" + std::to_string(::getpid());
  std::string temp;
  int raw = -1;
  // An existing file's permissions are copied below; a new file gets the usual ones (umask).
  const mode_t create_mode = exists ? 0600 : 0666;
  for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
    temp = stem + "." + std::to_string(attempt);
    raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, create_mode);
    if (raw < 0 && errno != EEXIST) return false;
  }
  if (raw < 0) return false;
  Descriptor fd(raw);

  bool ok = WriteAll(fd.get(), bytes);
  if (ok && exists) {
    // Owner and group are kept as far as the system lets this user give files away; failing
    // that, the new file is the user's own, as any file the user writes.
    if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid);
    }
    ok = ::fchmod(fd.get(), old.st_mode & 07777) == 0;
  }
  ok = ok && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; the file is already complete whatever happens here.
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return true;
}

}  // namespace dravello
