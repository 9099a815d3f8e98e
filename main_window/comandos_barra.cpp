// The toolbar's command words and the account lookup they reach.

#include "data_access/texto.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/lista_ferolin.h"
#include "main_window/manejo_errores.h"
#include "main_window/txt_edit.h"
#include "platform/ui/keys.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

using namespace lista;

void Frm_Ferolin::UtilKorv1_click(std::string& palabra) {
  // Cancelling with nothing in the first row closes the window.
  if (texto::Recortar(grilla_->TextMatrix(1, 0)).empty() &&
      texto::IgualSinCaso(palabra, "CANCELAR")) {
    palabra = "CERRAR";
  }
  const std::string orden = texto::Mayusculas(palabra);

  auto& utilidades = ctx_.tarvex.utilidades();
  auto paso = [&](const std::function<void()>& f) {
    return EjecutarPaso(utilidades, "UtilKorv1_click", f, true);
  };
  if (orden == "NUEVO") {
    paso([this] { InicializaGrid2(); });
  } else if (orden == "GRABAR") {
    paso([this] { ProcesoPrincipal(); }) && paso([this] { InicializaGrid2(); });
  } else if (orden == "PLANILLA") {
    paso([this] { AbrirPlanilla("MA_CUENTAS", "Maestro de Cuentas"); });
  } else if (orden == "CONSULTAR") {
    paso([this] { CmdConsultar(); });
  } else if (orden == "CERRAR") {
    close();
  } else if (orden == "CANCELAR") {
    const int respuesta =
        ctx_.prompt.Message("¿Realmente desea abandonar la carga de datos?",
                            ui::buttons::kYesNo + ui::icon::kQuestion + ui::default_button::kSecond,
                            "Aviso al Operador");
    if (respuesta == ui::answer::kYes) paso([this] { InicializaGrid2(); });
  }
  // BORRAR, REPORTE and unknown words do nothing.
}

void Frm_Ferolin::CmdConsultar() {
  if (txtedit_->Tag.empty()) return;
  const std::string valor = texto::Recortar(servicios_.consultarCuenta());
  // The editor is shown where it last was, as if the operator typed there.
  txtedit_->SetTexto(valor);
  txtedit_->Mostrar();
  txtedit_->setFocus();
  ConfirmarEdicion(ui::vk::kReturn);
}

}  // namespace ferolin
