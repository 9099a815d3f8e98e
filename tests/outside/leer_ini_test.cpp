#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "outside/sistema.h"
#include "outside/teclado.h"
#include "platform/os/environment.h"
#include "tests/support/temp_folder.h"

namespace ferolin::outside {
namespace {

// Written as Windows-1252 bytes, as the suite's tools write it.
const char kIni[] =
    "; settings of the workstation\r\n"
    "[PC01|JUANBaseDeDatos]\r\n"
    "Servidor=SRV01\r\n"
    "DbName =  EMPRESA  \r\n"
    "servidor=ignored, the first key wins\r\n"
    "Usuario=~4B6F7276616E74\r\n"
    "Clave=a;b ; c\r\n"
    "  Sangria=indentada\r\n"
    "Continua=primera\r\n"
    "  segunda parte\r\n"
    "Vacia=\r\n"
    "Comillas=\"  con blancos  \"\r\n"
    "Simple='x'\r\n"
    "Media=\"abierta\r\n"
    "Igual=a=b\r\n"
    "Acento=Compa\xF1\xED"
    "a\r\n"
    "\r\n"
    "[ Juan_EmpresaStyles ]\r\n"
    "Styles=2\n"
    "[pc01|juanbasededatos]\r\n"
    "Otra=from a second section of the same name\r\n"
    "[Sin cierre\r\n"
    "K=v\r\n";

struct IniCase {
  const char* section;
  const char* key;
  const char* value;
};

class LeerIniTable : public ::testing::TestWithParam<IniCase> {
 protected:
  static void SetUpTestSuite() {
    folder_ = std::make_unique<testing::TempFolder>();
    std::ofstream(folder_->file("Quadrel.INI"), std::ios::binary) << kIni;
  }
  static void TearDownTestSuite() { folder_.reset(); }
  static std::unique_ptr<testing::TempFolder> folder_;
};
std::unique_ptr<testing::TempFolder> LeerIniTable::folder_;

TEST_P(LeerIniTable, FollowsTheWindowsProfileRules) {
  const auto& c = GetParam();
  EXPECT_EQ(LeerIni(folder_->file("Quadrel.INI").string(), c.section, c.key, "<def>"), c.value)
      << c.section << " / " << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LeerIniTable,
    ::testing::Values(IniCase{"PC01|JUANBaseDeDatos", "Servidor", "SRV01"},
                      IniCase{"pc01|juanbasededatos", "SERVIDOR", "SRV01"},
                      IniCase{"PC01|JUANBaseDeDatos", "DbName", "EMPRESA"},
                      IniCase{"PC01|JUANBaseDeDatos", "Usuario", "~4B6F7276616E74"},
                      IniCase{"PC01|JUANBaseDeDatos", "Clave", "a;b ; c"},
                      IniCase{"PC01|JUANBaseDeDatos", "Sangria", "indentada"},
                      IniCase{"PC01|JUANBaseDeDatos", "Continua", "primera"},
                      IniCase{"PC01|JUANBaseDeDatos", "segunda parte", "<def>"},
                      IniCase{"PC01|JUANBaseDeDatos", "Vacia", ""},
                      IniCase{"PC01|JUANBaseDeDatos", "Comillas", "  con blancos  "},
                      IniCase{"PC01|JUANBaseDeDatos", "Simple", "x"},
                      IniCase{"PC01|JUANBaseDeDatos", "Media", "\"abierta"},
                      IniCase{"PC01|JUANBaseDeDatos", "Igual", "a=b"},
                      IniCase{"PC01|JUANBaseDeDatos", "Acento", "Compañía"},
                      IniCase{"PC01|JUANBaseDeDatos", "Styles", "<def>"},
                      IniCase{"PC01|JUANBaseDeDatos", "Otra", "<def>"},
                      IniCase{"PC01|JUANBaseDeDatos", "; settings of the workstation", "<def>"},
                      IniCase{"JUAN_EMPRESAStyles", "styles", "2"}, IniCase{"Sin cierre", "K", "v"},
                      IniCase{"No existe", "Servidor", "<def>"},
                      IniCase{"PC01|JUANBaseDeDatos", "NoExiste", "<def>"},
                      IniCase{"PC01|JUANBaseDeDatos", "", "<def>"}));

TEST(LeerIni, MissingOrOddFilesGiveTheDefault) {
  testing::TempFolder tmp;
  EXPECT_EQ(LeerIni(tmp.file("no-existe.ini").string(), "S", "K", "4"), "4");
  EXPECT_EQ(LeerIni("", "S", "K", "4"), "4");
  EXPECT_EQ(LeerIni(tmp.path().string(), "S", "K", "4"), "4");  // a folder
  std::ofstream(tmp.file("vacio.ini")) << "";
  EXPECT_EQ(LeerIni(tmp.file("vacio.ini").string(), "S", "K", "4"), "4");
}

TEST(LeerIni, FindsTheFileWhateverTheCaseOfItsName) {
  testing::TempFolder tmp;
  std::ofstream(tmp.file("Quadrel.INI")) << "[S]\nK=1\n";
  EXPECT_EQ(LeerIni(tmp.file("quadrel.ini").string(), "S", "K", "def"), "1");
}

TEST(LeerIni, AUtf8FileWithItsMarkIsReadAsUtf8) {
  testing::TempFolder tmp;
  std::ofstream(tmp.file("u.ini"), std::ios::binary) << "\xEF\xBB\xBF[S]\r\nK=año\r\n";
  EXPECT_EQ(LeerIni(tmp.file("u.ini").string(), "S", "K", "def"), "año");
}

TEST(LeerIni, ABareNameIsRelativeToTheCurrentFolder) {
  testing::TempFolder tmp;
  std::ofstream(tmp.file("Quadrel.INI")) << "[S]\nK=aqui\n";
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(tmp.path());
  const std::string value = LeerIni("Quadrel.INI", "S", "K", "def");
  std::filesystem::current_path(saved);
  EXPECT_EQ(value, "aqui");
}

TEST(Sistema, NamesTheWorkstationUserAndLogFolder) {
  const Sistema s;
  EXPECT_FALSE(s.NombreEquipo().empty());
  const std::string user = os::GetEnv("USER"), logname = os::GetEnv("LOGNAME");
  os::SetEnv("USER", "juan");
  EXPECT_EQ(s.UsuarioSistema(), "juan");
  os::UnsetEnv("USER");
  os::SetEnv("LOGNAME", "pedro");
  EXPECT_EQ(s.UsuarioSistema(), "pedro");
  os::UnsetEnv("LOGNAME");
  EXPECT_FALSE(s.UsuarioSistema().empty());  // from the password database
  if (!user.empty()) os::SetEnv("USER", user);
  if (!logname.empty()) os::SetEnv("LOGNAME", logname);
  const std::string folder = s.CarpetaSistema();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(Teclado, ExitKeysAndDecimalSeparator) {
  const Teclado t;
  for (int key : {9, 13, 27, 38, 40}) EXPECT_TRUE(t.EsTeclaDeSalida(key)) << key;
  for (int key : {8, 32, 35, 37, 39, 45, 46, 65, 116, 188, 190}) {
    EXPECT_FALSE(t.EsTeclaDeSalida(key)) << key;
  }
  const std::string sep = t.SeparadorDecimal();
  ASSERT_FALSE(sep.empty());
  EXPECT_TRUE(sep[0] == '.' || sep[0] == ',') << sep;
}

}  // namespace
}  // namespace ferolin::outside
