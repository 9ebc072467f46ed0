// SPDX-License-Identifier: GPL-3.0-or-later
#include "CamposMonedas.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "Currency.h"
#include "TestFiles.h"

namespace dravello {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// The table that a settings file with `text` gives, with "," as the decimal separator.
TTablaMonedas TablaDe(const std::string& text, char separador = ',') {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  WriteBytes(file, text);
  CamposMonedas campos(file, separador);
  campos.LeeIni();
  TTablaMonedas tabla{};
  campos.AplicaMonedas(tabla);
  return tabla;
}

void ExpectDefaults(const TTablaMonedas& tabla, const std::string& what) {
  EXPECT_EQ(tabla[0].Moneda, "Pts") << what;
  EXPECT_EQ(tabla[0].Decimales, 2) << what;
  EXPECT_EQ(tabla[0].Cambio, 1.0) << what;
  for (std::size_t n = 1; n < tabla.size(); ++n) {
    EXPECT_EQ(tabla[n].Moneda, "") << what << " entry " << n;
    EXPECT_EQ(tabla[n].Decimales, 2) << what << " entry " << n;
    EXPECT_EQ(tabla[n].Cambio, 1.0) << what << " entry " << n;
  }
}

TEST(LeeIni, WithoutAFileTheFieldsHoldTheDefaults) {
  CamposMonedas campos("/nonexistent/calcu.INI", ',');
  campos.LeeIni();
  EXPECT_EQ(campos.EditMoneda(0), "Pts");
  EXPECT_EQ(campos.EditDecimales(0), "2");
  for (int n = 1; n <= 6; ++n) {
    EXPECT_EQ(campos.EditMoneda(n), "");
    EXPECT_EQ(campos.EditDecimales(n), "2");
    EXPECT_EQ(campos.EditCambio(n), "1");
  }
  TTablaMonedas tabla{};
  campos.AplicaMonedas(tabla);
  ExpectDefaults(tabla, "no file");
}

TEST(LeeIni, FieldsHoldTheFileAsItIsAndEmptyValuesStayEmpty) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  WriteBytes(file,
             "[MONEDAS]\r\nMoneda0=\r\nDecimales0=0\r\nMoneda1=Euros\r\nCambio1=166.386\r\n"
             "Moneda3=Dolares\r\nDecimales3=x\r\nCambio3=\r\n");
  CamposMonedas campos(file, ',');
  campos.LeeIni();
  EXPECT_EQ(campos.EditMoneda(0), "");
  EXPECT_EQ(campos.EditDecimales(0), "0");
  EXPECT_EQ(campos.EditMoneda(1), "Euros");
  EXPECT_EQ(campos.EditDecimales(1), "2");     // missing key: its default
  EXPECT_EQ(campos.EditCambio(1), "166.386");  // not judged or normalised by reading
  EXPECT_EQ(campos.EditMoneda(3), "Dolares");
  EXPECT_EQ(campos.EditDecimales(3), "x");
  EXPECT_EQ(campos.EditCambio(3), "");
  EXPECT_THROW(campos.EditCambio(0), std::out_of_range);
  EXPECT_THROW(campos.EditMoneda(7), std::out_of_range);
}

TEST(AplicaMonedas, DecimalsAreA32BitIntegerCutTo99Else2) {
  const struct {
    const char* text;
    std::int32_t expected;
  } cases[] = {
      {"2", 2},
      {"0", 0},
      {"9", 9},
      {"12", 12},
      {"99", 99},
      {"100", 99},
      {"2147483647", 99},
      {"-3", -3},
      {"-2147483648", -2147483648LL},
      {"+5", 5},
      {"007", 7},
      {"x", 2},
      {"", 2},
      {"1.5", 2},
      {"1,5", 2},
      {"0x10", 2},
      {"$10", 2},
      {"2147483648", 2},
      {"99999999999", 2},
      {"-2147483649", 2},
      {"-", 2},
      {"+", 2},
      {"5a", 2},
      {"1e3", 2},
  };
  for (const auto& c : cases) {
    CamposMonedas campos("", ',');
    campos.EditDecimales(4) = c.text;
    TTablaMonedas tabla{};
    campos.AplicaMonedas(tabla);
    EXPECT_EQ(tabla[4].Decimales, c.expected) << '"' << c.text << '"';
  }
}

