// The in-place editor of the grid: opening it over a cell, the keys that
// confirm and move it, the row keys of the grid, and the commit of its text
// into the cell it covers.

#include <QKeyEvent>

#include "data_access/texto.h"
#include "main_window/frm_ferolin.h"
#include "main_window/grilla.h"
#include "main_window/lista_ferolin.h"
#include "main_window/manejo_errores.h"
#include "main_window/txt_edit.h"
#include "platform/ui/keys.h"

namespace ferolin {

using namespace lista;

namespace {

QColor ColorDesdeBGR(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace

void Frm_Ferolin::MsflexGridEdt(int keyAscii) {
  // The description column is filled by the check, never typed.
  if (grilla_->Col() == 1) return;
  if (keyAscii >= 0 && keyAscii <= 32) {
    txtedit_->SetTexto(grilla_->TextMatrix(grilla_->Row(), grilla_->Col()));
  } else {
    const char32_t tecla = static_cast<char32_t>(keyAscii);
    txtedit_->SetTexto(QString::fromUcs4(&tecla, 1).toStdString());
  }
  if (!enLote_) txtedit_->setCursorPosition(static_cast<int>(txtedit_->text().size()));
  // A long load commits every cell at once: the editor is not placed nor
  // focused, as happens while the window is not on screen yet.
  if (!enLote_) txtedit_->setGeometry(grilla_->CeldaActual().translated(grilla_->pos()));
  txtedit_->Mostrar();
  textpropiedades(grilla_->Col());
  if (!enLote_) txtedit_->setFocus();
}

void Frm_Ferolin::textpropiedades(int columna) {
  switch (columna) {
    case 0:
      txtedit_->DataField = "Codigo";
      txtedit_->Tag = "MA_CUENTAS";
      txtedit_->SetMaxLength(15);
      break;
    case 1:
      txtedit_->DataField = "";
      break;
    case 2:
      txtedit_->DataField = "CodigoNVO";
      txtedit_->Tag = "MA_CUENTAS";
      txtedit_->SetMaxLength(15);
      break;
    default:
      break;
  }
}

void Frm_Ferolin::ConfirmarEdicion(int keyCode) {
  if (!ctx_.tarvex.teclado().EsTeclaDeSalida(keyCode)) return;
  CampoValida();
  if (!codigoInvalido_) EditKeyCode(keyCode, 0);
}

void Frm_Ferolin::EnfocarGrilla() {
  if (enLote_) {
    AlEnfocarGrilla();  // what the grid's focus event does
    return;
  }
  grilla_->setFocus();
}

void Frm_Ferolin::EditKeyCode(int keyCode, int /*shift*/) {
  auto& utilidades = ctx_.tarvex.utilidades();
  auto paso = [&](const std::function<void()>& f) {
    return EjecutarPaso(utilidades, "EditKeyCode", f, true);
  };
  bool seguir = true;
  switch (keyCode) {
    case ui::vk::kReturn:
      seguir = paso([this] { EnfocarGrilla(); }) && paso([this] { DejarCorrerEventos(); }) &&
               paso([this] {
                 if (grilla_->Col() == 2) {
                   if (grilla_->Row() < grilla_->Rows() - 1) {
                     grilla_->SetRow(grilla_->Row() + 1);
                   } else {
                     grilla_->AddRow();
                     grilla_->SetRow(grilla_->Rows() - 1);
                   }
                   grilla_->SetCol(0);
                 } else if (grilla_->Col() == 0) {
                   grilla_->SetCol(2);
                 }
               });
      break;
    case ui::vk::kEscape:
      seguir = paso([this] { txtedit_->Ocultar(); }) && paso([this] { EnfocarGrilla(); });
      break;
    case ui::vk::kUp:
      seguir = paso([this] { EnfocarGrilla(); }) && paso([this] { DejarCorrerEventos(); }) &&
               paso([this] {
                 if (grilla_->Row() > grilla_->FixedRows()) grilla_->SetRow(grilla_->Row() - 1);
               });
      break;
    case ui::vk::kDown:
      seguir = paso([this] { EnfocarGrilla(); }) && paso([this] { DejarCorrerEventos(); }) &&
               paso([this] {
                 if (grilla_->Row() < grilla_->Rows() - 1) {
                   grilla_->SetRow(grilla_->Row() + 1);
                   grilla_->SetCol(0);
                 }
               });
      break;
    default:
      break;
  }
  // Keep the current cell in view (a long load shows it once, at its end).
  if (!seguir || enLote_) return;
  paso([this] {
    const QRect celda = grilla_->CeldaActual();
    if (celda.bottom() > grilla_->height()) grilla_->MostrarCeldaActual();
  });
}

void Frm_Ferolin::MsflexKey(int keyCode) {
  EjecutarPaso(ctx_.tarvex.utilidades(), "MSFlexGrid1_KeyDown", [&] {
    switch (keyCode) {
      case ui::vk::kDelete:
        if (grilla_->Rows() > 2) {
          grilla_->RemoveRow(grilla_->Row());
        } else {
          LimpiarFila(*grilla_, grilla_->Row(), 0);
        }
        break;
      case ui::vk::kInsert:
        grilla_->InsertRow(grilla_->Row());
        break;
      case ui::vk::kEnd:
        focusNextChild();  // what a Tab keystroke to the window does
        break;
      default:
        break;
    }
  });
}

int Frm_Ferolin::FiltrarTecla(int keyAscii) {
  if (grilla_->Col() == 0) return keyAscii;
  if (keyAscii != ',' && keyAscii != '.') return keyAscii;
  const std::string separador = ctx_.tarvex.teclado().SeparadorDecimal();
  if (separador.empty()) return keyAscii;
  const char sep = separador[0];
  if (texto::Recortar(txtedit_->Texto()).find(sep) != std::string::npos) return 0;
  return static_cast<unsigned char>(sep);
}

void Frm_Ferolin::ConfirmarEditorEn(int fila, int col) {
  if (!txtedit_->Mostrado()) return;
  if (fila >= 1 && fila < grilla_->Rows() && col >= 0 && col < grilla_->Cols()) {
    grilla_->SetTextMatrix(fila, col, txtedit_->Texto());
  }
  txtedit_->Ocultar();
}

void Frm_Ferolin::AlCambiarCelda(int filaAnterior, int colAnterior) {
  // Leave cell, for the cell being left: a shown editor is copied into it.
  ConfirmarEditorEn(filaAnterior, colAnterior);
  // Enter cell.
  if (!txtedit_->Mostrado()) txtedit_->SetTexto("");
  textpropiedades(grilla_->Col());
}

void Frm_Ferolin::AlEnfocarGrilla() {
  textpropiedades(grilla_->Col());
  ConfirmarEditorEn(grilla_->Row(), grilla_->Col());
}

void Frm_Ferolin::AlEnfocarEditor() {
  textpropiedades(grilla_->Col());
  QPalette paleta = txtedit_->palette();
  paleta.setColor(QPalette::Base, ColorDesdeBGR(ctx_.gColorFondoEdicion));
  paleta.setColor(QPalette::Text, ColorDesdeBGR(ctx_.gColorTextoEdicion));
  txtedit_->setPalette(paleta);
}

bool Frm_Ferolin::TeclaGrilla(QKeyEvent& event) {
  const int key = ui::VirtualKeyFromQt(event);
  if (key == ui::vk::kTab) return false;  // focus moves on
  // Key down.
  if (key != 0) {
    textpropiedades(grilla_->Col());
    MsflexKey(key);
    if (key == ui::vk::kDelete || key == ui::vk::kInsert || key == ui::vk::kEnd) return true;
  }
  // Key press: a key that types a character opens the editor.
  const int ascii = ui::KeyAsciiFromQt(event);
  if (ascii != 0 && ascii != ui::vk::kTab) {
    MsflexGridEdt(ascii);
    return true;
  }
  return false;  // the grid's own moves (arrows, page keys)
}

bool Frm_Ferolin::TeclaEditor(QKeyEvent& event) {
  const int key = ui::VirtualKeyFromQt(event);
  if (key != 0 && ctx_.tarvex.teclado().EsTeclaDeSalida(key)) {
    ConfirmarEdicion(key);
    return key != ui::vk::kTab;  // Tab still moves the focus on
  }
  const int ascii = ui::KeyAsciiFromQt(event);
  if (ascii == ',' || ascii == '.') {
    const int tecla = FiltrarTecla(ascii);
    if (tecla == ascii) return false;
    if (tecla != 0) txtedit_->Teclear(QString(QChar(tecla)));
    return true;
  }
  return false;
}

}  // namespace ferolin
