#pragma once
// The program's text helpers, shared by every folder from the data access up.
// Searches and comparisons ignore letter case in ASCII, as the suite compares
// its SQL texts and keys; the *Unicode variants serve names typed by people.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ferolin::texto {

inline constexpr std::size_t npos = std::string::npos;

std::string Mayusculas(std::string s);  // ASCII letters only
// Any letter, as names are compared where accented letters occur.
std::string MayusculasUnicode(std::string_view s);
bool IgualSinCaso(std::string_view a, std::string_view b);
bool IgualSinCasoUnicode(std::string_view a, std::string_view b);

// As std::string::find: an empty text is found at desde.
std::size_t Buscar(std::string_view s, std::string_view que, std::size_t desde = 0);
std::size_t BuscarUltimo(std::string_view s, std::string_view que);
bool Contiene(std::string_view s, std::string_view que);
bool EmpiezaCon(std::string_view s, std::string_view que);
// Every occurrence, left to right, without searching the text just put in.
std::string Reemplazar(std::string_view s, std::string_view que, std::string_view por);

// Blanks only, as the suite trims.
std::string Recortar(std::string_view s);
std::string RecortarIzquierda(std::string_view s);
std::string RecortarDerecha(std::string_view s);
// Blanks and tabs, as comma-separated files are read.
std::string RecortarBlancosYTabulaciones(std::string_view s);
// Blanks, tabs and line breaks, for statements cut out of a script.
std::string RecortarBlancosYSaltos(std::string_view s);

// Each apostrophe doubled: the value can stand between apostrophes in SQL.
std::string DoblarApostrofes(std::string_view s);
std::string QuitarApostrofes(std::string_view s);

// The number at the start of a text: leading blanks and tabs skipped, optional
// sign, digits and one "." as decimal point; 0 when there is none. Read
// without regard to the C locale; too many digits give an infinite value.
double ValorNumerico(std::string_view s);
// Rounded half to even, as the suite's conversions do; nullopt when out of range.
std::optional<long long> Redondear(double d, long long minimo, long long maximo);
// The shortest text that reads back as the number, without exponent, with
// the given decimal separator.
std::string NumeroComoTexto(double n, char separadorDecimal = '.');
// Whole numbers below 1e15 without decimals, any other at most 15 significant
// digits (exponent form when needed), as the lookups write their numbers.
std::string NumeroEnQuinceCifras(double n);

// Length and left part counted in UTF-16 units, as the suite counts characters.
std::size_t Largo(std::string_view s);
std::string Primeros(std::string_view s, std::size_t n);

}  // namespace ferolin::texto