TEST(AplicaMonedas, RatesTakeCommaOrPointElse1) {
  const struct {
    const char* text;
    double expected;
  } cases[] = {
      {"166.386", 166.386},
      {"166,386", 166.386},
      {" 0,5 ", 0.5},
      {"+4", 4},
      {"2E3", 2000},
      {"1,5e-2", 0.015},
      {"1e308", 1e308},
      {"0.001", 0.001},
      {"1.234,5", 1},  // two separators once normalised
      {"1,5,5", 1},
      {"0", 1},
      {"-0", 1},
      {"-2", 1},
      {"abc", 1},
      {"", 1},
      {"1e400", 1},   // beyond a double
      {"1e-400", 1},  // nothing left of it in a double: 0
      {"nan", 1},
      {"inf", 1},
      {"-inf", 1},
      {"1 000", 1},
      {"0x10", 1},
  };
  for (const char separador : {',', '.'}) {
    for (const auto& c : cases) {
      CamposMonedas campos("", separador);
      campos.EditCambio(2) = c.text;
      TTablaMonedas tabla{};
      campos.AplicaMonedas(tabla);
      EXPECT_EQ(tabla[2].Cambio, c.expected) << '"' << c.text << "\" with " << separador;
    }
  }
}

TEST(AplicaMonedas, AbbreviationsAreCutToFiveAndTheBaseIsNeverEmpty) {
  CamposMonedas campos("", ',');
  campos.EditMoneda(0) = "";
  campos.EditMoneda(1) = "Dolares";
  campos.EditMoneda(2) = "\x80uro";
  campos.EditMoneda(3) = "";
  TTablaMonedas tabla{};
  campos.AplicaMonedas(tabla);
  EXPECT_EQ(tabla[0].Moneda, "Pts");
  EXPECT_EQ(tabla[0].Cambio, 1.0);
  EXPECT_EQ(tabla[1].Moneda, "Dolar");
  EXPECT_EQ(tabla[2].Moneda, "\x80uro");
  EXPECT_EQ(tabla[3].Moneda, "");
  EXPECT_EQ(campos.EditMoneda(1), "Dolares");  // the field keeps the whole text
}

TEST(NormalizaCambios, EveryCommaAndPointBecomesTheRegionalSeparator) {
  CamposMonedas campos("", ',');
  campos.EditCambio(1) = "166.386";
  campos.EditCambio(2) = "1.234,5";
  campos.EditMoneda(1) = "E.u";
  campos.NormalizaCambios();
  EXPECT_EQ(campos.EditCambio(1), "166,386");
  EXPECT_EQ(campos.EditCambio(2), "1,234,5");
  EXPECT_EQ(campos.EditMoneda(1), "E.u");  // only the rates

  CamposMonedas ingles("", '.');
  ingles.EditCambio(6) = "166,386";
  ingles.NormalizaCambios();
  EXPECT_EQ(ingles.EditCambio(6), "166.386");
}

TEST(AplicaMonedas, SettingsFilesOfGarbageGiveTheSilentDefaults) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 7919) % 256));
  const std::string nul(1, '\0');
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty file", ""},
      {"binary bytes", binary},
      {"NUL bytes", std::string(1000, '\0')},
      {"NUL inside the section", "[MONEDAS]" + nul + "\r\nMoneda1=" + nul + "Eur\r\n"},
      {"one line of 100000 characters", std::string(100000, 'x')},
      {"a header without its bracket", "[MONEDAS\r\nMoneda1=Eur\r\n"},
      {"the section twice, data in the second", "[MONEDAS]\r\n[MONEDAS]\r\nMoneda1=Eur\r\n"},
      {"a byte-order mark before the header", "\xEF\xBB\xBF[MONEDAS]\r\nMoneda1=Eur\r\n"},
      {"only other sections", "[Ventana]\nMoneda1=Eur\n"},
      {"bare keys", "[MONEDAS]\nMoneda0\nDecimales0\nCambio1\n"},
  };
  for (const auto& c : cases) ExpectDefaults(TablaDe(c.text), c.what);
}

