// Window dressing: skin, icon and toolbar style.

#include "startup/estilo.h"

#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QWidget>
#include <stdexcept>

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "outside/sistema.h"
#include "outside/util_korv.h"
#include "startup/archivo_ini.h"
#include "startup/pasos.h"
#include "startup/servicios.h"

namespace ferolin {

EleccionEstilo ElegirEstilo(long valor) {
  switch (valor) {
    case 1:
      return {"Styles/Vista.qss", ""};
    case 2:
      return {"Styles/WinXP.Luna.qss", ""};
    case 3:
      return {"Styles/WinXP.Royale.qss", ""};
    case 4:
      return {"Styles/iTunes.qss", "Normalitunes.ini"};
    default:
      return {"Styles/Office2007.qss", ""};
  }
}

long ValorEstilo(const std::string& t) {
  const auto n = texto::Redondear(texto::ValorNumerico(t), INT16_MIN, INT16_MAX);
  return n ? static_cast<long>(*n) : 0;
}

void AplicarEstilo(ContextoPrograma& ctx, QWidget& ventana) {
  const std::string carpeta = ctx.tarvex.utilidades().CarpetaConBarra(ctx.carpetaPrograma);
  const std::string seccion = texto::MayusculasUnicode(ctx.tarvex.sistema().UsuarioSistema()) +
                              "_" + texto::MayusculasUnicode(ctx.gDB().gDBName) + "Styles";
  const long valor = ValorEstilo(outside::LeerIni(RutaQuadrelIni(carpeta), seccion, "Styles", "4"));
  const EleccionEstilo eleccion = ElegirEstilo(valor);
  const std::string ruta = carpeta + eleccion.archivo;

  QFile archivo(QString::fromStdString(ruta));
  if (!archivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
    throw std::runtime_error("No se pudo cargar el estilo de ventana " + ruta + ": " +
                             archivo.errorString().toStdString());
  }
  ventana.setStyleSheet(QString::fromUtf8(archivo.readAll()));
  ventana.setProperty(kPropiedadEstilo, QString::fromStdString(eleccion.archivo));
  ventana.setProperty(kPropiedadOpcionesEstilo, QString::fromStdString(eleccion.opciones));
}

void AplicarIconoYBarras(ContextoPrograma& ctx, QWidget& ventana) {
  const std::string rutina = "AplicarIconoYBarras";
  pasos::Omitible(rutina, [&] {
    const QIcon recurso(QStringLiteral(":/ICONKORVANT"));
    if (!recurso.isNull()) ventana.setWindowIcon(recurso);
  });
  pasos::Omitible(rutina, [&] {
    // Only a window without an icon of its own takes the one beside the program.
    if (ventana.windowIcon().isNull() && QFile::exists(QStringLiteral("korvant.ico"))) {
      ventana.setWindowIcon(QIcon(QStringLiteral("korvant.ico")));
    }
  });
  if (QString::fromLatin1(ventana.metaObject()->className())
          .compare(QStringLiteral("FRMMDI"), Qt::CaseInsensitive) == 0) {
    return;
  }
  for (const char* nombre : {"UtilKorv1", "TBarRep1", "Util0011"}) {
    pasos::Omitible(rutina, [&] {
      const auto valor = texto::Redondear(ctx.gFlatToolbars, INT32_MIN, INT32_MAX);
      if (!valor) throw std::out_of_range("FlatToolbars fuera de rango");
      const int estilo = static_cast<int>(*valor);
      QObject* barra = ventana.findChild<QObject*>(QString::fromLatin1(nombre));
      if (barra == nullptr) return;
      if (auto* korv = qobject_cast<outside::UtilKorv*>(barra)) {
        korv->SetStyleBar(estilo);
      } else {
        barra->setProperty("StyleBar", estilo);
      }
    });
  }
  QCoreApplication::processEvents();
}

}  // namespace ferolin
