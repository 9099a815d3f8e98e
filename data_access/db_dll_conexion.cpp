// DB_Dll: state and the server connection.

#include <string>

#include "data_access/con_reintentos.h"
#include "data_access/db_dll.h"
#include "data_access/texto.h"

namespace ferolin {

namespace {
constexpr const char* kProveedorOracle = "OraOLEDB.Oracle.1";
constexpr const char* kTituloErrorConexion = " Error de Conexion a Base de Datos";
}  // namespace

DB_Dll::DB_Dll(ContextoDatos& contexto) : contexto_(contexto), utilidades_(contexto.prompt) {}

DB_Dll::~DB_Dll() = default;

outside::DialogoArchivo& DB_Dll::CmdDlg() {
  if (!cmdDlg_) cmdDlg_ = std::make_unique<outside::DialogoArchivo>(contexto_.prompt);
  return *cmdDlg_;
}

db::Connection& DB_Dll::gCnn() {
  if (!cnn_) cnn_ = std::make_unique<db::Connection>();
  return *cnn_;
}

OperacionesConexion& DB_Dll::Operaciones() {
  if (!operaciones_) operaciones_ = std::make_unique<ConexionDirecta>(gCnn());
  return *operaciones_;
}

void DB_Dll::UsarOperaciones(std::unique_ptr<OperacionesConexion> operaciones) {
  operaciones_ = std::move(operaciones);
}

void DB_Dll::ArmarCadenaConexion() {
  if (gServidor.find('#') != std::string::npos) {
    gConnString = std::string("Provider=") + kProveedorOracle + ";Data Source=" + gDBName +
                  ";User Id=" + gUsuario + ";Password=" + gUserPassWord + ";";
  } else {
    gConnString = std::string("PROVIDER=") + pSQLOLEDB + ";" + "Server=" + gServidor + ";" +
                  "Database =" + gDBName + ";" + "UId=" + gUsuario + ";" + "Pwd=" + gUserPassWord +
                  ";" + gExtended;
  }
}

bool DB_Dll::PedirParametros() {
  DialogoConexion* dialogo = contexto_.dialogoConexion;
  std::optional<DialogoConexion::Datos> respuesta;
  if (dialogo) respuesta = dialogo->Pedir({gServidor, gDBName, gUsuario, gUserPassWord, 0});
  if (respuesta) {
    gOpenFlag = true;
    gDBName = respuesta->dbName;
    gServidor = respuesta->servidor;
    gUsuario = respuesta->usuario;
    gUserPassWord = respuesta->password;
    if (respuesta->plataforma > 0) {
      gProveedor = kProveedorOracle;
      if (gServidor.find('#') == std::string::npos) gServidor += "#";
    } else {
      gProveedor = pSQLOLEDB;
    }
  } else {
    gOpenFlag = false;
  }
  if (dialogo) dialogo->Ocultar();
  return gOpenFlag;
}

std::string DB_Dll::MensajeErrorConexion(const db::ProviderError& e) {
  const std::string CR = "\r";
  const std::string CRLF = "\r\n";
  DB_Dll& principal = contexto_.gDB();
  return " Estado de Sql: " + e.sqlState + CR + "Numero de Error: " + std::to_string(e.number) +
         CR + "Descripcion: " + e.description + CR +
         "Codigo Nativo: " + std::to_string(e.nativeError) + CR + CRLF +
         "Nombre de Proceso: " + contexto_.nombrePrograma + CR + CRLF + CRLF +
         "1. Verifique el Usuario, contraseña y base de datos" + CRLF +
         "2. Verifique el nombre del servidor, quizas necesite agregarle el nombre de la "
         "instancia, por ejemplo : " +
         principal.gServidor + "\\TARVEX" + CRLF +
         "3. Verifique si el inicio de sesion para el usuario " + principal.gUsuario + " existe" +
         CRLF + CRLF + CRLF + " - Desea Intentarlo Nuevamente??? ";
}

void DB_Dll::OpenServerADODB(bool PideParametrosSQL, long lCursor, const std::string& ConnString,
                             bool ValidaAdmin, bool MuestraError) {
  bool reintento3705 = false;
  gOpenFlag = true;
  if (gProveedor.empty()) gProveedor = pSQLOLEDB;

  if (texto::Recortar(ConnString).empty()) {
    ArmarCadenaConexion();
  } else {
    gConnString = ConnString;
  }
  if (PideParametrosSQL) {
    if (!PedirParametros()) return;
    ArmarCadenaConexion();
  }

  // An open attempt on an open connection is retried once after closing it.
  auto reintentarCerrada = [&](const outside::ErrorInfo& e) {
    if (e.number != db::err::kAlreadyOpen || reintento3705) return false;
    reintento3705 = true;
    try {
      Operaciones().Close();
    } catch (const std::exception&) {
      // The step is run again either way; its failure is reported then.
    }
    return true;
  };
  auto manejar = [&](const outside::ErrorInfo& e) -> int {
    if (!MuestraError) {
      if (reintentarCerrada(e)) return ui::answer::kRetry;
      gOpenFlag = false;
      return ui::answer::kAbort;
    }
    db::ProviderErrors& errores = Operaciones().Errors();
    if (!errores.Empty()) {
      const int r =
          contexto_.prompt.Message(MensajeErrorConexion(errores.Item(0)),
                                   ui::buttons::kYesNo + ui::icon::kCritical, kTituloErrorConexion);
      if (r != ui::answer::kYes) {
        gOpenFlag = false;
        return ui::answer::kAbort;
      }
      errores.Clear();
      if (contexto_.dialogoConexion) contexto_.dialogoConexion->Ocultar();
      if (!PedirParametros()) return ui::answer::kAbort;
      ArmarCadenaConexion();
      return ui::answer::kRetry;
    }
    if (reintentarCerrada(e)) return ui::answer::kRetry;
    contexto_.prompt.Message(e.description, ui::buttons::kOk, contexto_.nombrePrograma);
    gOpenFlag = false;
    return ui::answer::kAbort;
  };

  auto paso = [&](auto&& f) { return ConReintentos(f, manejar) == Resultado::Hecho; };
  if (!paso([&] { gCnn().SetCursorLocation(static_cast<int>(lCursor)); })) return;
  if (!paso([&] { Operaciones().Open(gConnString, "", ""); })) return;

  // Administrator check.
  if (!ValidaAdmin) {
    gEsAdmin = true;
    return;
  }
  if (texto::Recortar(gDBName).empty()) return;
  if (!paso([&] { gCnn().SetDefaultDatabase(gDBName); })) return;
  bool hayUsuarios = false;
  if (!paso([&] { hayUsuarios = contexto_.gDB().ExisteTablaDB("TA_USUARIOS"); })) return;
  if (!hayUsuarios) return;
  if (!MuestraError) {
    gEsAdmin = true;
    return;
  }
  std::string administrador;
  if (!paso([&] {
        administrador =
            DatosTabla("ta_usuarios", gUsuario, "Administrador", "nombre", 8, "", true, false);
      })) {
    return;
  }
  gEsAdmin = texto::ValorNumerico(administrador) == 1;
}

void DB_Dll::ReintentaConectar() {
  gOpenFlag = false;
  auto manejar = [&](const outside::ErrorInfo& e) -> int {
    if (e.number == db::err::kClosedObject) return ui::answer::kIgnore;
    gOpenFlag = false;
    if (e.number == db::err::kUnspecified) return ui::answer::kAbort;
    return TratamientoErrores(e, 18, std::string("AbrirRecordset"));
  };
  const std::string cadena = Operaciones().ConnectionString();
  if (ConReintentos([&] { gCnn().SetCommandTimeout(5); }, manejar) == Resultado::Abandonado) {
    return;
  }
  if (ConReintentos([&] { Operaciones().Close(); }, manejar) == Resultado::Abandonado) return;
  DB_Dll& principal = contexto_.gDB();
  if (ConReintentos(
          [&] { Operaciones().Open(cadena, principal.gUsuario, principal.gUserPassWord); },
          manejar) == Resultado::Abandonado) {
    return;
  }
  gOpenFlag = true;
}

}  // namespace ferolin
