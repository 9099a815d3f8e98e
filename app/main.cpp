// Starts Ferolin: the program context, the connection dialog and the main
// window, whose load runs the start-up and ends the program without a
// connection.
//
// Hidden option for setting up a demo: "ferolin --crear-demo <folder>" creates
// <folder>/DEMO.db and <folder>/KV_ESTADISTICAS.db with the demo data.

#include <QApplication>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "connection_dialog/dialogo_conexion_qt.h"
#include "main_window/frm_ferolin.h"
#include "platform/os/environment.h"
#include "platform/ui/qt_prompt.h"
#include "schema/esquema.h"
#include "startup/contexto_programa.h"

namespace {

int CrearDemo(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "Uso: ferolin --crear-demo <carpeta de datos>\n";
    return 2;
  }
  try {
    const std::filesystem::path datos = argv[2];
    std::filesystem::create_directories(datos);
    ferolin::schema::CrearDemo(datos);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "No se pudo crear la base de demostración en " << argv[2] << ": " << e.what()
              << "\n";
    return 1;
  }
}

// Without a display Qt would abort with a terse message; say what to do.
bool HayPantalla() {
#if defined(__linux__)
  const std::string plataforma = ferolin::os::GetEnv("QT_QPA_PLATFORM");
  if (!plataforma.empty()) return true;
  return !ferolin::os::GetEnv("DISPLAY").empty() || !ferolin::os::GetEnv("WAYLAND_DISPLAY").empty();
#else
  return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "--crear-demo") return CrearDemo(argc, argv);
  if (!HayPantalla()) {
    std::cerr << "Ferolin necesita una pantalla: no hay DISPLAY ni WAYLAND_DISPLAY.\n"
                 "Ejecútelo en una sesión gráfica, bajo Xvfb (xvfb-run -a ...), o con\n"
                 "QT_QPA_PLATFORM=offscreen para probarlo sin ventana visible.\n";
    return 2;
  }

  QApplication app(argc, argv);
  ferolin::ui::QtOperatorPrompt prompt;
  ferolin::ContextoPrograma ctx(prompt, ferolin::os::ProgramFolder(),
                                ferolin::os::ExecutableName());
  ferolin::DialogoConexionQt dialogoConexion(ctx);

  ferolin::Frm_Ferolin ventana(ctx);
  prompt.SetParent(&ventana);
  // Without a connection the program ends here, without a window.
  if (!ventana.Form_Load()) return 1;
  ventana.show();
  return app.exec();
}
