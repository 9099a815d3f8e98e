#pragma once
// The data-access object: one connection and the connection parameters of the
// program run. Every statement of the program reaches the database through it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "data_access/contexto_datos.h"
#include "data_access/operaciones_conexion.h"
#include "outside/dialogo_archivo.h"
#include "outside/utilidades.h"
#include "platform/db/connection.h"
#include "platform/db/recordset.h"
#include "platform/db/value.h"

namespace ferolin {

class DB_Dll {
 public:
  explicit DB_Dll(ContextoDatos& contexto);
  ~DB_Dll();

  // --- Properties (public, as the suite uses them) ---
  outside::DialogoArchivo& CmdDlg();
  bool gOpenFlag = false;
  std::optional<bool> gIgnoraPassWord;
  db::Connection& gCnn();
  std::string gProveedor;
  std::string gDsn;
  std::string gServidor;
  std::string gDBName;
  std::string gUsuario;
  bool gEsAdmin = false;
  std::string gUserPassWord;
  std::string gConnString;
  std::string gExtended;
  std::string gLogErr;
  bool ParametrosSQL = false;
  int gKVTimeOut = 0;

  static constexpr const char* pSQLOLEDB = "SQLOLEDB";
  static constexpr const char* pJETOLEDB40 = "Microsoft.Jet.OLEDB.4.0";
  static constexpr const char* pJETOLEDB35 = "Microsoft.Jet.OLEDB.3.51";

  // --- Connections ---
  void OpenServerADODB(bool PideParametrosSQL = false, long lCursor = 3,
                       const std::string& ConnString = "", bool ValidaAdmin = true,
                       bool MuestraError = true);
  void ReintentaConectar();
  void OpenLocalADODB(const std::string& ConnString = "", const std::string& CadenaID = "User Id",
                      const std::string& CadenaPWD = "Password");

  // --- Recordsets and statements ---
  void AbrirRecordset(std::string& SentenciaSQL, db::Recordset& Lrcs,
                      db::Connection* Conexionactiva = nullptr, int CursorType = 0,
                      int LockType = 1, int Options = -1, bool ConvOracle = true);
  void CierraRecordset(db::Recordset& LrcsTemp);
  void EjecutaConsultaSQL(std::string& SentenciaSQL, long* RecordsAffected = nullptr,
                          std::unique_ptr<db::Recordset>* Lrcs = nullptr);
  void EjecutaConsultaRSQL(std::string& SentenciaSQL, long* RecordsAffected = nullptr,
                           std::unique_ptr<db::Recordset>* Lrcs = nullptr);
  // For callers that do not need the transformed text back.
  void EjecutaConsultaSQL(const std::string& SentenciaSQL);
  // AbrirRecordset's steps without its failure handling: failures reach the
  // caller (for procedures that must stay silent, such as GrabarErrorTabla).
  void AbrirRecordsetSinReporte(std::string& SentenciaSQL, db::Recordset& Lrcs,
                                db::Connection* Conexionactiva = nullptr, int CursorType = 0,
                                int LockType = 1, int Options = -1, bool ConvOracle = true);

  // --- Literal and name formatting ---
  static bool adodate(const db::Value& Qtype);
  static bool ADOText(const db::Value& Qtype);
  static bool ADONumeric(const db::Value& Qtype);
  static bool ADOCurrency(const db::Value& Qtype);
  static bool ADOBoolean(const db::Value& Qtype);
  static std::string ADOComilla(const db::Value& Qtype);
  std::string SQLValue(const db::Value& Valor, const std::string& Tipo = "'");
  std::string AddBrackets(const std::string& rObjName);
  std::string StripBrackets(const std::string& rsObjName);
  std::string StripOwner(const std::string& rsTblName);
  std::string StripConnect(const std::string& rsTblName);
  std::string StripFileName(const std::string& rsFileName);
  std::string stSTF(const std::string& rsName, std::int16_t rnPart);

