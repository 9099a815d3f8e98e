#pragma once
// Text helpers of the start-up and services: the suite's blank trimming,
// case-insensitive comparisons and the leading-number reading of its settings.

#include <optional>
#include <string>

namespace ferolin::cadena {

// Leading and trailing blanks removed (blanks only, as the suite trims).
std::string Recortar(const std::string& s);
std::string Mayusculas(const std::string& s);
bool Iguales(const std::string& a, const std::string& b);             // without regard to case
bool Contiene(const std::string& texto, const std::string& buscado);  // without regard to case
// Position of the first occurrence without regard to case, npos when none.
std::size_t Buscar(const std::string& texto, const std::string& buscado, std::size_t desde = 0);
// Every apostrophe doubled, for a value written between apostrophes.
std::string Comillas(const std::string& s);
// The value of the number the text starts with (after blanks): sign, digits,
// one "." with decimals. Empty or non-numeric text gives 0.
double ValorNumerico(const std::string& s);
// Rounded half to even, as the suite's conversions do; nullopt when out of range.
std::optional<long long> Redondear(double d, long long minimo, long long maximo);
// The first n characters (not bytes) of a UTF-8 text.
std::string Primeros(const std::string& s, std::size_t n);
std::size_t Largo(const std::string& s);  // characters

}  // namespace ferolin::cadena
