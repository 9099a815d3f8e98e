#pragma once
// Text operations of the data-access layer. Every search ignores letter case
// (ASCII), as the suite compares its SQL texts.

#include <cstddef>
#include <string>

namespace ferolin::texto {

inline constexpr std::size_t npos = std::string::npos;

std::string Mayusculas(std::string s);
bool IgualSinCaso(const std::string& a, const std::string& b);
std::size_t Buscar(const std::string& s, const std::string& que, std::size_t desde = 0);
std::size_t BuscarUltimo(const std::string& s, const std::string& que);
bool Contiene(const std::string& s, const std::string& que);
bool EmpiezaCon(const std::string& s, const std::string& que);
// Every occurrence, left to right, without searching the text just put in.
std::string Reemplazar(const std::string& s, const std::string& que, const std::string& por);

// Blanks only, as the suite trims.
std::string Recortar(const std::string& s);
std::string RecortarIzquierda(const std::string& s);
std::string RecortarDerecha(const std::string& s);

// Each apostrophe doubled: the value can stand between apostrophes in SQL.
std::string DoblarApostrofes(const std::string& s);

// The number at the start of a text: leading blanks skipped, optional sign,
// digits and "." as decimal point; 0 when there is none.
double ValorNumerico(const std::string& s);
// The shortest text that reads back as the number, without exponent, with
// the given decimal separator.
std::string NumeroComoTexto(double n, char separadorDecimal = '.');

}  // namespace ferolin::texto