TEST(AplicaMonedas, OddButUsableFilesLoadWhatTheyHold) {
  const std::string line(100000, 'y');
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"CRLF", "[MONEDAS]\r\nMoneda1=Eur\r\nCambio1=166,386\r\n"},
      {"LF", "[MONEDAS]\nMoneda1=Eur\nCambio1=166,386\n"},
      {"CR", "[MONEDAS]\rMoneda1=Eur\rCambio1=166,386\r"},
      {"no final line end", "[MONEDAS]\nMoneda1=Eur\nCambio1=166.386"},
      {"lines of 100000 characters around",
       line + "\n[MONEDAS]\n" + line + "\nMoneda1=Eur\n" + line + "\nCambio1=166.386\n"},
      {"duplicate keys: the first wins", "[MONEDAS]\nMoneda1=Eur\nCambio1=166.386\nMoneda1=Usd\n"},
      {"duplicate sections: the first wins",
       "[MONEDAS]\nMoneda1=Eur\nCambio1=166.386\n[MONEDAS]\nMoneda1=Usd\n"},
      {"names in any case", "[monedas]\nMONEDA1=Eur\ncambio1=166.386\n"},
  };
  for (const auto& c : cases) {
    const TTablaMonedas tabla = TablaDe(c.text);
    EXPECT_EQ(tabla[1].Moneda, "Eur") << c.what;
    EXPECT_EQ(tabla[1].Cambio, 166.386) << c.what;
    EXPECT_EQ(tabla[0].Moneda, "Pts") << c.what;
  }
}

TEST(AplicaMonedas, TenMegabyteFileLoads) {
  std::string text;
  text.reserve(10 << 20);
  while (text.size() < (10u << 20)) text += "[S" + std::to_string(text.size()) + "]\nk=v\n";
  text += "[MONEDAS]\nMoneda2=Usd\nDecimales2=4\nCambio2=0,5\n";
  const TTablaMonedas tabla = TablaDe(text);
  EXPECT_EQ(tabla[2].Moneda, "Usd");
  EXPECT_EQ(tabla[2].Decimales, 4);
  EXPECT_EQ(tabla[2].Cambio, 0.5);
}

TEST(AplicaMonedas, LongValuesAreReadUpTo2047Characters) {
  for (const std::size_t length : {2047u, 2048u, 5000u}) {
    const std::string digits(length, '1');
    const TTablaMonedas tabla =
        TablaDe("[MONEDAS]\nMoneda1=" + std::string(length, 'M') + "\nDecimales1=" + digits +
                "\nCambio1=" + digits + "\nCambio2=0,0" + digits + "\n");
    EXPECT_EQ(tabla[1].Moneda, "MMMMM") << length;
    EXPECT_EQ(tabla[1].Decimales, 2) << length;  // not a 32-bit integer
    EXPECT_EQ(tabla[1].Cambio, 1.0) << length;   // 1.1E2046 is beyond a double
    EXPECT_NEAR(tabla[2].Cambio, 0.0111111111111111, 1e-16) << length;
  }
}

TEST(AplicaMonedas, AFileThatCannotBeReadGivesTheDefaults) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  WriteBytes(file, "[MONEDAS]\nMoneda0=Eur\n");
  ::chmod(file.c_str(), 0);
  EXPECT_TRUE(testing::AsOrdinaryUser([&] {
    CamposMonedas campos(file, ',');
    campos.LeeIni();
    TTablaMonedas tabla{};
    campos.AplicaMonedas(tabla);
    return campos.EditMoneda(0) == "Pts" && tabla[0].Moneda == "Pts";
  }));
  ExpectDefaults(TablaDe(std::string()), "empty");
  CamposMonedas folder_as_file(folder.path().string(), ',');
  folder_as_file.LeeIni();
  EXPECT_EQ(folder_as_file.EditMoneda(0), "Pts");
}

TEST(GrabaIni, WritesTheTwentyKeysInOrderIntoANewFile) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  CamposMonedas campos(file, ',');
  campos.LeeIni();
  campos.EditMoneda(1) = "Eur";
  campos.EditCambio(1) = "166.386";
  campos.EditMoneda(3) = "Dolares";
  campos.GrabaIni();
  EXPECT_EQ(campos.EditCambio(1), "166,386");
  EXPECT_EQ(ReadBytes(file),
            "[MONEDAS]\r\nMoneda0=Pts\r\nDecimales0=2\r\n"
            "Moneda1=Eur\r\nDecimales1=2\r\nCambio1=166,386\r\n"
            "Moneda2=\r\nDecimales2=2\r\nCambio2=1\r\n"
            "Moneda3=Dolares\r\nDecimales3=2\r\nCambio3=1\r\n"
            "Moneda4=\r\nDecimales4=2\r\nCambio4=1\r\n"
            "Moneda5=\r\nDecimales5=2\r\nCambio5=1\r\n"
            "Moneda6=\r\nDecimales6=2\r\nCambio6=1\r\n");

  CamposMonedas leidos(file, ',');
  leidos.LeeIni();
  EXPECT_EQ(leidos.EditMoneda(3), "Dolares");
  EXPECT_EQ(leidos.EditCambio(1), "166,386");
}

