// Started by the launcher tests: writes the command line it received (its
// arguments joined by blanks, as the start-up reads them) to the file named by
// FEROLIN_ECO_SALIDA. Written under another name first and renamed, so the
// test never reads half a line.
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* salida = std::getenv("FEROLIN_ECO_SALIDA");
  if (salida == nullptr || *salida == '\0') return 2;
  std::string linea;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) linea += ' ';
    linea += argv[i];
  }
  const std::string temporal = std::string(salida) + ".tmp";
  std::FILE* f = std::fopen(temporal.c_str(), "wb");
  if (f == nullptr) return 3;
  const bool escrito = std::fwrite(linea.data(), 1, linea.size(), f) == linea.size();
  if (std::fclose(f) != 0 || !escrito) return 4;
  return std::rename(temporal.c_str(), salida) == 0 ? 0 : 5;
}
