// The check every value goes through before the editor moves on.

#include "data_access/db_dll.h"
#include "data_access/texto.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/lista_ferolin.h"
#include "main_window/txt_edit.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

using namespace lista;

void Frm_Ferolin::CampoValida() {
  codigoInvalido_ = false;
  const std::string campo = texto::Recortar(txtedit_->DataField);
  const std::string texto = texto::Recortar(txtedit_->Texto());
  const int fila = grilla_->Row();
  if (texto::IgualSinCaso(campo, "Codigo")) {
    if (texto.empty()) {
      LimpiarFila(*grilla_, fila, 0);
      return;
    }
    if (const std::string* leida = cuentasLeidas_.Descripcion(texto)) {
      grilla_->SetTextMatrix(fila, 0, texto);
      grilla_->SetTextMatrix(fila, 1, *leida);
      return;
    }
    DB_Dll& gdb = ctx_.gDB();
    if (gdb.ExisteEnTabla("MA_CUENTAS", texto, "CODIGO", &rsValida_, 8, "", true)) {
      const std::string descripcion =
          texto::Recortar(ctx_.tarvex.utilidades().ValorCampo(rsValida_.Fields("Descripcion")));
      grilla_->SetTextMatrix(fila, 0, texto);
      grilla_->SetTextMatrix(fila, 1, descripcion);
    } else {
      codigoInvalido_ = true;
      ctx_.prompt.Message("El Codigo Informado no existe", ui::buttons::kOk + ui::icon::kCritical,
                          "Aviso al operador");
    }
  } else if (texto::IgualSinCaso(campo, "CodigoNvo")) {
    grilla_->SetTextMatrix(fila, 2, texto);
  }
}

}  // namespace ferolin
