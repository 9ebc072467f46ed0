// SPDX-License-Identifier: GPL-3.0-or-later
// dravello-replay: runs a key sequence through the calculator's window logic and prints what the
// window would show. Keys come on standard input; docs/development.md describes the input and
// the transcript.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "JournalText.h"
#include "ReplayOptions.h"
#include "ReplaySession.h"

namespace {

// Reads all of standard input; false, with the system's reason in `error`, when it cannot be
// read (a folder, a closed descriptor, an input error).
bool ReadAllInput(std::string& text, std::string& error) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      return false;
    }
    if (n == 0) return true;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

// Everything written so far reached standard output; otherwise the reason in `error`.
bool OutputWritten(std::string& error) {
  errno = 0;
  std::cout.flush();
  const bool ok = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (!ok) error = errno != 0 ? std::strerror(errno) : "write error";
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace dravello;
  // A closed standard output would otherwise take the number of the first file opened.
  if (::fcntl(STDOUT_FILENO, F_GETFD) < 0) {
    std::cerr << "dravello-replay: standard output is closed\n";
    return 1;
  }
  ReplayOptions options;
  std::string error;
  if (!ParseReplayOptions(argc, argv, options, error)) {
    std::cerr << "dravello-replay: " << error << '\n'
              << "usage: dravello-replay [--ini FILE] [--decimals N] [--decimal-separator C] "
                 "[--thousands-separator C] [--trace] < KEYS\n";
    return 2;
  }
  std::string text;
  if (!ReadAllInput(text, error)) {
    std::cerr << "dravello-replay: cannot read the keys from standard input: " << error << '\n';
    return 2;
  }
  JournalRead journal;
  if (!ReadJournalText(text, JournalTextMode::kStrict, journal, error)) {
    std::cerr << "dravello-replay: " << error << '\n';
    return 2;
  }
  // A journal carries the separators it was written with.
  if (journal.start) options.separators = journal.start->separators;

  ReplaySession session(std::cout, options);
  session.Start(journal.start);
  for (const JournalEntry& entry : journal.entries) {
    session.Run(entry);
    if (options.trace) session.WriteState(std::cout);
  }
  session.WriteState(std::cout);
  if (!OutputWritten(error)) {
    std::cerr << "dravello-replay: cannot write the transcript: " << error << '\n';
    return 1;
  }
  return 0;
}
