#include "startup/iniciar_programa.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "lookup/lib_cls_cons3.h"
#include "lookup/mascaras.h"
#include "outside/sistema.h"
#include "platform/db/connection.h"
#include "startup/archivo_ini.h"
#include "startup/pasos.h"
#include "startup/servicios.h"

namespace ferolin {

namespace {

constexpr std::size_t kLargoSeccionPuesto = 50;

std::string SinIgual(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c != '=') r += c;
  }
  return r;
}

// The string the suite builds from the settings file when it is launched
// without parameters.
std::string ParametrosDesdeIni(ContextoPrograma& ctx, const std::string& ini) {
  auto& util = ctx.tarvex.utilidades();
  auto seccion = [&ctx] {
    auto& sistema = ctx.tarvex.sistema();
    return texto::MayusculasUnicode(sistema.NombreEquipo()) + "|" +
           texto::MayusculasUnicode(sistema.UsuarioSistema()) + "BaseDeDatos";
  };
  std::string servidor, base, usuario, clave;
  pasos::Omitible("IniciarPrograma",
                  [&] { servidor = outside::LeerIni(ini, seccion(), "Servidor", ""); });
  pasos::Omitible("IniciarPrograma",
                  [&] { base = outside::LeerIni(ini, seccion(), "DbName", ""); });
  pasos::Omitible("IniciarPrograma", [&] {
    usuario =
        util.Decodificar(outside::LeerIni(ini, seccion(), "Usuario", util.Codificar("Korvant")));
  });
  pasos::Omitible("IniciarPrograma", [&] {
    clave = util.Decodificar(
        outside::LeerIni(ini, seccion(), "UserPassWord", util.Codificar("pelmora")));
  });
  for (auto* v : {&servidor, &base, &usuario, &clave}) *v = util.QuitarCaracter(*v, U'|');
  return "@server=" + servidor + "; @dbname= " + base + "; @usuario= " + usuario +
         "; @Password= " + clave + "; @ParametroAdicional=; @Caja=1;mirk@";
}

bool ConexionAbierta(DB_Dll& db) {
  try {
    return db.gOpenFlag && db.gCnn().IsOpen();
  } catch (const std::exception& e) {
    pasos::Anotar("IniciarPrograma", e);
    return false;
  }
}

// Steps 17 and 18: what runs once a connection is open.
void ServiciosDelPrograma(ContextoPrograma& ctx, const std::string& carpeta) {
  auto& db = ctx.gDB();
  if (!db.gDBName.empty()) {
    ctx.tarvex.CarpetaPrograma = carpeta;
    db.gCnn().SetDefaultDatabase(db.gDBName);
    auto& consultas = ctx.servicioConsultas();
    consultas.gConnString = db.gConnString;
    consultas.gUsarMascarasConsultas = true;
    consultas.gRutaMascaraConsultas = carpeta + "consultas.kvt";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(consultas.gRutaMascaraConsultas, ec)) {
      EscribirMascarasPorDefecto(consultas.gRutaMascaraConsultas);
    }
    db.gCnn().SetDefaultDatabase(db.gDBName);
    CargarConfiguracion(ctx, carpeta);
  }
  RegistrarIngreso(ctx, "");
}

}  // namespace

std::string ServidorSinPuerto(const std::string& server) {
  std::string s = server;
  if (const auto barra = s.find('/'); barra != std::string::npos) s = s.substr(barra + 1);
  if (const auto puerto = s.find(':'); puerto != std::string::npos) s = s.substr(0, puerto);
  return s;
}

std::string ValorParametro(const std::string& linea, const std::string& clave,
                           const std::string& defecto) {
  const auto pos = texto::Buscar(linea, clave);
  if (pos == std::string::npos) return defecto;
  const auto inicio = pos + clave.size();
  const auto fin = linea.find(';', pos);
  // Without a terminating ";" the value cannot be taken and stays empty.
  const std::string valor = fin == std::string::npos ? "" : linea.substr(inicio, fin - inicio);
  return texto::Recortar(SinIgual(valor));
}

ParametrosLanzamiento LeerParametrosLanzamiento(const std::string& linea) {
  ParametrosLanzamiento p;
  p.ParametroAdicional = ValorParametro(linea, "@ParametroAdicional");
  p.Menu = ValorParametro(linea, "@Menu");
  p.Server = ValorParametro(linea, "@Server");
  p.DbName = ValorParametro(linea, "@DbName");
  p.Usuario = ValorParametro(linea, "@Usuario");
  p.Password = ValorParametro(linea, "@Password");
  p.UsuarioLogeado = ValorParametro(linea, "@UsuarioLogeado");
  p.Caja = ValorParametro(linea, "@Caja", "1");
  return p;
}

