#include "platform/os/codepage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/support/temp_folder.h"

namespace ferolin::os {
namespace {

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Cp1252Case {
  const char* name;
  std::string bytes;
  std::string utf8;
};

class Cp1252Table : public ::testing::TestWithParam<Cp1252Case> {};

TEST_P(Cp1252Table, DecodesAndEncodesBack) {
  const auto& c = GetParam();
  EXPECT_EQ(Cp1252ToUtf8(c.bytes), c.utf8);
  EXPECT_EQ(Utf8ToCp1252(c.utf8), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Cp1252Table,
    ::testing::Values(
        Cp1252Case{"ascii", "Clave=Valor 1,5;x", "Clave=Valor 1,5;x"},
        Cp1252Case{"latin", "Atenci\xF3n a\xF1o \xD1", "Atención año Ñ"},
        Cp1252Case{"euro_and_quotes", "\x80 \x93x\x94 \x85", "€ “x” …"},
        Cp1252Case{"y_diaeresis_and_nul", std::string("a\xFF\0b", 4), std::string("aÿ\0b", 5)},
        // Bytes Windows-1252 leaves undefined still round-trip.
        Cp1252Case{"undefined", "\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        Cp1252Case{"empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp1252, CharactersWithoutAFormBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a中b😀c"), "a?b?c");
  EXPECT_EQ(Utf8ToCp1252("a\xFF"
                         "b\xE2\x82"),
            "a?b??");  // each invalid byte
}

struct ImportCase {
  const char* name;
  std::string bytes;
  std::string text;
};

class ImportDecode : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportDecode, PicksTheEncoding) {
  EXPECT_EQ(DecodeImportText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportDecode,
    ::testing::Values(ImportCase{"utf8_with_mark",
                                 "\xEF\xBB\xBF"
                                 "1001;Año",
                                 "1001;Año"},
                      ImportCase{"utf8_without_mark", "1001;Año\r\n", "1001;Año\r\n"},
                      ImportCase{"cp1252", "1001;A\xF1o\r\n", "1001;Año\r\n"},
                      // One byte that cannot be UTF-8 makes the whole file Windows-1252.
                      ImportCase{"mixed_is_cp1252", "\xC3\xB1 \xF1", "Ã± ñ"},
                      ImportCase{"overlong_is_cp1252", "\xC0\xAF", "À¯"},
                      ImportCase{"mark_with_bad_byte",
                                 "\xEF\xBB\xBF"
                                 "a\xFF"
                                 "b",
                                 "a\xEF\xBF\xBD"
                                 "b"},
                      ImportCase{"only_mark", "\xEF\xBB\xBF", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFiles, WriteAppendAndReadBackThroughWindows1252) {
  testing::TempFolder tmp;
  const auto path = tmp.file("BASES.TXT").string();
  WriteTextFile(path, "Compañía,1\r\n");
  AppendTextLine(path, "Señal,2");
  AppendTextLine(path, "fin", "\n");
  EXPECT_EQ(Bytes(path),
            "Compa\xF1\xED"
            "a,1\r\nSe\xF1"
            "al,2\r\nfin\n");
  EXPECT_EQ(ReadTextFile(path), "Compañía,1\r\nSeñal,2\r\nfin\n");
  EXPECT_EQ(ReadTextLines(path), (std::vector<std::string>{"Compañía,1", "Señal,2", "fin"}));
  WriteTextFile(path, "nuevo");
  EXPECT_EQ(Bytes(path), "nuevo");
}

TEST(TextFiles, AppendCreatesAMissingFile) {
  testing::TempFolder tmp;
  const auto path = tmp.file("KVERR.LOG");
  AppendTextLine(path.string(), "línea");
  EXPECT_EQ(Bytes(path), "l\xEDnea\r\n");
}

TEST(TextFiles, SplitsEveryKindOfLineEnd) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextFiles, FailuresRaiseAClearError) {
  testing::TempFolder tmp;
  const auto missing = tmp.file("no-existe.txt").string();
  try {
    ReadTextFile(missing);
    FAIL() << "no error for a missing file";
  } catch (const TextFileError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
  }
  EXPECT_THROW(WriteTextFile(tmp.file("no/such/dir.txt").string(), "x"), TextFileError);
  EXPECT_THROW(AppendTextLine(tmp.path().string(), "x"), TextFileError);  // a folder
}

TEST(TextFiles, ReadsBinaryBytesUnchanged) {
  testing::TempFolder tmp;
  std::string bytes(1202, '\0');
  bytes[5] = '\xFF';
  WriteBytes(tmp.file("consultas.kvt"), bytes);
  EXPECT_EQ(ReadFileBytes(tmp.file("consultas.kvt").string()), bytes);
}

}  // namespace
}  // namespace ferolin::os
