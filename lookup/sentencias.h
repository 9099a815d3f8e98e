#pragma once
// The statement texts the lookups build. Searches in them ignore letter case
// (ASCII), as the lookups do.

#include <string>

namespace ferolin::consulta {

// A filter longer than one character that does not start with "(" is put in
// parentheses with a blank each side.
std::string NormalizarWhere(const std::string& where);

// "SELECT TOP n campos FROM tabla  with(nolock)  WHERE filtro ORDER BY campoBusqueda".
std::string SentenciaMascara(const std::string& n, const std::string& campos,
                             const std::string& tabla, const std::string& filtro,
                             const std::string& campoBusqueda);
// "SELECT TOP n campos FROM tabla WHERE  where ORDER BY campoBusqueda".
std::string SentenciaAutomatica(const std::string& n, const std::string& campos,
                                const std::string& tabla, const std::string& where,
                                const std::string& campoBusqueda);

// A new database search of the list window on one column. sql is the window's
// statement; sqlActual and colaOrden are updated as the window keeps them.
// texto is the search box's text (changed when "*" becomes "%"); its
// apostrophes are doubled so that it stays one literal of the statement.
struct BusquedaF5 {
  std::string sql;
  std::string sqlActual;
  std::string colaOrden;
};
BusquedaF5 SentenciaF5Lista(const std::string& sql, const std::string& sqlActual,
                            const std::string& campo, std::string& texto, bool usaLike);
// The tree window's search on Descripcion.
BusquedaF5 SentenciaF5Arbol(const std::string& sql, const std::string& texto);

// The name that follows the first "from" of a statement.
std::string TablaDeSentencia(const std::string& sql);

}  // namespace ferolin::consulta
