// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the program's command line asks for. It is read before the application object exists, so
// --help, --version and a wrong command line need no display. The toolkit's own options
// (-style, -platform, -display, ...) are accepted here and left in place for QApplication, which
// takes them out when it starts.
struct CommandLine {
  enum class Action {
    kRun,      // start the calculator
    kHelp,     // print `text` on standard output, exit 0
    kVersion,  // print `text` on standard output, exit 0
    kError,    // print `text` on standard error, exit 2
  };

  Action action = Action::kRun;
  QString text;  // ends with a line end; empty for kRun

  // `arguments` as main() received them, the program's path first; `version` is the
  // program's version.
  static CommandLine Parse(const QStringList& arguments, const QString& version);
};
