// DB_Dll: local database files.

#include "data_access/con_reintentos.h"
#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {

bool ArchivoNoEncontrado(const std::string& estado) {
  return estado == "3024" || estado == "3051" || estado == "3044";
}

}  // namespace

void DB_Dll::OpenLocalADODB(const std::string& ConnString, const std::string& CadenaID,
                            const std::string& CadenaPWD) {
  std::string clausula;
  bool buscarArchivo = texto::Recortar(gDBName).empty();
  bool passwordGuardadaUsada = false;
  for (;;) {
    if (buscarArchivo) {
      outside::DialogoArchivo& dialogo = CmdDlg();
      dialogo.Titulo = "Buscar Base de Datos";
      dialogo.Filtro = "Base de Datos de Microsoft Access |*.MDB";
      dialogo.MostrarAbrir();
      gDBName = dialogo.NombreArchivo();
      if (dialogo.Cancelado()) return;
    }
    const std::string cadena = ConnString.empty()
                                   ? "PROVIDER=" + gProveedor + ";" + "Data Source =" + gDBName +
                                         ";" + CadenaID + "=" + gUsuario + ";" + CadenaPWD + "=" +
                                         gUserPassWord + ";" + gExtended + clausula
                                   : ConnString;
    OperacionesConexion& cnn = Operaciones();
    // Each attempt is judged by its own errors, not by an earlier one's.
    cnn.Errors().Clear();
    try {
      cnn.Open(cadena, "", "");
      gConnString = cadena;
      return;
    } catch (const std::exception& ex) {
      const outside::ErrorInfo e = ErrorDe(ex);
      gConnString = cadena;
      const db::ProviderErrors& errores = cnn.Errors();
      const std::string estado = errores.Empty() ? "" : texto::Recortar(errores.Item(0).sqlState);
      if (ArchivoNoEncontrado(estado)) {
        buscarArchivo = true;
        continue;
      }
      if (estado == "3031") {
        // The stored password is tried once; after that the operator is asked.
        if (gIgnoraPassWord.value_or(false) && !passwordGuardadaUsada) {
          passwordGuardadaUsada = true;
          clausula = "Jet OLEDB:Database Password=" + gUserPassWord + ";";
          continue;
        }
        const auto password = contexto_.prompt.Input("ingrese el password:", "Password Access");
        if (!password) return;  // cancelled: the database stays closed
        clausula = " Jet OLEDB:Database Password=" + *password + ";";
        continue;
      }
      contexto_.prompt.Message(std::to_string(e.number) + "  " + e.description,
                               ui::buttons::kOk + ui::icon::kCritical, contexto_.nombrePrograma);
      return;
    }
  }
}

}  // namespace ferolin
