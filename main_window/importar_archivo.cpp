// Import from a text file of code and comment lines, through the editor path.

#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/importacion.h"
#include "main_window/manejo_errores.h"
#include "platform/os/codepage.h"
#include "platform/ui/operator_prompt.h"

namespace ferolin {

void Frm_Ferolin::CmdBuscar_Click() {
  const int respuesta = ctx_.prompt.Message(
      "El archivo debe tener el Codigo actual coma comentarios(2 campos separado por coma (,) o "
      "punto y coma ( ; ) o tab)\r\n¿Realmente desea cargar un archivo?",
      ui::buttons::kYesNo + ui::icon::kQuestion, "Aviso al Operador");
  if (respuesta != ui::answer::kYes) return;

  auto& utilidades = ctx_.tarvex.utilidades();
  auto paso = [&](const std::function<void()>& f) {
    return EjecutarPaso(utilidades, "CmdBuscar_Click", f);
  };
  if (!paso([this] { InicializaGrid2(); })) return;
  if (!paso([this] { grilla_->SetRow(1); })) return;
  if (!paso([this] {
        dialogo_.Opcion = true;
        dialogo_.Titulo = "Importación de Archivos";
        dialogo_.Filtro = "";
        dialogo_.MostrarAbrir();
      })) {
    return;
  }
  if (dialogo_.Cancelado()) return;

  // The file is read whole and closed before the grid is touched, so it is
  // closed on every path.
  std::vector<std::string> lineas;
  if (!paso([&] { lineas = LineasImportacion(os::ReadFileBytes(dialogo_.NombreArchivo())); })) {
    return;
  }

  std::vector<std::optional<LineaImportada>> partesLineas;
  std::vector<std::string> codigos;
  for (const std::string& linea : lineas) {
    auto partes = SepararLinea(linea);
    if (partes) codigos.push_back(partes->codigo);
    partesLineas.push_back(std::move(partes));
  }
  Lote lote(*this, static_cast<long>(lineas.size()), codigos);
  long hechas = 0;
  for (const auto& partes : partesLineas) {
    if (descargado_) break;
    AvanzarProgreso(++hechas);
    if (!partes) continue;
    const bool seguir = paso([&] {
      EntrarValor(0, partes->codigo);
      DejarCorrerEventos();
      if (!codigoInvalido_) EntrarValor(2, partes->comentario);
    });
    if (!seguir) return;
  }
}

}  // namespace ferolin
