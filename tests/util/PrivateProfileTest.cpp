// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateProfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"

namespace dravello {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kNul(1, '\0');

TEST(PrivateProfileGet, ReadsAsTheWindowsFunctionDoes) {
  const struct {
    const char* what;
    std::string text;
    const char* key;
    std::string expected;  // "<default>" when the default comes back
  } cases[] = {
      {"CRLF lines", "[MONEDAS]\r\nMoneda0=Eur\r\n", "Moneda0", "Eur"},
      {"LF lines", "[MONEDAS]\nMoneda0=Eur\n", "Moneda0", "Eur"},
      {"CR lines", "[MONEDAS]\rMoneda0=Eur\rMoneda1=Usd", "Moneda1", "Usd"},
      {"no final line end", "[MONEDAS]\nMoneda0=Eur", "Moneda0", "Eur"},
      {"names without regard to case", "[monedas]\nMONEDA0=Eur\n", "moneda0", "Eur"},
      {"value and name trimmed", "[MONEDAS]\n\t Moneda0 \t=  Eur \t\n", "Moneda0", "Eur"},
      {"empty value is empty", "[MONEDAS]\nMoneda0=\n", "Moneda0", ""},
      {"blank value is empty", "[MONEDAS]\nMoneda0=   \n", "Moneda0", ""},
      {"bare key reads as missing", "[MONEDAS]\nMoneda0\n", "Moneda0", "<default>"},
      {"first key of a name wins, even bare", "[MONEDAS]\nMoneda0\nMoneda0=Eur\n", "Moneda0",
       "<default>"},
      {"first key of a name wins", "[MONEDAS]\nMoneda0=Eur\nmoneda0=Usd\n", "Moneda0", "Eur"},
      {"only the first section of a name", "[MONEDAS]\nA=1\n[OTRA]\n[MONEDAS]\nMoneda0=Eur\n",
       "Moneda0", "<default>"},
      {"key in another section", "[OTRA]\nMoneda0=Eur\n[MONEDAS]\n", "Moneda0", "<default>"},
      {"key before any section", "Moneda0=Eur\n[MONEDAS]\n", "Moneda0", "<default>"},
      {"missing section", "[OTRA]\nMoneda0=Eur\n", "Moneda0", "<default>"},
      {"empty text", "", "Moneda0", "<default>"},
      {"header trimmed", "  [ MONEDAS ]  \nMoneda0=Eur\n", "Moneda0", "Eur"},
      {"header runs to the last bracket", "[MON]EDAS] note\nMoneda0=Eur\n", "Moneda0", "<default>"},
      {"text after the header's bracket", "[MONEDAS] ; note\nMoneda0=Eur\n", "Moneda0", "Eur"},
      {"header without bracket is no header", "[MONEDAS\nMoneda0=Eur\n", "Moneda0", "<default>"},
      {"unclosed header inside the section", "[MONEDAS]\n[OTRA\nMoneda0=Eur\n", "Moneda0", "Eur"},
      {"semicolon lines never match", "[MONEDAS]\n;Moneda0=Eur\n", "Moneda0", "<default>"},
      {"splits at the first equals", "[MONEDAS]\nCambio1 = 1=2\n", "Cambio1", "1=2"},
      {"double quotes removed", "[MONEDAS]\nMoneda0=\"Eur\"\n", "Moneda0", "Eur"},
      {"single quotes removed", "[MONEDAS]\nMoneda0='E r'\n", "Moneda0", "E r"},
      {"quotes after trimming", "[MONEDAS]\nMoneda0= \" E \" \n", "Moneda0", " E "},
      {"only one pair", "[MONEDAS]\nMoneda0=\"\"Eur\"\"\n", "Moneda0", "\"Eur\""},
      {"two quotes give empty", "[MONEDAS]\nMoneda0=\"\"\n", "Moneda0", ""},
      {"a lone quote stays", "[MONEDAS]\nMoneda0=\"\n", "Moneda0", "\""},
      {"unmatched quotes stay", "[MONEDAS]\nMoneda0=\"Eur'\n", "Moneda0", "\"Eur'"},
      {"cut at a NUL byte", "[MONEDAS]\nMoneda0=Eu" + kNul + "r\n", "Moneda0", "Eu"},
      {"byte-order mark belongs to the first line", "\xEF\xBB\xBF[MONEDAS]\nMoneda0=Eur\n",
       "Moneda0", "<default>"},
      {"byte-order mark on a line of its own", "\xEF\xBB\xBF\n[MONEDAS]\nMoneda0=Eur\n", "Moneda0",
       "Eur"},
      {"Windows-1252 bytes pass", "[MONEDAS]\nMoneda0=\x80\xF3\n", "Moneda0", "\x80\xF3"},
  };
  for (const auto& c : cases) {
    const std::string got = PrivateProfile(c.text).Get("MONEDAS", c.key, "<default>");
    EXPECT_EQ(got, c.expected) << c.what;
  }
}

TEST(PrivateProfileGet, ValuesAreCutAt2047Characters) {
  for (const std::size_t length : {2046u, 2047u, 2048u, 5000u, 100000u}) {
    const std::string value(length, '7');
    const PrivateProfile ini("[MONEDAS]\r\nCambio1=" + value + "\r\n");
    EXPECT_EQ(ini.Get("MONEDAS", "Cambio1", "1"), value.substr(0, 2047)) << length;
  }
  EXPECT_EQ(PrivateProfile().Get("MONEDAS", "x", std::string(3000, 'd')).size(), 2047u);
}

TEST(PrivateProfileSet, ChangesOnlyWhatItMust) {
  const struct {
    const char* what;
    std::string before;
    const char* key;
    std::string value;
    std::string after;
  } cases[] = {
      {"new text is CRLF", "", "Moneda0", "Pts", "[MONEDAS]\r\nMoneda0=Pts\r\n"},
      {"value replaced in place",
       "; notes\r\n[OTRA]\r\nx=1\r\n[MONEDAS]\r\nMoneda0 =  Eur  \r\nDecimales0=2\r\n", "Moneda0",
       "Pts", "; notes\r\n[OTRA]\r\nx=1\r\n[MONEDAS]\r\nMoneda0 =  Pts\r\nDecimales0=2\r\n"},
      {"the key keeps its spelling", "[monedas]\nMONEDA0=Eur\n", "Moneda0", "Pts",
       "[monedas]\nMONEDA0=Pts\n"},
      {"empty value replaced", "[MONEDAS]\nMoneda0=\n", "Moneda0", "Pts",
       "[MONEDAS]\nMoneda0=Pts\n"},
      {"value emptied", "[MONEDAS]\nMoneda0=Eur\n", "Moneda0", "", "[MONEDAS]\nMoneda0=\n"},
      {"bare key gains its value", "[MONEDAS]\nMoneda0  \n", "Moneda0", "Pts",
       "[MONEDAS]\nMoneda0=Pts\n"},
      {"new key after the section's last line", "[MONEDAS]\nMoneda0=Eur\n\n[OTRA]\nx=1\n",
       "Decimales0", "2", "[MONEDAS]\nMoneda0=Eur\nDecimales0=2\n\n[OTRA]\nx=1\n"},
      {"new key in an empty section", "[MONEDAS]\r\n[OTRA]\r\n", "Moneda0", "Pts",
       "[MONEDAS]\r\nMoneda0=Pts\r\n[OTRA]\r\n"},
      {"section at the end without line end", "[MONEDAS]\r\nMoneda0=Eur", "Decimales0", "2",
       "[MONEDAS]\r\nMoneda0=Eur\r\nDecimales0=2"},
      {"new section at the end", "[OTRA]\nx=1\n", "Moneda0", "Pts",
       "[OTRA]\nx=1\n[MONEDAS]\nMoneda0=Pts\n"},
      {"new section after a last line without end", "[OTRA]\r\nx=1", "Moneda0", "Pts",
       "[OTRA]\r\nx=1\r\n[MONEDAS]\r\nMoneda0=Pts\r\n"},
      {"CR-only text", "[OTRA]\rx=1\r", "Moneda0", "Pts", "[OTRA]\rx=1\r[MONEDAS]\rMoneda0=Pts\r"},
      {"only the first of duplicate keys", "[MONEDAS]\nMoneda0=A\nMoneda0=B\n", "Moneda0", "C",
       "[MONEDAS]\nMoneda0=C\nMoneda0=B\n"},
      {"only the first of duplicate sections", "[MONEDAS]\nA=1\n[MONEDAS]\nMoneda0=B\n", "Moneda0",
       "C", "[MONEDAS]\nA=1\nMoneda0=C\n[MONEDAS]\nMoneda0=B\n"},
      {"semicolon line is not the key", "[MONEDAS]\n;Moneda0=x\n", "Moneda0", "Pts",
       "[MONEDAS]\n;Moneda0=x\nMoneda0=Pts\n"},
      {"line breaks in a value become blanks", "", "Moneda0", "a\r\nb" + kNul,
       "[MONEDAS]\r\nMoneda0=\"a  b \"\r\n"},
      // In double quotes what would not read back as it is: blanks at either end, quotes around.
      {"blanks around a value", "[MONEDAS]\nMoneda0=x\n", "Moneda0", " $ ",
       "[MONEDAS]\nMoneda0=\" $ \"\n"},
      {"a value in quotes", "[MONEDAS]\n", "Moneda0", "'a'", "[MONEDAS]\nMoneda0=\"'a'\"\n"},
      {"a lone quote", "[MONEDAS]\n", "Moneda0", "\"", "[MONEDAS]\nMoneda0=\"\n"},
      {"other bytes untouched",
       "\xEF\xBB\xBF"
       "a" +
           kNul + "\xFF\n[MONEDAS]\nMoneda0=Eur\n",
       "Moneda0", "Pts",
       "\xEF\xBB\xBF"
       "a" +
           kNul + "\xFF\n[MONEDAS]\nMoneda0=Pts\n"},
      {"byte-order mark hides the first header", "\xEF\xBB\xBF[MONEDAS]\r\nMoneda0=Eur\r\n",
       "Moneda0", "Pts", "\xEF\xBB\xBF[MONEDAS]\r\nMoneda0=Eur\r\n[MONEDAS]\r\nMoneda0=Pts\r\n"},
  };
  for (const auto& c : cases) {
    PrivateProfile ini(c.before);
    ini.Set("MONEDAS", c.key, c.value);
    EXPECT_EQ(ini.Text(), c.after) << c.what;
  }
}

TEST(PrivateProfileSet, WhatIsWrittenReadsBack) {
  const std::string texts[] = {"", "[OTRA]\nx=1", "[MONEDAS]\r\nMoneda0\r\n;c\r\n\r\n[B]\r\n",
                               "[monedas]\rmoneda0 = 1 \r"};
  for (const std::string& text : texts) {
    PrivateProfile ini(text);
    ini.Set("MONEDAS", "Moneda0", "Eur");
    ini.Set("MONEDAS", "Cambio1", "166,386");
    ini.Set("MONEDAS", "Moneda0", "Usd");
    EXPECT_EQ(ini.Get("MONEDAS", "Moneda0", "?"), "Usd") << text;
    EXPECT_EQ(ini.Get("MONEDAS", "Cambio1", "?"), "166,386") << text;
  }
}

TEST(PrivateProfileSet, AfterEveryChangeReadsAgreeWithAFreshRead) {
  const std::string texts[] = {"", "[MONEDAS]\nMoneda0=Eur\n[OTRA]\nx=1\n",
                               "[OTRA]\r\nx=1\r\n[MONEDAS]\r\nMoneda0=Eur",
                               "[MONEDAS]\rMoneda0\r\r[MONEDAS]\rCambio1=9\r"};
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } steps[] = {
      {"MONEDAS", "Moneda0", "a much longer value than before"},
      {"MONEDAS", "Cambio1", "2"},
      {"OTRA", "x", ""},
      {"monedas", "Moneda0", ""},
      {"NUEVA", "k", "v"},
      {"MONEDAS", "Decimales0", "12"},
      {"OTRA", "y", "3"},
      {"MONEDAS", "Cambio1", "166,386"},
  };
  const char* const keys[][2] = {
      {"MONEDAS", "Moneda0"}, {"MONEDAS", "Cambio1"}, {"MONEDAS", "Decimales0"},
      {"OTRA", "x"},          {"OTRA", "y"},          {"NUEVA", "k"}};
  for (const std::string& text : texts) {
    PrivateProfile ini(text);
    for (const auto& step : steps) {
      ini.Set(step.section, step.key, step.value);
      for (const auto& [section, key] : keys) {
        EXPECT_EQ(ini.Get(section, key, "?"), PrivateProfile(ini.Text()).Get(section, key, "?"))
            << text << " after " << step.key << ", reading " << section << "." << key;
      }
      EXPECT_EQ(ini.Get(step.section, step.key, "?"), step.value);
    }
  }
}

