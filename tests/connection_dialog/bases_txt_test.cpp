#include "connection_dialog/bases_txt.h"

#include <fstream>

#include "connection_dialog/existe_archivo.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace ferolin {
namespace {

struct CasoCampos {
  const char* nombre;
  const char* linea;
  std::vector<std::string> campos;
};
void PrintTo(const CasoCampos& c, std::ostream* os) {
  *os << c.nombre;
}

class LeerCamposTest : public ::testing::TestWithParam<CasoCampos> {};

TEST_P(LeerCamposTest, ReadsLikeCommaSeparatedInput) {
  EXPECT_EQ(LeerCampos(GetParam().linea), GetParam().campos);
}

INSTANTIATE_TEST_SUITE_P(
    Lineas, LeerCamposTest,
    ::testing::Values(
        CasoCampos{"bare",
                   "EMPRESA / SRV01,EMPRESA,EMPRESA,~41,SRV01",
                   {"EMPRESA / SRV01", "EMPRESA", "EMPRESA", "~41", "SRV01"}},
        CasoCampos{"blanksAndLineEnd",
                   "  A / B ,  b\t, u ,p,  srv:1450  \r\n",
                   {"A / B", "b", "u", "p", "srv:1450"}},
        CasoCampos{"quoted",
                   "\"A, B / S\",\" keep \",u,\"x\"\"y\",s",
                   {"A, B / S", " keep ", "u", "x\"y", "s"}},
        CasoCampos{"textAfterQuote", "\"quoted\" trailing,next", {"quoted", "next"}},
        CasoCampos{"emptyField", "a,,c", {"a", "", "c"}},
        CasoCampos{"trailingComma", "a,", {"a", ""}},
        CasoCampos{"unterminatedQuote", "\"unterminated, still one", {"unterminated, still one"}},
        CasoCampos{"blankLine", "   ", {}}, CasoCampos{"emptyLine", "", {}}));

TEST(RegistroBaseTest, LineHoldsOneRecordWhateverItsFieldCount) {
  const RegistroBase corto = RegistroDesdeLinea("SOLO / S,db");
  EXPECT_EQ(corto.nombre, "SOLO / S");
  EXPECT_EQ(corto.dbName, "db");
  EXPECT_EQ(corto.servidor, "");

  // A bare comma inside a value shifts the fields of its own record only.
  const RegistroBase largo = RegistroDesdeLinea("N / S,db,us,er,pw,srv");
  EXPECT_EQ(largo.usuario, "us");
  EXPECT_EQ(largo.password, "er");
  EXPECT_EQ(largo.servidor, "pw");
}

TEST(RegistroBaseTest, WrittenLineReadsBackToTheSameValues) {
  const std::vector<RegistroBase> registros = {
      {"EMPRESA / SRV01", "Empresa", "Empresa", "~456D7072657361", "srv01:1450"},
      {"A,B / S", "a,b", "u\"v", " clave con bordes ", "s"},
      {"ÑANDÚ / SRV", "ñandú", "José", "~C3B1", "SRV"},
  };
  for (const auto& r : registros) {
    const RegistroBase leido = RegistroDesdeLinea(LineaRegistro(r));
    EXPECT_EQ(leido.nombre, r.nombre);
    EXPECT_EQ(leido.dbName, r.dbName);
    EXPECT_EQ(leido.usuario, r.usuario);
    EXPECT_EQ(leido.password, r.password);
    EXPECT_EQ(leido.servidor, r.servidor);
  }
  // Plain values stay bare, as every program of the suite writes them.
  EXPECT_EQ(LineaRegistro(registros[0]),
            "EMPRESA / SRV01,Empresa,Empresa,~456D7072657361,srv01:1450");
  EXPECT_THROW(LineaRegistro({"N", "d", "u", "p\nq", "s"}), std::invalid_argument);
}

struct CasoServidor {
  const char* caso;
  const char* db;
  const char* servidor;
  const char* nombre;
  const char* sinPuerto;
  std::optional<std::string> puerto;
};

void PrintTo(const CasoServidor& c, std::ostream* os) {
  *os << c.caso;
}

class ServidorTest : public ::testing::TestWithParam<CasoServidor> {};

TEST_P(ServidorTest, NameAndPortComeFromTheServer) {
  const auto& c = GetParam();
  EXPECT_EQ(NombreConexion(c.db, c.servidor), c.nombre);
  const ServidorPuerto partes = SepararPuerto(c.servidor);
  EXPECT_EQ(partes.servidor, c.sinPuerto);
  EXPECT_EQ(partes.puerto, c.puerto);
}

INSTANTIATE_TEST_SUITE_P(Servidores, ServidorTest,
                         ::testing::Values(CasoServidor{"plain", "empresa", "SRV01",
                                                        "EMPRESA / SRV01", "SRV01", std::nullopt},
                                           CasoServidor{"port", " Empresa ", " srv01:1450",
                                                        "EMPRESA / SRV01", "SRV01", "1450"},
                                           CasoServidor{"instanceAndPort", "e", "host\\inst:1:2",
                                                        "E / HOST\\INST", "HOST\\INST", "1:2"},
                                           // Without a port the server is left exactly as stored.
                                           CasoServidor{"instanceNoPort", "e", "srv\\inst",
                                                        "E / SRV\\INST", "srv\\inst", std::nullopt},
                                           CasoServidor{"accented", "ñandú", "sérvidor",
                                                        "ÑANDÚ / SÉRVIDOR", "sérvidor",
                                                        std::nullopt}));

TEST(ExisteArchivoTest, OnlyAReadableFileCounts) {
  testing::TempFolder carpeta;
  const std::string archivo = carpeta.file("BASES.TXT").string();
  std::ofstream(archivo) << "x";
  const std::string ilegible = carpeta.file("cerrado.txt").string();
  std::ofstream(ilegible) << "x";
  std::filesystem::permissions(ilegible, std::filesystem::perms::none);
  const bool comoRoot = std::ifstream(ilegible).is_open();

  EXPECT_TRUE(ExisteArchivo(archivo));
  EXPECT_TRUE(ExisteArchivo("\"" + archivo + "\""));  // quotes anywhere are dropped
  EXPECT_FALSE(ExisteArchivo(carpeta.file("otro.txt").string()));
  EXPECT_FALSE(ExisteArchivo(carpeta.path().string()));  // a folder
  EXPECT_FALSE(ExisteArchivo(""));
  if (!comoRoot) {
    EXPECT_FALSE(ExisteArchivo(ilegible));
  }
}

}  // namespace
}  // namespace ferolin