std::string LineaComandoDelProceso() {
  if (QCoreApplication::instance() == nullptr) return "";
  QStringList args = QCoreApplication::arguments();
  if (!args.isEmpty()) args.removeFirst();
  return args.join(QLatin1Char(' ')).toStdString();
}

bool IniciarPrograma(ContextoPrograma& ctx, bool UsarIniSinComando, const std::string& LineaComando,
                     std::string& ConnString, long lCursor) {
  auto& db = ctx.gDB();

  // Steps before the connection never keep it from being tried: a failed one
  // is noted and skipped.
  std::string carpeta = ctx.carpetaPrograma;
  pasos::Omitible("IniciarPrograma",
                  [&] { carpeta = ctx.tarvex.utilidades().CarpetaConBarra(ctx.carpetaPrograma); });
  ctx.archivoAyuda = carpeta + "htmlhelp/tarvexplus.chm";
  ctx.gColorTextoEdicion = 0x000000;
  ctx.gColorFondoEdicion = 0xFFFFFF;

  std::string linea = LineaComando;
  if (linea.empty()) {
    pasos::Omitible("IniciarPrograma", [&] {
      linea = ctx.lineaComandoProceso ? ctx.lineaComandoProceso() : LineaComandoDelProceso();
    });
  }
  const std::string ini = RutaQuadrelIni(carpeta);
  if (texto::Recortar(linea).empty() && UsarIniSinComando) linea = ParametrosDesdeIni(ctx, ini);

  pasos::Omitible("IniciarPrograma", [&] {
    auto& sistema = ctx.tarvex.sistema();
    ctx.gSeccionPuesto = texto::MayusculasUnicode(sistema.NombreEquipo()) + "|" +
                         texto::MayusculasUnicode(sistema.UsuarioSistema());
    if (texto::Largo(texto::Recortar(ctx.gSeccionPuesto)) > kLargoSeccionPuesto) {
      ctx.gSeccionPuesto = texto::Primeros(ctx.gSeccionPuesto, kLargoSeccionPuesto);
    }
  });
  pasos::Omitible("IniciarPrograma", [&] {
    ctx.gFlatToolbars =
        texto::ValorNumerico(outside::LeerIni(ini, ctx.gSeccionPuesto, "FlatToolbars", "1"));
  });

  if (!db.gOpenFlag) {
    const ParametrosLanzamiento p = LeerParametrosLanzamiento(linea);
    ctx.gParametroAdicional = p.ParametroAdicional;
    ctx.gMenu = p.Menu;
    ctx.gUsuarioLogeado = p.UsuarioLogeado;
    ctx.gCaja = p.Caja;

    db.gUsuario = p.Usuario;
    db.gDBName = p.DbName;
    db.gUserPassWord = p.Password;
    db.gServidor = ServidorSinPuerto(p.Server);

    const bool pedir = texto::Recortar(p.Server).empty() || texto::Recortar(p.Usuario).empty();
    if (pedir && ctx.dialogoConexion == nullptr) {
      std::fprintf(stderr,
                   "ferolin: falta el servidor o el usuario de la conexión y no hay diálogo de "
                   "conexión: el programa termina\n");
    }
    try {
      db.OpenServerADODB(pedir, lCursor, ConnString, true, true);
    } catch (const std::exception& e) {
      pasos::Anotar("IniciarPrograma", e);
      db.gOpenFlag = false;
    }
    if (!ConexionAbierta(db)) {
      db.gOpenFlag = false;
      return false;
    }

    try {
      AbrirEstadisticas(ctx);
      ctx.gUsuarioLogeado = db.gUsuario;
      db.gCnn().SetCommandTimeout(ctx.gTimeOut);
      db.gCnn().SetIsolationLevel(db::isolation::kReadUncommitted);
    } catch (const std::exception& e) {
      // The connection is open: the window goes on loading with what is set.
      pasos::Anotar("IniciarPrograma", e);
      return true;
    }
  }

  try {
    ServiciosDelPrograma(ctx, carpeta);
  } catch (const std::exception& e) {
    pasos::Anotar("IniciarPrograma", e);
  }
  return true;
}

}  // namespace ferolin
