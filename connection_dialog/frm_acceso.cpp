#include "connection_dialog/frm_acceso.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "connection_dialog/bases_txt.h"
#include "connection_dialog/existe_archivo.h"
#include "connection_dialog/fallo.h"
#include "data_access/db_dll.h"
#include "data_access/error_report.h"
#include "data_access/texto.h"
#include "platform/os/codepage.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// The colour MensajeInicial gives a hinted field (0x000002 in the suite's
// 0x00BBGGRR notation).
const QColor kColorPista(2, 0, 0);

}  // namespace

frmAcceso::frmAcceso(ContextoDatos& contexto, QWidget* parent) : QDialog(parent), ctx_(contexto) {
  ConstruirControles();
  // Load of the window.
  Centrar();
  llenarlist();
  MensajeInicial(TxtUserId);
  MensajeInicial(TxtUserPassword);
  MensajeInicial(TxtDbName);
  MensajeInicial(TxtDbName);
  MensajeInicial(TxtServidor);
}

frmAcceso::~frmAcceso() = default;

void frmAcceso::ConstruirControles() {
  setWindowTitle(QStringLiteral("Control de Acceso"));
  setModal(true);

  auto* principal = new QHBoxLayout(this);

  auto* columnaLista = new QVBoxLayout;
  columnaLista->addWidget(new QLabel(QStringLiteral("Conexiones registradas"), this));
  lstBases = new QListWidget(this);
  lstBases->setObjectName(QStringLiteral("lstBases"));
  lstBases->setMinimumWidth(220);
  columnaLista->addWidget(lstBases);
  principal->addLayout(columnaLista);

  auto* columnaDatos = new QVBoxLayout;
  framAcceso = new QGroupBox(this);
  framAcceso->setObjectName(QStringLiteral("framAcceso"));
  auto* marco = new QVBoxLayout(framAcceso);
  marco->addWidget(new QLabel(QStringLiteral("Complete los datos de conexion"), framAcceso));
  auto* campos = new QFormLayout;
  marco->addLayout(campos);

  auto caja = [&](const char* nombre, const QString& ayuda) {
    auto* t = new QLineEdit(framAcceso);
    t->setObjectName(QString::fromLatin1(nombre));
    t->setToolTip(ayuda);
    return t;
  };
  TxtServidor = caja("TxtServidor", QStringLiteral("ingrese el nombre del servidor e instancia"));
  TxtDbName = caja("TxtDbName", QStringLiteral("ingrese el nombre de la base de datos"));
  TxtUserId = caja("TxtUserId", QStringLiteral("Ingrese el nombre de usuario"));
  TxtUserPassword = caja("TxtUserPassword", QStringLiteral("Ingrese la contraseña"));
  TxtUserPassword->setEchoMode(QLineEdit::Password);
  TxtUserPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
  TxtPuerto = caja("TxtPuerto", QStringLiteral("Ingrese el Puerto "));
  TxtPuerto->setText(QStringLiteral("1433"));
  CboPlataformaDB = new QComboBox(framAcceso);
  CboPlataformaDB->setObjectName(QStringLiteral("CboPlataformaDB"));
  CboPlataformaDB->addItem(QStringLiteral("SQL Server"));
  CboPlataformaDB->addItem(QStringLiteral("ORACLE"));

  // The hint colour is never taken back, as in the suite's other programs.
  for (QLineEdit* t : {TxtServidor, TxtDbName, TxtUserId, TxtUserPassword}) {
    QPalette p = t->palette();
    p.setColor(QPalette::Text, kColorPista);
    t->setPalette(p);
  }

  campos->addRow(QStringLiteral("Servidor"), TxtServidor);
  campos->addRow(QStringLiteral("Puerto"), TxtPuerto);
  campos->addRow(QStringLiteral("Base de datos"), TxtDbName);
  campos->addRow(QStringLiteral("Usuario"), TxtUserId);
  campos->addRow(QStringLiteral("Contraseña"), TxtUserPassword);
  campos->addRow(QStringLiteral("Plataforma"), CboPlataformaDB);
  columnaDatos->addWidget(framAcceso);

  auto boton = [&](const char* nombre, const QString& texto) {
    auto* b = new QPushButton(texto, this);
    b->setObjectName(QString::fromLatin1(nombre));
    return b;
  };
  bcAceptar = boton("bcAceptar", QStringLiteral("Aceptar"));
  bcCancelar = boton("bcCancelar", QStringLiteral("Cancelar"));
  CmdRegistrar = boton("CmdRegistrar", QStringLiteral("Registrar"));
  CmdLineaComando = boton("CmdLineaComando", QStringLiteral("Crear Acceso Directo"));
  bcAceptar->setDefault(true);

  auto* filaRegistro = new QHBoxLayout;
  filaRegistro->addWidget(CmdRegistrar);
  filaRegistro->addWidget(CmdLineaComando);
  columnaDatos->addLayout(filaRegistro);
  auto* filaCierre = new QHBoxLayout;
  filaCierre->addStretch();
  filaCierre->addWidget(bcAceptar);
  filaCierre->addWidget(bcCancelar);
  columnaDatos->addLayout(filaCierre);
  principal->addLayout(columnaDatos);

  setTabOrder(TxtServidor, TxtPuerto);
  setTabOrder(TxtPuerto, TxtDbName);
  setTabOrder(TxtDbName, TxtUserId);
  setTabOrder(TxtUserId, TxtUserPassword);
  setTabOrder(TxtUserPassword, CboPlataformaDB);
  setTabOrder(CboPlataformaDB, bcAceptar);
  setTabOrder(bcAceptar, bcCancelar);
  setTabOrder(bcCancelar, CmdRegistrar);
  setTabOrder(CmdRegistrar, CmdLineaComando);
  setTabOrder(CmdLineaComando, lstBases);

  connect(bcAceptar, &QPushButton::clicked, this, &frmAcceso::bcAceptar_Click);
  connect(bcCancelar, &QPushButton::clicked, this, &frmAcceso::bcCancelar_Click);
  connect(CmdRegistrar, &QPushButton::clicked, this, &frmAcceso::CmdRegistrar_Click);
  connect(CmdLineaComando, &QPushButton::clicked, this, &frmAcceso::CmdLineaComando_Click);

  connect(lstBases, &QListWidget::currentRowChanged, this, [this](int fila) {
    if (fila >= 0) AsignarDatosBase();
  });
  connect(lstBases, &QListWidget::itemClicked, this, [this] { AsignarDatosBase(); });
  connect(lstBases, &QListWidget::itemDoubleClicked, this, [this] { lstBases_DblClick(); });
  lstBases->installEventFilter(this);

  connect(TxtDbName, &QLineEdit::textChanged, this, [this] { MensajeInicial(TxtDbName); });
  connect(TxtServidor, &QLineEdit::textChanged, this, [this] { MensajeInicial(TxtServidor); });
  connect(TxtUserPassword, &QLineEdit::textChanged, this,
          [this] { MensajeInicial(TxtUserPassword); });
  TxtUserId->installEventFilter(this);

  TxtServidor->setFocus();
}

