// Launch-parameter strings: reading them, and writing them for a sibling
// program so that it reads back the same values.

#include <gtest/gtest.h>

#include <ostream>

#include "data_access/texto.h"
#include "startup/estilo.h"
#include "startup/iniciar_programa.h"
#include "startup/menu_exes.h"

namespace ferolin {
namespace {

struct CasoParametros {
  const char* nombre;
  const char* linea;
  ParametrosLanzamiento esperado;
};

void PrintTo(const CasoParametros& c, std::ostream* os) {
  *os << c.linea;
}

ParametrosLanzamiento P(std::string server, std::string db, std::string usuario, std::string clave,
                        std::string logeado = "", std::string caja = "1",
                        std::string adicional = "", std::string menu = "") {
  ParametrosLanzamiento p;
  p.Server = std::move(server);
  p.DbName = std::move(db);
  p.Usuario = std::move(usuario);
  p.Password = std::move(clave);
  p.UsuarioLogeado = std::move(logeado);
  p.Caja = std::move(caja);
  p.ParametroAdicional = std::move(adicional);
  p.Menu = std::move(menu);
  return p;
}

class LeerParametros : public ::testing::TestWithParam<CasoParametros> {};

TEST_P(LeerParametros, DaLosValoresDeCadaClave) {
  const auto& c = GetParam();
  const ParametrosLanzamiento p = LeerParametrosLanzamiento(c.linea);
  EXPECT_EQ(p.Server, c.esperado.Server);
  EXPECT_EQ(p.DbName, c.esperado.DbName);
  EXPECT_EQ(p.Usuario, c.esperado.Usuario);
  EXPECT_EQ(p.Password, c.esperado.Password);
  EXPECT_EQ(p.UsuarioLogeado, c.esperado.UsuarioLogeado);
  EXPECT_EQ(p.Caja, c.esperado.Caja);
  EXPECT_EQ(p.ParametroAdicional, c.esperado.ParametroAdicional);
  EXPECT_EQ(p.Menu, c.esperado.Menu);
}

INSTANTIATE_TEST_SUITE_P(
    Reglas, LeerParametros,
    ::testing::Values(
        CasoParametros{"ComoLaEscribeLaSuite",
                       "@server=SRV01; @dbname= GESTION; @usuario= sa; @Password= secreta; "
                       "@ParametroAdicional=; @Caja=1;mirk@",
                       P("SRV01", "GESTION", "sa", "secreta")},
        CasoParametros{"VaciaDaLosValoresPorDefecto", "", P("", "", "", "")},
        CasoParametros{"SoloBlancos", "    ", P("", "", "", "")},
        CasoParametros{"ClavesEnCualquierCasoYSinBlanco",
                       "@SERVER=SRV01;@DBNAME=GESTION;@USUARIO=sa;@password=x;@caja=7;mirk@",
                       P("SRV01", "GESTION", "sa", "x", "", "7")},
        CasoParametros{"BlancosAlrededorDelValor", "@server =   SRV01   ; @dbname=  A B  ;mirk@",
                       P("SRV01", "A B", "", "")},
        CasoParametros{"ElValorPierdeSusIguales", "@Password= a=b==c; @server=S;mirk@",
                       P("S", "", "", "abc")},
        CasoParametros{"PrimeraAparicion", "@server=UNO; @server=DOS;mirk@", P("UNO", "", "", "")},
        CasoParametros{"UsuarioAntesDeUsuarioLogeado",
                       "@usuario=sa; @UsuarioLogeado = juan; @Caja=2;mirk@",
                       P("", "", "sa", "", "juan", "2")},
        CasoParametros{"UsuarioLogeadoAntesDeUsuario", "@UsuarioLogeado=juan; @usuario=sa;mirk@",
                       P("", "", "Logeadojuan", "", "juan")},
        CasoParametros{"UltimoSinPuntoYComaQuedaVacio", "@server=S; @usuario=sa",
                       P("S", "", "", "")},
        CasoParametros{"CajaSinPuntoYComaQuedaVacia", "@server=S; @Caja=3",
                       P("S", "", "", "", "", "")},
        CasoParametros{"MenuYAdicional", "@Menu=ABM; @ParametroAdicional=001 X;mirk@",
                       P("", "", "", "", "", "1", "001 X", "ABM")},
        CasoParametros{"TextoAjenoSeIgnora", "basura @server=S; otra cosa;mirk@",
                       P("S", "", "", "")},
        CasoParametros{"ValorNoAscii", "@usuario= Muñoz ;mirk@", P("", "", "Muñoz", "")}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(ServidorSinPuerto, QuitaProtocoloYPuerto) {
  const std::pair<const char*, const char*> casos[] = {
      {"np/SRV01:1433", "SRV01"}, {"SRV01:1433", "SRV01"}, {"SRV01\\SQL", "SRV01\\SQL"},
      {"tcp:SRV01", "tcp"},       {"a/b/c:1", "b/c"},      {"", ""},
      {"SRV01", "SRV01"},
  };
  for (const auto& [entrada, salida] : casos) {
    EXPECT_EQ(ServidorSinPuerto(entrada), salida) << entrada;
  }
}

// What MenuExes writes must read back, with the start-up's rules, to the same
// connection data; ";" and "=" are the characters that cannot travel.
TEST(ParametrosParaHermano, SeLeenConLasReglasDelInicio) {
  const std::string s =
      ParametrosParaHermano("np/SRV:1433", "GESTION", "sa", "cl@ve 1", "ABC", "Juan Pérez", "4");
  EXPECT_EQ(s,
            " ; @server=np/SRV:1433; @dbname=GESTION; @usuario=sa; @Password=cl@ve 1; "
            "@ParametroAdicional=ABC; mirk@ ; @UsuarioLogeado = Juan Pérez; @Caja=4;");
  const ParametrosLanzamiento p = LeerParametrosLanzamiento(s);
  EXPECT_EQ(p.Server, "np/SRV:1433");
  EXPECT_EQ(p.DbName, "GESTION");
  EXPECT_EQ(p.Usuario, "sa");
  EXPECT_EQ(p.Password, "cl@ve 1");
  EXPECT_EQ(p.ParametroAdicional, "ABC");
  EXPECT_EQ(p.UsuarioLogeado, "Juan Pérez");
  EXPECT_EQ(p.Caja, "4");

  EXPECT_EQ(
      LeerParametrosLanzamiento(ParametrosParaHermano("S", "D", "u", "a;b", "", "", "1")).Password,
      "a");
  EXPECT_EQ(
      LeerParametrosLanzamiento(ParametrosParaHermano("S", "D", "u", "a=b", "", "", "1")).Password,
      "ab");
}

TEST(ProgramaHermano, RutaSegunLaFormaDelNombre) {
  const std::pair<const char*, const char*> casos[] = {
      {"SHELL:V_TA_TABLAS", "/opt/kv/V_TA_TABLAS"},   {"shell:V_TA_TABLAS", "/opt/kv/V_TA_TABLAS"},
      {"V_TA_TABLAS", "/opt/kv/V_TA_TABLAS"},         {"SHELL:/usr/bin/prog", "/usr/bin/prog"},
      {"SHELL:C:\\KV\\PROG.EXE", "C:\\KV\\PROG.EXE"},
  };
  for (const auto& [programa, ruta] : casos) {
    EXPECT_EQ(ProgramaHermano("/opt/kv/", programa), ruta) << programa;
  }
}

TEST(ElegirEstilo, UnEstiloPorValor) {
  const std::tuple<const char*, const char*, const char*> casos[] = {
      {"1", "Styles/Vista.qss", ""},          {"2", "Styles/WinXP.Luna.qss", ""},
      {" 3 ", "Styles/WinXP.Royale.qss", ""}, {"4", "Styles/iTunes.qss", "Normalitunes.ini"},
      {"5", "Styles/Office2007.qss", ""},     {"0", "Styles/Office2007.qss", ""},
      {"azul", "Styles/Office2007.qss", ""},  {"", "Styles/Office2007.qss", ""},
      {"-1", "Styles/Office2007.qss", ""},    {"99999", "Styles/Office2007.qss", ""},
      {"2abc", "Styles/WinXP.Luna.qss", ""},
  };
  for (const auto& [valor, archivo, opciones] : casos) {
    const EleccionEstilo e = ElegirEstilo(ValorEstilo(valor));
    EXPECT_EQ(e.archivo, archivo) << valor;
    EXPECT_EQ(e.opciones, opciones) << valor;
  }
}

TEST(ValorNumerico, LeeElNumeroDelPrincipio) {
  const std::pair<const char*, double> casos[] = {
      {"", 0},    {"abc", 0}, {"90", 90},  {"  12.5xyz", 12.5}, {"-3", -3},
      {"1,5", 1}, {"+7", 7},  {".5", 0.5}, {"0x10", 0},         {"1e3", 1},
  };
  for (const auto& [t, v] : casos) EXPECT_DOUBLE_EQ(texto::ValorNumerico(t), v) << t;
}

}  // namespace
}  // namespace ferolin
