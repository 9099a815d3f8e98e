// DB_Dll: tables and columns, read from the provider's schema rowsets.

#include "data_access/con_reintentos.h"
#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

// True when a row of the rowset names `nombre` in `campo`. A failure goes to
// gDB's report; ignoring the failed comparison of a row counts as found.
bool BuscarEnRowset(DB_Dll& db, DB_Dll& principal, int esquema,
                    const std::vector<std::string>& restricciones, const std::string& campo,
                    const std::string& nombre) {
  auto manejar = [&](const outside::ErrorInfo& e) -> int {
    return principal.TratamientoErrores(e, 18, std::string("VerificaCampos"));
  };
  std::unique_ptr<db::Recordset> rs;
  auto requerir = [&]() -> db::Recordset& {
    if (!rs) {
      throw db::DbError(err_programa::kObjetoNoEstablecido, "Variable de objeto no establecida",
                        "Ferolin");
    }
    return *rs;
  };
  if (ConReintentos([&] { rs = db.Operaciones().OpenSchema(esquema, restricciones); }, manejar) ==
      Resultado::Abandonado) {
    return false;
  }
  bool vacio = true;
  if (ConReintentos([&] { vacio = requerir().Bof() && requerir().Eof(); }, manejar) ==
      Resultado::Abandonado) {
    return false;
  }
  if (vacio) return false;
  const std::string buscado = texto::Recortar(nombre);
  for (;;) {
    bool fin = false;
    if (ConReintentos([&] { fin = requerir().Eof(); }, manejar) == Resultado::Abandonado) {
      return false;
    }
    if (fin) return false;
    bool igual = false;
    switch (ConReintentos(
        [&] {
          igual = texto::IgualSinCaso(texto::Recortar(requerir().Fields(campo).Text()), buscado);
        },
        manejar)) {
      case Resultado::Abandonado:
        return false;
      case Resultado::Omitido:
        return true;
      case Resultado::Hecho:
        break;
    }
    if (igual) return true;
    if (ConReintentos([&] { requerir().MoveNext(); }, manejar) == Resultado::Abandonado) {
      return false;
    }
  }
}

}  // namespace

bool DB_Dll::ExisteTablaDB(const std::string& Tabla) {
  return BuscarEnRowset(*this, contexto_.gDB(), db::schema::kTables, {}, "TABLE_NAME", Tabla);
}

bool DB_Dll::ExisteCampoDB(const std::string& Tabla, const std::string& Campo) {
  DB_Dll& principal = contexto_.gDB();
  if (texto::Contiene(principal.gProveedor, "ORACLE")) return true;
  return BuscarEnRowset(*this, principal, db::schema::kColumns, {gDBName, "", Tabla, ""},
                        "COLUMN_NAME", Campo);
}

void DB_Dll::AddField(const std::string& Tabla, const std::string& Campo, const std::string& Tipo,
                      bool PermiteNulos, const std::optional<std::string>& ValorDefault) {
  const std::string nulos = PermiteNulos ? " Null " : " Not Null ";
  const std::string porDefecto = ValorDefault ? " CONSTRAINT DF_" + texto::Recortar(Tabla) + "_" +
                                                    texto::Recortar(Campo) + " DEFAULT (" +
                                                    *ValorDefault + ")"
                                              : "";
  std::string sentencia =
      "ALTER TABLE dbo." + Tabla + " ADD " + Campo + " " + Tipo + nulos + porDefecto;
  long filas = 0;
  EjecutaConsultaSQL(sentencia, &filas, nullptr);
}

bool DB_Dll::VerCampoDB(const std::string& Tabla, const std::string& Campo, bool Agregar,
                        const std::string& Tipo, bool PermiteNulos,
                        const std::optional<std::string>& ValorDefault) {
  if (ExisteTablaDB(Tabla) && !ExisteCampoDB(Tabla, Campo) && Agregar) {
    AddField(Tabla, Campo, Tipo, PermiteNulos, ValorDefault);
  }
  return true;
}

}  // namespace ferolin
