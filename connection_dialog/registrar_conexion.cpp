// The commands of frmAcceso that act outside the current log-in: registering
// a connection in BASES.TXT, the desktop launcher, and running a command.

#include <QLineEdit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>

#include "connection_dialog/bases_txt.h"
#include "connection_dialog/existe_archivo.h"
#include "connection_dialog/fallo.h"
#include "connection_dialog/frm_acceso.h"
#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "platform/db/errors.h"
#include "platform/os/codepage.h"
#include "platform/os/process.h"
#include "platform/os/shortcut.h"
#include "platform/ui/event_pump.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

namespace {

std::string Texto(const QLineEdit* caja) {
  return caja->text().toStdString();
}

void RecortarCaja(QLineEdit* caja) {
  caja->setText(QString::fromStdString(texto::RecortarBlancosYTabulaciones(Texto(caja))));
}

// Failures "Registrar" passes over: a closed connection and the service
// states the suite's tools raise when a server is already running or absent.
bool SeOmite(long numero) {
  switch (numero) {
    case db::err::kClosedObject:
    case 440:
    case 1056:
    case static_cast<long>(static_cast<std::int32_t>(0x80070420u)):
    case 20480:
      return true;
    default:
      return false;
  }
}

// True when the file has content whose last line has no line end, so that an
// appended record would otherwise be glued onto it.
bool UltimaLineaAbierta(const std::string& ruta) {
  std::ifstream f(std::filesystem::path(std::u8string(ruta.begin(), ruta.end())),
                  std::ios::binary | std::ios::ate);
  if (!f.is_open() || f.tellg() <= 0) return false;
  f.seekg(-1, std::ios::end);
  char ultimo = 0;
  f.get(ultimo);
  return ultimo != '\n' && ultimo != '\r';
}

}  // namespace

void frmAcceso::GuardarConexion(const std::string& Nombre, const std::string& Dbname,
                                const std::string& Usuario, const std::string& Password,
                                const std::string& Servidor) {
  const std::string ruta =
      ctx_.tarvex.utilidades().CarpetaConBarra(ctx_.carpetaPrograma) + kArchivoBases;
  // The encoded password is kept whole: blanks at its ends are part of it.
  const RegistroBase registro{
      texto::RecortarBlancosYTabulaciones(Nombre), texto::RecortarBlancosYTabulaciones(Dbname),
      texto::RecortarBlancosYTabulaciones(Usuario), ctx_.tarvex.utilidades().Codificar(Password),
      texto::RecortarBlancosYTabulaciones(Servidor)};
  std::string linea = LineaRegistro(registro);
  // A character without a Windows-1252 form would be written as "?": the
  // record would no longer name or open its connection.
  if (os::Cp1252ToUtf8(os::Utf8ToCp1252(linea)) != linea) {
    throw os::TextFileError("La conexion contiene caracteres que " + std::string(kArchivoBases) +
                            " no puede guardar");
  }
  if (UltimaLineaAbierta(ruta)) linea = "\r\n" + linea;
  os::AppendTextLine(ruta, linea);
}