bool frmAcceso::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lstBases && event->type() == QEvent::KeyRelease && isVisible()) {
    // Any key in the list copies the selected connection, after the list
    // has moved its selection.
    AsignarDatosBase();
  } else if (watched == TxtUserId && event->type() == QEvent::FocusIn) {
    // Let the box take the focus first: its own focus handling would
    // otherwise replace the hint's selection.
    TxtUserId->removeEventFilter(this);
    QCoreApplication::sendEvent(TxtUserId, event);
    TxtUserId->installEventFilter(this);
    MensajeInicial(TxtUserId);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void frmAcceso::Centrar() {
  adjustSize();
  QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!pantalla) return;
  const QRect area = pantalla->geometry();
  move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void frmAcceso::llenarlist() {
  // Each step runs under the program's error report: Retry runs it again,
  // Ignore goes on with the next one, any other answer ends the fill.
  auto paso = [this](const auto& accion) {
    while (true) {
      try {
        accion();
        return true;
      } catch (const std::exception& e) {
        const auto respuesta = ReporteError(ctx_, ErrorDesde(e), 18, std::string("FormLoad"));
        if (respuesta == ui::answer::kRetry) continue;
        return respuesta == ui::answer::kIgnore;
      }
    }
  };

  archivoBases_ = ctx_.tarvex.utilidades().CarpetaConBarra(ctx_.carpetaPrograma) + kArchivoBases;
  const QSignalBlocker bloqueo(lstBases);
  if (!ExisteArchivo(archivoBases_)) {
    lstBases->clear();
    return;
  }
  lstBases->clear();
  std::vector<std::string> lineas;
  if (!paso([&] { lineas = LeerLineasBases(archivoBases_); })) return;
  for (const auto& linea : lineas) {
    if (!paso([&] {
          const RegistroBase r = RegistroDesdeLinea(linea);
          if (!texto::RecortarBlancosYTabulaciones(r.nombre).empty())
            lstBases->addItem(Q(r.nombre));
        })) {
      return;
    }
  }
  if (lstBases->count() > 0) {
    lstBases->setCurrentRow(0);
    AsignarDatosBase();
  }
}

std::vector<std::string> frmAcceso::LeerLineasBases(const std::string& ruta) {
  return os::ReadTextLines(ruta);
}

void frmAcceso::DatosBase(const std::string& Nombre) {
  if (!ExisteArchivo(archivoBases_)) return;
  try {
    const std::string buscado = texto::RecortarBlancosYTabulaciones(Nombre);
    for (const auto& linea : LeerLineasBases(archivoBases_)) {
      const RegistroBase r = RegistroDesdeLinea(linea);
      if (texto::RecortarBlancosYTabulaciones(r.nombre) != buscado) continue;
      datos_ = {r.servidor, r.dbName, r.usuario, ctx_.tarvex.utilidades().Decodificar(r.password)};
      return;
    }
  } catch (const std::exception& e) {
    ctx_.tarvex.utilidades().ManejarError(ErrorDesde(e), "");
  }
}

void frmAcceso::AsignarDatosBase() {
  // Without a selected entry there is nothing to copy; looking up "" would
  // pick a record with a blank name.
  QListWidgetItem* elegido = lstBases->currentItem();
  if (!elegido) return;
  DatosBase(texto::RecortarBlancosYTabulaciones(elegido->text().toStdString()));
  std::string servidor = datos_.servidor;
  const ServidorPuerto partes = SepararPuerto(servidor);
  if (partes.puerto) {
    puerto_ = *partes.puerto;
    servidor = partes.servidor;
    TxtPuerto->setText(Q(puerto_));
  }
  TxtServidor->setText(Q(servidor));
  TxtUserId->setText(QString());
  TxtUserPassword->setText(QString());
  TxtDbName->setText(Q(datos_.dbName));
}

void frmAcceso::MensajeInicial(QLineEdit* ObjTxt) {
  if (!ObjTxt) return;
  QString pista;
  if (ObjTxt == TxtUserId) {
    pista = QStringLiteral("Ingrese el usuario");
  } else if (ObjTxt == TxtDbName) {
    pista = QStringLiteral("ingrese el nombre de la base de datos");
  } else if (ObjTxt == TxtServidor) {
    pista = QStringLiteral("ingrese el nombre del servidor e instancia");
  }
  const QString texto = ObjTxt->text();
  if (!texto.trimmed().isEmpty() && texto != pista) return;
  // Setting the text re-enters through the change signal, which then finds
  // the hint in place and changes nothing.
  if (texto != pista) ObjTxt->setText(pista);
  QPalette p = ObjTxt->palette();
  p.setColor(QPalette::Text, kColorPista);
  ObjTxt->setPalette(p);
  ObjTxt->setSelection(0, static_cast<int>(ObjTxt->text().trimmed().size()));
  ObjTxt->update();
}

void frmAcceso::bcAceptar_Click() {
  Aceptar = true;
  QDialog::done(QDialog::Accepted);
}

void frmAcceso::bcCancelar_Click() {
  Aceptar = false;
  QDialog::done(QDialog::Rejected);
}

void frmAcceso::reject() {
  bcCancelar_Click();
}

void frmAcceso::lstBases_DblClick() {
  AsignarDatosBase();
  bcAceptar_Click();
}

void frmAcceso::ExisteBaseDeDatos(const std::string& Servidor, const std::string& Dbname,
                                  const std::string& Usuario, const std::string& Password,
                                  const std::string& Proveedor, bool& result) {
  // Every failing step only turns the result False and the next step runs;
  // nothing is shown to the operator.
  result = true;
  DB_Dll& gDB = ctx_.gDB();
  db::Connection& cnn = gDB.gCnn();
  try {
    // Only a connection that is really open is closed: a stale flag must not
    // make a working connection look like a failed one.
    if (cnn.IsOpen()) cnn.Close();
    gDB.gOpenFlag = false;
  } catch (const std::exception&) {
    result = false;
  }
  const std::string cadena = "PROVIDER=" + Proveedor + ";" + "Server=" + Servidor + ";" +
                             "Database =" + Dbname + ";" + "UId=" + Usuario + ";" +
                             "Pwd=" + Password + ";";
  bool abierta = false;
  try {
    cnn.Open(cadena, "", "");
    abierta = true;
  } catch (const std::exception&) {
    result = false;
    // The test's provider errors are answered here; left in the collection
    // they would be shown as the cause of the next, unrelated failure.
    cnn.Errors().Clear();
  }
  if (abierta) {
    try {
      cnn.Close();
    } catch (const std::exception&) {
      result = false;
    }
  }
}

}  // namespace ferolin
