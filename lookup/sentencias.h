#pragma once
// Text helpers and the statement texts the lookups build. Every search and
// comparison here ignores letter case (ASCII), as the lookups do.

#include <string>
#include <string_view>

namespace ferolin::consulta {

std::string Trim(std::string_view s);  // blanks only
std::string Mayusculas(std::string_view s);
bool IgualesCI(std::string_view a, std::string_view b);
std::size_t BuscarCI(std::string_view texto, std::string_view buscado, std::size_t desde = 0);
bool ContieneCI(std::string_view texto, std::string_view buscado);
// Numeric value of the leading number of a text ("." decimal point); 0 when none.
double ValorNumerico(std::string_view s);
// A number in its plain text form: whole numbers without decimals.
std::string NumeroATexto(double n);

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

// An apostrophe inside a typed search text is doubled, so the text stays one
// literal of the statement.
std::string Literal(std::string_view texto);

// A new database search of the list window on one column. sql is the window's
// statement; sqlActual and colaOrden are updated as the window keeps them.
// texto is the search box's text (changed when "*" becomes "%").
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