void frmAcceso::CmdRegistrar_Click() {
  DB_Dll& gDB = ctx_.gDB();
  ui::OperatorPrompt& prompt = ctx_.prompt;

  // Runs one statement under the command's failure rules: the listed codes
  // are passed over, any other failure is shown and sends the command on to
  // the ODBC set-up. Returns false for such a failure.
  auto intentar = [&](const std::function<void()>& sentencia) {
    try {
      sentencia();
      return true;
    } catch (const std::exception& e) {
      const outside::ErrorInfo error = ErrorDesde(e);
      if (SeOmite(error.number)) return true;
      prompt.Message("SQL Server start failed.  \rSQL-DMO error:  " + std::to_string(error.number) +
                         " " + error.description,
                     ui::buttons::kOk, ctx_.nombrePrograma);
      return false;
    }
  };

  std::string servidor;
  std::string dbName;
  // Up to the test and the record: whether the command stops there, goes on
  // with the ODBC set-up (also after a failure shown), or only closes.
  enum class Seguir { No, Todo, SoloCerrar };
  auto yaExiste = [&] {
    prompt.Message("La conexion que intenta registrar ya existe ",
                   ui::buttons::kOk + ui::icon::kInformation, "Atencion");
  };
  auto registrar = [&]() -> Seguir {
    std::string nombre = NombreConexion(Texto(TxtDbName), Texto(TxtServidor));

    datos_.servidor.clear();
    DatosBase(nombre);
    if (!texto::RecortarBlancosYTabulaciones(datos_.servidor).empty()) {
      yaExiste();
      return Seguir::No;
    }

    RecortarCaja(TxtServidor);
    RecortarCaja(TxtUserId);
    RecortarCaja(TxtUserPassword);
    RecortarCaja(TxtDbName);
    servidor = Texto(TxtServidor);
    dbName = Texto(TxtDbName);

    // The suite's own log-in first: the database's name is its user and
    // password.
    const std::string clave = texto::MayusculasUnicode(dbName);
    bool existe = false;
    ExisteBaseDeDatos(servidor, clave, clave, clave, DB_Dll::pSQLOLEDB, existe);
    if (existe) {
      intentar([&] { GuardarConexion(nombre, dbName, dbName, dbName, servidor); });
      return Seguir::Todo;
    }

    // Then the operator's log-in.
    if (!intentar([&] {
          if (gDB.gCnn().IsOpen()) gDB.gCnn().Close();
        })) {
      return Seguir::Todo;
    }
    gDB.gServidor = servidor;
    gDB.gUsuario = Texto(TxtUserId);
    gDB.gUserPassWord = Texto(TxtUserPassword);
    gDB.gDBName = dbName;
    if (!intentar([&] { gDB.OpenServerADODB(false, 3, "", true, true); })) return Seguir::Todo;
    if (!gDB.gOpenFlag) {
      prompt.Message("NO SE PUDO CONECTAR AL SERVIDOR " + servidor +
                         " VERIFIQUE EL NOMBRE DE USUARIO Y PASSWORD INGRESADO",
                     ui::buttons::kOk + ui::icon::kInformation, "AVISO AL OPERADOR");
      return Seguir::No;
    }
    if (gDB.gDBName != dbName || gDB.gServidor != servidor) {
      // The connection step's retry let the operator type another connection:
      // the record names the one that opened, not the one that failed.
      dbName = gDB.gDBName;
      servidor = gDB.gServidor;
      nombre = NombreConexion(dbName, servidor);
      datos_.servidor.clear();
      DatosBase(nombre);
      if (!texto::RecortarBlancosYTabulaciones(datos_.servidor).empty()) {
        yaExiste();
        return Seguir::SoloCerrar;
      }
    }
    // The record carries the database name as user and password, never the
    // operator's log-in.
    intentar([&] { GuardarConexion(nombre, dbName, dbName, dbName, servidor); });
    return Seguir::Todo;
  };

  const Seguir seguir = registrar();
  if (seguir == Seguir::No) return;

  // From here on a failure is shown and the next step still runs.
  if (seguir == Seguir::Todo) {
    intentar([&] {
      const std::string carpeta = ctx_.tarvex.utilidades().CarpetaConBarra(ctx_.carpetaPrograma);
      const std::string odbc = carpeta + "ODBC.exe";
      if (!ExisteArchivo(odbc)) return;
      // The tool is handed the connection just registered.
      std::string error;
      if (os::StartProcess(odbc, {"Server=" + servidor + ";DB=" + dbName + ";"}, &error) == 0) {
        throw std::runtime_error(error);
      }
    });
  }
  intentar([&] { gDB.gCnn().Close(); });
  gDB.gOpenFlag = gDB.gCnn().IsOpen();
  intentar([&] { llenarlist(); });
}

std::string frmAcceso::ProgramaEjecutable() const {
  std::string programa =
      ctx_.tarvex.utilidades().CarpetaConBarra(ctx_.carpetaPrograma) + ctx_.nombrePrograma;
#ifdef _WIN32
  programa += ".exe";
#endif
  return programa;
}

void frmAcceso::CmdLineaComando_Click() {
  const std::string programa = ProgramaEjecutable();
  const os::ShortcutResult resultado = os::CreateDesktopShortcut("Morvello", programa, programa);
  if (!resultado.ok) {
    ctx_.prompt.Message(
        "No se pudo crear el acceso directo en el escritorio.\r\n" + resultado.error,
        ui::buttons::kOk + ui::icon::kWarning, "Aviso al Operador");
  }
}

void frmAcceso::EjecutarCmdRegDB(const std::string& Archivo, std::string& ErrDevuelto,
                                 bool& result) {
  result = true;
  const std::vector<std::string> partes = os::SplitCommandLine(Archivo);
  std::string error;
  int codigo = -1;
  if (!partes.empty()) {
    const std::vector<std::string> argumentos(partes.begin() + 1, partes.end());
    codigo = os::RunAndWait(
        partes.front(), argumentos, [] { ui::LetEventsRun(); }, &error);
  }
  // A command that could not be started, or did not end normally, is the
  // failure this method reports.
  if (partes.empty() || (codigo == -1 && !error.empty())) {
    result = false;
    ErrDevuelto = "Error al ejecutar el comando";
  }
}

}  // namespace ferolin
