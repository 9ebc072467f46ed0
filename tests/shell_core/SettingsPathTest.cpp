// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsPath.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace dravello {
namespace {

TEST(SettingsPath, InstalledCopiesUseTheUserFileOthersKeepTheirsBesideThem) {
  constexpr const char* kOwn = "/home/ana/.config/CalculadoraDravello/CalculadoraDravello.INI";
  constexpr const char* kBeside = "/opt/calc/bin/CalculadoraDravello.INI";
  const struct {
    const char* what;
    bool installed;
    bool file_exists;
    bool folder_writable;
    const char* xdg;
    const char* home;
    const char* expected;
  } cases[] = {
      {"build folder or unpacked copy", false, false, true, "", "/home/ana", kBeside},
      {"file shipped beside a read-only copy", false, true, false, "", "/home/ana", kBeside},
      {"read-only copy without a file", false, false, false, "", "/home/ana", kOwn},
      {"read-only copy, XDG variable", false, false, false, "/x/cfg", "/home/ana",
       "/x/cfg/CalculadoraDravello/CalculadoraDravello.INI"},
      {"XDG variable with a final slash", false, false, false, "/x/cfg/", "/home/ana",
       "/x/cfg/CalculadoraDravello/CalculadoraDravello.INI"},
      {"relative XDG variable is ignored", false, false, false, "cfg", "/home/ana", kOwn},
      {"read-only copy, no home at all", false, false, false, "", "", kBeside},
      {"relative home is ignored", false, false, false, "", "ana", kBeside},
      // Installed: the user's file always, for root too (every folder writable, a file left
      // beside the program by an earlier version).
      {"installed", true, false, false, "", "/home/ana", kOwn},
      {"installed, run by root", true, true, true, "", "/root",
       "/root/.config/CalculadoraDravello/CalculadoraDravello.INI"},
      {"installed, XDG variable", true, true, true, "/x/cfg", "/root",
       "/x/cfg/CalculadoraDravello/CalculadoraDravello.INI"},
      {"installed, no home at all", true, true, true, "", "", ""},
  };
  for (const auto& c : cases) {
    const SettingsPlaces places{"/opt/calc/bin/", "CalculadoraDravello", c.xdg, c.home};
    const std::string chosen = ChooseSettingsFile(
        places,
        [&](const std::string& f) {
          if (f == "/opt/calc/bin/../share/applications/org.dravello.CalculadoraDravello.desktop")
            return c.installed;
          EXPECT_EQ(f, kBeside) << c.what;
          return c.file_exists;
        },
        [&](const std::string& d) {
          EXPECT_EQ(d, "/opt/calc/bin/") << c.what;
          return c.folder_writable;
        });
    EXPECT_EQ(chosen, c.expected) << c.what;
  }
}

TEST(SettingsPath, TheFileIsNamedAfterTheProgram) {
  const SettingsPlaces places{"/usr/local/bin/", "calcu", "", "/root"};
  const auto beside = [](const std::string& f) { return f.ends_with(".INI"); };
  const auto yes = [](const std::string&) { return true; };
  EXPECT_EQ(ChooseSettingsFile(places, beside, yes), "/usr/local/bin/calcu.INI");
}

TEST(SettingsPath, OnRealFoldersTheMenuEntryMarksAnInstalledCopy) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("settings-path-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string folder = dir.string() + "/";
  // A writable folder keeps the settings beside the program...
  EXPECT_EQ(ChooseSettingsFile(folder, "Calc"), folder + "Calc.INI");
  // ...until its prefix holds the menu entry of an installed copy.
  const std::string bin = folder + "bin/";
  std::filesystem::create_directories(folder + "share/applications");
  std::ofstream(MenuEntryBesideInstalledProgram(bin));
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = xdg ? xdg : "";
  ::setenv("XDG_CONFIG_HOME", (folder + "cfg").c_str(), 1);
  EXPECT_EQ(ChooseSettingsFile(bin, "Calc"),
            folder + "cfg/CalculadoraDravello/CalculadoraDravello.INI");
  if (xdg) {
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }

  const std::string nested = folder + "cfg/CalculadoraDravello/CalculadoraDravello.INI";
  PrepareSettingsFolder(nested);
  EXPECT_TRUE(std::filesystem::is_directory(folder + "cfg/CalculadoraDravello"));
  std::ofstream(nested) << "[MONEDAS]\n";
  PrepareSettingsFolder(nested);  // an existing folder and file are left alone
  EXPECT_TRUE(std::filesystem::is_regular_file(nested));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace dravello
