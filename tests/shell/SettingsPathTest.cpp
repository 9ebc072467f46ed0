#include "SettingsPath.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace dravello {
namespace {

TEST(SettingsPath, BesideTheProgramWhenUsableElseTheUserConfigFolder) {
  const struct {
    const char* what;
    bool file_exists;
    bool folder_writable;
    const char* xdg;
    const char* home;
    const char* expected;
  } cases[] = {
      {"unpacked copy", false, true, "", "/home/ana", "/opt/calc/CalculadoraDravello.INI"},
      {"file shipped beside a read-only program", true, false, "", "/home/ana",
       "/opt/calc/CalculadoraDravello.INI"},
      {"installed, no XDG variable", false, false, "", "/home/ana",
       "/home/ana/.config/CalculadoraDravello/CalculadoraDravello.INI"},
      {"installed, XDG variable", false, false, "/x/cfg", "/home/ana",
       "/x/cfg/CalculadoraDravello/CalculadoraDravello.INI"},
      {"XDG variable with a final slash", false, false, "/x/cfg/", "/home/ana",
       "/x/cfg/CalculadoraDravello/CalculadoraDravello.INI"},
      {"relative XDG variable is ignored", false, false, "cfg", "/home/ana",
       "/home/ana/.config/CalculadoraDravello/CalculadoraDravello.INI"},
      {"no home at all", false, false, "", "", "/opt/calc/CalculadoraDravello.INI"},
      {"relative home is ignored", false, false, "", "ana", "/opt/calc/CalculadoraDravello.INI"},
  };
  for (const auto& c : cases) {
    const SettingsPlaces places{"/opt/calc/", "CalculadoraDravello", c.xdg, c.home};
    std::string asked_file, asked_folder;
    const std::string chosen = ChooseSettingsFile(
        places,
        [&](const std::string& f) {
          asked_file = f;
          return c.file_exists;
        },
        [&](const std::string& d) {
          asked_folder = d;
          return c.folder_writable;
        });
    EXPECT_EQ(chosen, c.expected) << c.what;
    EXPECT_EQ(asked_file, "/opt/calc/CalculadoraDravello.INI") << c.what;
  }
}

TEST(SettingsPath, TheFileIsNamedAfterTheProgram) {
  const SettingsPlaces places{"/usr/local/bin/", "calcu", "", "/root"};
  const auto yes = [](const std::string&) { return true; };
  EXPECT_EQ(ChooseSettingsFile(places, yes, yes), "/usr/local/bin/calcu.INI");
}

TEST(SettingsPath, RealFileSystem) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("settings-path-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string folder = dir.string() + "/";
  // A writable folder keeps the settings beside the program.
  EXPECT_EQ(ChooseSettingsFile(folder, "Calc"), folder + "Calc.INI");

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
