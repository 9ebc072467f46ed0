// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramPath.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace dravello {
namespace {

TEST(ProgramPath, SplitsFolderAndNameWithoutExtension) {
  const struct {
    const char* executable;
    const char* dir;
    const char* name;
  } cases[] = {
      {"/opt/calc/calcu.exe", "/opt/calc/", "calcu"},
      {"/opt/calc/CalculadoraDravello", "/opt/calc/", "CalculadoraDravello"},
      {"/opt/calc.d/calcu", "/opt/calc.d/", "calcu"},         // a point in a folder is no extension
      {"/opt/calc/calcu.tar.gz", "/opt/calc/", "calcu.tar"},  // only the last extension goes
      {"/calcu", "/", "calcu"},
      {"calcu.exe", "", "calcu"},
      {"/opt/calc/.calcu", "/opt/calc/", ""},
  };
  for (const auto& c : cases) {
    const ProgramPath path = ProgramPath::FromExecutable(c.executable);
    EXPECT_EQ(path.DirPrograma, c.dir) << c.executable;
    EXPECT_EQ(path.NombrePrograma, c.name) << c.executable;
  }
}

TEST(ProgramPath, TheRunningProgramIsThisTest) {
  EXPECT_EQ(NombrePrograma(), "ProgramPathTest");
  ASSERT_FALSE(DirPrograma().empty());
  EXPECT_EQ(DirPrograma().front(), '/');
  EXPECT_EQ(DirPrograma().back(), '/');
  EXPECT_TRUE(std::filesystem::is_regular_file(DirPrograma() + NombrePrograma()));
}

}  // namespace
}  // namespace dravello