TEST(PrivateProfileFile, MissingOrUnreadableFilesGiveTheDefault) {
  TempFolder folder;
  EXPECT_EQ(ReadProfileString(folder.File("none.INI"), "MONEDAS", "Moneda0", "Pts"), "Pts");
  EXPECT_EQ(ReadProfileString(folder.path().string(), "MONEDAS", "Moneda0", "Pts"), "Pts");
  const std::string file = folder.File("calcu.INI");
  WriteBytes(file, "[MONEDAS]\nMoneda0=Eur\n");
  EXPECT_EQ(ReadProfileString(file, "MONEDAS", "Moneda0", "Pts"), "Eur");
  ::chmod(file.c_str(), 0);
  EXPECT_TRUE(testing::AsOrdinaryUser(
      [&] { return ReadProfileString(file, "MONEDAS", "Moneda0", "Pts") == "Pts"; }));
}

TEST(PrivateProfileFile, WritesAllKeysInOneReplacement) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  ASSERT_TRUE(WriteProfileStrings(file, "MONEDAS", {{"Moneda0", "Pts"}, {"Decimales0", "0"}}));
  EXPECT_EQ(ReadBytes(file), "[MONEDAS]\r\nMoneda0=Pts\r\nDecimales0=0\r\n");

  WriteBytes(file, "[Ventana]\nx=1\n[MONEDAS]\nDecimales0=2\n; kept\n");
  ASSERT_TRUE(WriteProfileStrings(file, "MONEDAS", {{"Moneda0", "Eur"}, {"Decimales0", "2"}}));
  EXPECT_EQ(ReadBytes(file), "[Ventana]\nx=1\n[MONEDAS]\nDecimales0=2\n; kept\nMoneda0=Eur\n");
}

