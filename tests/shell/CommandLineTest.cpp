// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

CommandLine Parse(QStringList arguments) {
  arguments.prepend(QStringLiteral("/usr/bin/CalculadoraDravello"));
  return CommandLine::Parse(arguments, QStringLiteral("4.5.6"));
}

TEST(CommandLine, WhatEachCommandLineAsksFor) {
  const struct {
    QStringList arguments;
    Action action;
  } cases[] = {
      {{}, Action::kRun},
      {{"--help"}, Action::kHelp},
      {{"-h"}, Action::kHelp},
      {{"--version"}, Action::kVersion},
      {{"-v"}, Action::kVersion},
      // The toolkit's options, with one dash or two, a separate value or "=".
      {{"-style", "Fusion"}, Action::kRun},
      {{"-style=Fusion"}, Action::kRun},
      {{"--style", "Fusion", "-reverse"}, Action::kRun},
      {{"-platform", "offscreen"}, Action::kRun},
      {{"-display", ":1", "-name", "calc", "-sync"}, Action::kRun},
      {{"-qwindowgeometry", "300x200+0+0", "-stylesheet", "a.qss", "-widgetcount"}, Action::kRun},
      // Anything else is refused.
      {{"--frobnicate"}, Action::kError},
      {{"-x"}, Action::kError},
      {{"-hv"}, Action::kError},
      {{"--help=yes"}, Action::kError},
      {{"-style"}, Action::kError},  // the value is missing
      {{"file.txt"}, Action::kError},
      {{"--", "--help"}, Action::kError},
  };
  for (const auto& c : cases) {
    const CommandLine got = Parse(c.arguments);
    EXPECT_EQ(got.action, c.action) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(got.text.isEmpty(), c.action == Action::kRun) << c.arguments.join(' ').toStdString();
    if (!got.text.isEmpty()) {
      EXPECT_TRUE(got.text.endsWith(QLatin1Char('\n')));
    }
  }
}

TEST(CommandLine, TextsNameTheProgramAndTheFault) {
  EXPECT_EQ(Parse({"--version"}).text, "CalculadoraDravello 4.5.6\n");
  const QString help = Parse({"--help"}).text;
  EXPECT_TRUE(help.startsWith("Uso: CalculadoraDravello [OPCIONES]\n")) << help.toStdString();
  EXPECT_TRUE(help.contains("--version")) << help.toStdString();

  const QString unknown = Parse({"--frobnicate"}).text;
  EXPECT_TRUE(unknown.startsWith("CalculadoraDravello: opción desconocida: --frobnicate\n"))
      << unknown.toStdString();
  EXPECT_TRUE(unknown.contains("--help")) << unknown.toStdString();
  EXPECT_TRUE(Parse({"-x"}).text.contains("opción desconocida: -x\n"));
  EXPECT_TRUE(Parse({"file.txt"}).text.contains("argumento no admitido: file.txt\n"));
}

}  // namespace
