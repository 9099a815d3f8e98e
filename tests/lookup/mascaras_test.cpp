// The masks file: fixed 1202-byte records, byte for byte.

#include "lookup/mascaras.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/temp_folder.h"

namespace ferolin::testing {
namespace {

std::string Bytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// One record built from the layout: four blank-padded fields and CR LF.
std::string Registro(const std::string& titulo, const std::string& tabla, const std::string& campos,
                     const std::string& filtro = "") {
  auto campo = [](std::string s, std::size_t n) {
    s.resize(n, ' ');
    return s;
  };
  return campo(titulo, 100) + campo(tabla, 100) + campo(campos, 500) + campo(filtro, 500) + "\r\n";
}

TEST(Mascaras, ArchivoPorDefectoByteAByte) {
  TempFolder dir;
  const auto ruta = dir.file("consultas.kvt");
  EscribirMascarasPorDefecto(ruta.string());

  const std::string esperado =
      Registro("ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|") +
      Registro("CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|") +
      Registro("PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|") +
      Registro("CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|") +
      Registro("VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|") +
      Registro("TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|") +
      Registro("MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|") +
      Registro("CUENTAS", "MA_CUENTAS", "|DESCRIPCION|CODIGO|") +
      Registro("TAREAS", "V_TA_Tareas", "|Descripcion|IdTarea|") +
      Registro("UnidadNegocio", "V_TA_UnidadNegocio", "|Descripcion|Codigo|") +
      Registro("DEPOSITO", "V_TA_DEPOSITO", "|Descripcion|IdDeposito|");
  ASSERT_EQ(esperado.size(), 11u * 1202u);
  EXPECT_EQ(Bytes(ruta), esperado);
}

TEST(Mascaras, RegistroEscritoPorOtroProgramaSeLeeIgual) {
  TempFolder dir;
  const auto ruta = dir.file("consultas.kvt");
  // Windows-1252 bytes: "Ñ" is 0xD1, "€" is 0x80.
  std::string titulo = "PEQUE\xD1OS \x80";
  const std::string archivo = Registro(titulo, "MA_CUENTAS", "|DESCRIPCION|CODIGO|", "TIPO = 'I'") +
                              Registro("X", "VT_CLIENTES", "|A|B|");
  {
    std::ofstream out(ruta, std::ios::binary);
    out << archivo;
  }
  auto regs = LeerMascaras(ruta.string());
  ASSERT_EQ(regs.size(), 2u);
  EXPECT_EQ(regs[0].Titulo.substr(0, 14), "PEQUEÑOS € ");
  EXPECT_EQ(regs[0].Tabla, std::string("MA_CUENTAS") + std::string(90, ' '));
  EXPECT_EQ(regs[0].Filtro.substr(0, 10), "TIPO = 'I'");
  EXPECT_EQ(regs[0].FinDeLinea, "\r\n");
  EXPECT_EQ(regs[1].Campos.substr(0, 5), "|A|B|");

  // Written back, the records are the same bytes.
  std::string reescrito;
  for (const auto& r : regs) reescrito += CodificarMascara(r);
  EXPECT_EQ(reescrito, archivo);
}

TEST(Mascaras, AgregarVaDetrasDelUltimoRegistroEntero) {
  TempFolder dir;
  const auto ruta = dir.file("consultas.kvt");
  {
    std::ofstream out(ruta, std::ios::binary);
    out << Registro("A", "T1", "|X|") << "basura";  // a partial record after a whole one
  }
  RegMascara r;
  r.Titulo = "B";
  r.Tabla = "T2";
  r.Campos = "|Y|Z|";
  AgregarMascara(ruta.string(), r);
  EXPECT_EQ(Bytes(ruta), Registro("A", "T1", "|X|") + Registro("B", "T2", "|Y|Z|"));

  // Texts longer than their field are cut.
  RegMascara largo;
  largo.Tabla = std::string(150, 'T');
  EXPECT_EQ(CodificarMascara(largo).substr(100, 100), std::string(100, 'T'));
  EXPECT_EQ(CodificarMascara(largo).size(), 1202u);
}

TEST(Mascaras, RutaImposibleFalla) {
  EXPECT_THROW(EscribirMascarasPorDefecto("/nonexistent-dir/x/consultas.kvt"), std::runtime_error);
  EXPECT_TRUE(LeerMascaras("/nonexistent-dir/x/consultas.kvt").empty());
}

}  // namespace
}  // namespace ferolin::testing