  // --- Existence and value lookups ---
  bool ExisteEnTabla(const std::string& Tabla, const std::string& ValorBuscado,
                     const std::string& Campo = "Codigo", db::Recordset* Lrcs = nullptr,
                     int Tipodato = 8, const std::string& Condicion = "", bool SoloLectura = true);
  bool ExisteEnTablaST(const std::string& Tabla, const std::string& ValorBuscado,
                       const std::string& Campo = "Codigo", db::Recordset* Lrcs = nullptr,
                       int Tipodato = 8, const std::string& Condicion = "",
                       bool SoloLectura = false);
  std::string DatosTabla(const std::string& Tabla, const std::string& ValorBuscado,
                         const std::string& CampoDevuelto, const std::string& Campo = "Codigo",
                         int Tipodato = 8, const std::string& Condicion = "", bool UsaTrim = true,
                         bool IgnoraError = false);
  db::Value BuscaMaximo(const std::string& QueTabla, const std::string& QueCampo, int Tipo = 8,
                        const std::string& Condicion = "");
  db::Value BuscaMinimo(const std::string& QueTabla, const std::string& QueCampo, int Tipo = 8,
                        const std::string& Condicion = "");
  db::Value BuscaUltimoCodigo(const std::string& QueTabla, const std::string& QueCampo,
                              int Tipo = 8, const std::string& Condicion = "");

  // --- Dialect and synonym translation ---
  std::string SS_TSinonimos(const std::string& sql);
  std::string ORACLE_Dicc(const std::string& Valor);

  // --- Schema maintenance ---
  bool ExisteTablaDB(const std::string& Tabla);
  bool ExisteCampoDB(const std::string& Tabla, const std::string& Campo);
  void AddField(const std::string& Tabla, const std::string& Campo, const std::string& Tipo,
                bool PermiteNulos, const std::optional<std::string>& ValorDefault = std::nullopt);
  bool VerCampoDB(const std::string& Tabla, const std::string& Campo, bool Agregar = false,
                  const std::string& Tipo = "", bool PermiteNulos = true,
                  const std::optional<std::string>& ValorDefault = std::nullopt);

  // --- Error treatment ---
  std::int16_t TratamientoErrores(const outside::ErrorInfo& CodErr, int Botones = 18,
                                  const std::optional<std::string>& Rutina = std::nullopt);
  std::string ArchivoErrores() const { return gLogErr; }
  void ArchivoErrores(const std::string& path) { gLogErr = path; }

  // --- Oracle script execution ---
  void EjecutarScriptOracle(std::string& SentenciaSQL, long* RecordsAffected = nullptr);
  // "" for the pieces of a script that Oracle does not run.
  static std::string DescartarSentenciaOracle(const std::string& sentencia);

  // The connection operations statements go through (gCnn's by default).
  OperacionesConexion& Operaciones();
  void UsarOperaciones(std::unique_ptr<OperacionesConexion> operaciones);

  ContextoDatos& contexto() { return contexto_; }

 private:
  bool PedirParametros();
  void ArmarCadenaConexion();
  std::string MensajeErrorConexion(const db::ProviderError& e);
  int AvisoAlOperador(const outside::ErrorInfo& e);
  // The existence checks' open into the caller's result set, over the
  // connection of `sobre`; true when the set has a row.
  bool ExisteEnRecordset(DB_Dll& sobre, db::Recordset& Lrcs, const std::string& sql,
                         bool SoloLectura);
  std::string NumeroRegional(double n);
  std::string ClaveNumerica(const std::string& valor);
  void EjecutarConsulta(std::string& SentenciaSQL, long* RecordsAffected,
                        std::unique_ptr<db::Recordset>* Lrcs, DB_Dll& referencia,
                        bool muestraError);
  db::Value BuscarExtremo(const std::string& sql, const std::string& alias);

  ContextoDatos& contexto_;
  std::unique_ptr<db::Connection> cnn_;
  std::unique_ptr<OperacionesConexion> operaciones_;
  std::unique_ptr<outside::DialogoArchivo> cmdDlg_;
  outside::Utilidades utilidades_;
};

}  // namespace ferolin
