#include "outside/util_korv.h"

#include <QAction>
#include <QStyle>
#include <QToolButton>

#include "platform/ui/keys.h"

namespace ferolin::outside {
namespace {

constexpr const char* kWordProperty = "palabraComando";

QStyle::StandardPixmap IconOf(const QString& palabra) {
  if (palabra == QLatin1String("NUEVO")) return QStyle::SP_FileIcon;
  if (palabra == QLatin1String("BORRAR")) return QStyle::SP_TrashIcon;
  if (palabra == QLatin1String("GRABAR")) return QStyle::SP_DialogSaveButton;
  if (palabra == QLatin1String("PLANILLA")) return QStyle::SP_FileDialogDetailedView;
  if (palabra == QLatin1String("CONSULTAR")) return QStyle::SP_FileDialogContentsView;
  if (palabra == QLatin1String("REPORTE")) return QStyle::SP_FileDialogInfoView;
  if (palabra == QLatin1String("CERRAR")) return QStyle::SP_DialogCloseButton;
  return QStyle::SP_DialogCancelButton;
}

}  // namespace

const std::vector<ComandoKorv>& UtilKorv::Comandos() {
  static const std::vector<ComandoKorv> comandos{
      {"NUEVO", "Nuevo", ui::vk::kF1 + 1},         {"BORRAR", "Borrar", ui::vk::kF1 + 2},
      {"GRABAR", "Grabar", ui::vk::kF1 + 9},       {"PLANILLA", "Planilla", ui::vk::kF1 + 5},
      {"CONSULTAR", "Consultar", ui::vk::kF1 + 6}, {"REPORTE", "Reporte", ui::vk::kF1 + 7},
      {"CERRAR", "Cerrar", ui::vk::kF1 + 3},       {"CANCELAR", "Cancelar", ui::vk::kF1 + 10},
  };
  return comandos;
}

UtilKorv::UtilKorv(QWidget* parent) : QToolBar(parent) {
  setObjectName(QStringLiteral("UtilKorv1"));
  setMovable(false);
  setFloatable(false);
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  for (const ComandoKorv& c : Comandos()) {
    const QString palabra = QString::fromLatin1(c.palabra);
    QAction* action =
        addAction(style()->standardIcon(IconOf(palabra)), QString::fromUtf8(c.titulo));
    action->setObjectName(QStringLiteral("Cmd") + QString::fromUtf8(c.titulo));
    action->setProperty(kWordProperty, palabra);
    // The key is shown, not bound: keys reach the toolbar through EnviarTecla.
    action->setToolTip(
        QStringLiteral("%1 (F%2)").arg(QString::fromUtf8(c.titulo)).arg(c.tecla - ui::vk::kF1 + 1));
    connect(action, &QAction::triggered, this, [this, palabra] { emit ComandoBarra(palabra); });
  }
  SetStyleBar(1);
}

void UtilKorv::EnviarTecla(int& keyCode) {
  if (!isEnabled()) return;
  for (const ComandoKorv& c : Comandos()) {
    if (c.tecla != keyCode) continue;
    QToolButton* button = Boton(QString::fromLatin1(c.palabra));
    if (button == nullptr || !button->isEnabled()) return;
    keyCode = 0;
    emit ComandoBarra(QString::fromLatin1(c.palabra));
    return;
  }
}

void UtilKorv::SetStyleBar(int style) {
  styleBar_ = style;
  const bool flat = style != 0;
  for (QAction* action : actions()) {
    if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action))) {
      button->setAutoRaise(flat);
    }
  }
}

QToolButton* UtilKorv::Boton(const QString& palabra) const {
  for (QAction* action : actions()) {
    if (action->property(kWordProperty).toString().compare(palabra, Qt::CaseInsensitive) == 0) {
      return qobject_cast<QToolButton*>(widgetForAction(action));
    }
  }
  return nullptr;
}

void UtilKorv::HabilitarComando(const QString& palabra, bool enabled) {
  for (QAction* action : actions()) {
    if (action->property(kWordProperty).toString().compare(palabra, Qt::CaseInsensitive) == 0) {
      action->setEnabled(enabled);
    }
  }
}

}  // namespace ferolin::outside