TEST(PrivateProfileFile, AnOversizedFileGivesDefaultsAndIsNotOverwritten) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  WriteBytes(file, "[MONEDAS]\nMoneda0=Eur\n");
  ASSERT_EQ(::truncate(file.c_str(), PrivateProfile::kMaxFileBytes), 0);  // at the limit
  EXPECT_EQ(ReadProfileString(file, "MONEDAS", "Moneda0", "Pts"), "Eur");
  ASSERT_EQ(::truncate(file.c_str(), PrivateProfile::kMaxFileBytes + 1), 0);
  EXPECT_EQ(ReadProfileString(file, "MONEDAS", "Moneda0", "Pts"), "Pts");
  EXPECT_FALSE(WriteProfileStrings(file, "MONEDAS", {{"Moneda0", "Pts"}}));
  EXPECT_EQ(std::filesystem::file_size(file), PrivateProfile::kMaxFileBytes + 1);
  EXPECT_EQ(ReadBytes(file).substr(0, 22), "[MONEDAS]\nMoneda0=Eur\n");
}

TEST(PrivateProfileFile, AFileThatCannotBeReadIsNotOverwritten) {
  TempFolder folder;
  const std::string file = folder.File("calcu.INI");
  WriteBytes(file, "[Ventana]\nx=1\n");
  ::chmod(file.c_str(), 0222);  // write-only: replacing it would lose what cannot be read
  ::chmod(folder.path().c_str(), 0777);
  EXPECT_TRUE(testing::AsOrdinaryUser([&] {
    return !WriteProfileStrings(file, "MONEDAS", {{"Moneda0", "Pts"}});
  }));
  EXPECT_EQ(ReadBytes(file), "[Ventana]\nx=1\n");
}

}  // namespace
}  // namespace dravello