TEST(GrabaIni, KeepsEveryOtherLineAndAFileThatHoldsTheFieldsIsUnchanged) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  const std::string before =
      "; hand notes\n[Ventana]\nx=1\n\n[monedas]\nmoneda0 = Pts\nDecimales0=0\n; entry 1\n"
      "Moneda1=Eur\nDecimales1=2\nCambio1=166.386\n\n[Otra]\nMoneda0=kept\n";
  WriteBytes(file, before);
  CamposMonedas campos(file, ',');
  campos.LeeIni();
  campos.GrabaIni();
  EXPECT_EQ(ReadBytes(file),
            "; hand notes\n[Ventana]\nx=1\n\n[monedas]\nmoneda0 = Pts\nDecimales0=0\n; entry 1\n"
            "Moneda1=Eur\nDecimales1=2\nCambio1=166,386\nMoneda2=\nDecimales2=2\nCambio2=1\n"
            "Moneda3=\nDecimales3=2\nCambio3=1\nMoneda4=\nDecimales4=2\nCambio4=1\n"
            "Moneda5=\nDecimales5=2\nCambio5=1\nMoneda6=\nDecimales6=2\nCambio6=1\n"
            "\n[Otra]\nMoneda0=kept\n");

  const std::string saved = ReadBytes(file);
  CamposMonedas again(file, ',');
  again.LeeIni();
  again.GrabaIni();
  EXPECT_EQ(ReadBytes(file), saved);
}

TEST(GrabaIni, ALinkStaysALinkAndTheFileKeepsItsPermissions) {
  TempFolder folder;
  const std::string target = folder.File("real.INI");
  WriteBytes(target, "[Ventana]\r\nx=1\r\n");
  ::chmod(target.c_str(), 0640);
  const std::string link = folder.File("calcu.INI");
  fs::create_symlink("real.INI", link);
  CamposMonedas campos(link, ',');
  campos.LeeIni();
  campos.GrabaIni();
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(target).rfind("[Ventana]\r\nx=1\r\n[MONEDAS]\r\nMoneda0=Pts\r\n", 0), 0u);
  struct stat st;
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(GrabaIni, AFailedWriteLeavesTheFileAndRaisesUnableToWrite) {
  TempFolder folder;
  const std::string before = "[MONEDAS]\nMoneda0=Eur\n";
  // The file is writable, its folder is not.
  const std::string file = testing::FileInClosedFolder(folder, "closed", "calcu.INI", before);

  EXPECT_TRUE(testing::AsOrdinaryUser([&] {
    CamposMonedas campos(file, ',');
    campos.LeeIni();
    campos.EditMoneda(0) = "Usd";
    try {
      campos.GrabaIni();
    } catch (const EngineError& e) {
      return std::string(e.what()) == "Unable to write to " + file;
    }
    return false;
  }));
  EXPECT_EQ(ReadBytes(file), before);

  CamposMonedas sin_carpeta(folder.File("none/calcu.INI"), ',');
  EXPECT_THROW(sin_carpeta.GrabaIni(), EngineError);
}

// In a sticky folder that all may write (as /tmp), another user may plant a link to a file of
// the user's: it is followed only as the kernel's protected_symlinks rule would, else the save
// is refused in Spanish.
TEST(GrabaIni, FollowsALinkInASharedFolderOnlyIfTheUserOrTheFolderOwnerOwnsIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  const struct {
    mode_t folder_mode;
    uid_t folder_owner, link_owner;
    bool followed;
  } cases[] = {{01777, 0, 65534, false},
               {01777, 0, 0, true},
               {01777, 65534, 65534, true},
               {0777, 0, 65534, true},
               {01755, 0, 65534, true}};
  for (const auto& c : cases) {
    TempFolder folder;
    const fs::path shared = folder.path() / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), c.folder_mode), 0);
    ASSERT_EQ(::chown(shared.c_str(), c.folder_owner, 0), 0);
    const std::string link = (shared / "calcu.INI").string();
    fs::create_symlink(folder.File("victim.INI"), link);
    ASSERT_EQ(::lchown(link.c_str(), c.link_owner, 0), 0);
    std::string error;
    try {
      CamposMonedas(link, ',').GrabaIni();
    } catch (const EngineError& e) {
      error = e.what();
    }
    EXPECT_EQ(fs::exists(folder.File("victim.INI")), c.followed) << c.folder_mode << c.link_owner;
    EXPECT_EQ(error, c.followed ? ""
                                : "No se ha podido guardar \xC2\xAB" + link +
                                      "\xC2\xBB: es un enlace simb\xC3\xB3lico de otro usuario "
                                      "en una carpeta compartida");
  }
}

}  // namespace
}  // namespace dravello
