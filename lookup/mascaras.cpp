#include "lookup/mascaras.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "data_access/texto.h"
#include "platform/os/codepage.h"

namespace ferolin {
namespace {

void Campo(std::string& out, const std::string& texto, std::size_t largo) {
  std::string bytes = os::Utf8ToCp1252(texto);
  bytes.resize(largo, ' ');
  out += bytes;
}

}  // namespace

std::string CodificarMascara(const RegMascara& reg) {
  std::string out;
  out.reserve(kLargoRegMascara);
  Campo(out, reg.Titulo, kLargoTitulo);
  Campo(out, reg.Tabla, kLargoTabla);
  Campo(out, reg.Campos, kLargoCampos);
  Campo(out, reg.Filtro, kLargoFiltro);
  Campo(out, reg.FinDeLinea, 2);
  return out;
}

RegMascara DecodificarMascara(std::string_view bytes) {
  std::string datos(bytes.substr(0, std::min(bytes.size(), kLargoRegMascara)));
  datos.resize(kLargoRegMascara, '\0');
  std::string_view v(datos);
  RegMascara reg;
  std::size_t pos = 0;
  auto tomar = [&](std::size_t largo) {
    std::string s = os::Cp1252ToUtf8(v.substr(pos, largo));
    pos += largo;
    return s;
  };
  reg.Titulo = tomar(kLargoTitulo);
  reg.Tabla = tomar(kLargoTabla);
  reg.Campos = tomar(kLargoCampos);
  reg.Filtro = tomar(kLargoFiltro);
  reg.FinDeLinea = tomar(2);
  return reg;
}

std::vector<RegMascara> LeerMascaras(const std::string& ruta) {
  std::vector<RegMascara> regs;
  std::ifstream in(ruta, std::ios::binary);
  if (!in) return regs;
  std::string buf(kLargoRegMascara, '\0');
  while (true) {
    in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
    std::streamsize leidos = in.gcount();
    if (leidos <= 0) break;
    regs.push_back(
        DecodificarMascara(std::string_view(buf.data(), static_cast<std::size_t>(leidos))));
    if (leidos < static_cast<std::streamsize>(buf.size())) break;
  }
  return regs;
}

void AgregarMascara(const std::string& ruta, const RegMascara& reg) {
  std::error_code ec;
  std::uintmax_t largo = 0;
  if (std::filesystem::exists(ruta, ec)) {
    largo = std::filesystem::file_size(ruta, ec);
    if (ec) throw std::runtime_error("No se puede leer el archivo " + ruta + ": " + ec.message());
  } else {
    std::ofstream crear(ruta, std::ios::binary);
    if (!crear)
      throw std::runtime_error("No se puede crear el archivo " + ruta + ": " +
                               std::strerror(errno));
  }
  std::fstream f(ruta, std::ios::binary | std::ios::in | std::ios::out);
  if (!f)
    throw std::runtime_error("No se puede abrir el archivo " + ruta + ": " + std::strerror(errno));
  // Appended after the last whole record, as the random-access writer numbers them.
  f.seekp(static_cast<std::streamoff>((largo / kLargoRegMascara) * kLargoRegMascara));
  std::string bytes = CodificarMascara(reg);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  f.flush();
  if (!f) throw std::runtime_error("No se puede escribir el archivo " + ruta);
}

const std::vector<RegMascara>& MascarasPorDefecto() {
  static const std::vector<RegMascara> kDefecto = [] {
    struct Def {
      const char* tabla;
      const char* titulo;
      const char* campos;
    };
    const Def defs[] = {
        {"V_MA_ARTICULOS", "ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
        {"VT_CLIENTES", "CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
        {"VT_PROVEEDORES", "PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
        {"MA_CONTACTOS", "CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
        {"V_TA_VENDEDORES", "VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
        {"V_TA_TECNICOS", "TECNICOS", "|NOMBRE|IDTECNICO|"},
        {"V_MA_MANTENIMIENTOS", "MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
        {"MA_CUENTAS", "CUENTAS", "|DESCRIPCION|CODIGO|"},
        {"V_TA_Tareas", "TAREAS", "|Descripcion|IdTarea|"},
        {"V_TA_UnidadNegocio", "UnidadNegocio", "|Descripcion|Codigo|"},
        {"V_TA_DEPOSITO", "DEPOSITO", "|Descripcion|IdDeposito|"},
    };
    std::vector<RegMascara> v;
    for (const auto& d : defs) {
      RegMascara r;
      r.Titulo = texto::Recortar(d.titulo);
      r.Tabla = d.tabla;
      r.Campos = texto::Recortar(d.campos);
      r.Filtro = "";
      v.push_back(r);
    }
    return v;
  }();
  return kDefecto;
}

void EscribirMascarasPorDefecto(const std::string& ruta) {
  for (const auto& reg : MascarasPorDefecto()) AgregarMascara(ruta, reg);
}

}  // namespace ferolin
