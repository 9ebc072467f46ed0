// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace dravello::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "dravello-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
    // Others may enter, so that a test can look at it as an ordinary user.
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all |
                                            std::filesystem::perms::group_exec |
                                            std::filesystem::perms::others_exec);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file holding `bytes` that anyone may write, in a new folder `closed` inside `folder` that
// nobody may write: the file cannot be replaced (nor a file be added beside it) by anyone but
// the superuser. Returns the file's path.
inline std::string FileInClosedFolder(const TempFolder& folder, const std::string& closed,
                                      const std::string& name, const std::string& bytes) {
  const std::filesystem::path dir = folder.path() / closed;
  std::filesystem::create_directory(dir);
  const std::string file = (dir / name).string();
  WriteBytes(file, bytes);
  ::chmod(file.c_str(), 0666);
  ::chmod(dir.c_str(), 0555);
  return file;
}

// Runs `check` without the superuser's right to ignore file permissions: as the user "nobody"
// in a child process when the tests run as root, directly otherwise. True when `check` is.
inline bool AsOrdinaryUser(const std::function<bool()>& check) {
  if (::geteuid() != 0) return check();
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace dravello::testing
