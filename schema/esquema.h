#pragma once
// The suite's tables this program reads or writes, per engine, and the demo data.

#include <filesystem>
#include <string>

namespace ferolin::schema {

enum class Base { Principal, Estadisticas };

// Creates the SQLite file with the tables and views of that database, empty.
// Replaces nothing: fails when the file exists. Throws std::runtime_error.
void CrearBaseSqlite(const std::filesystem::path& file, Base base);

// Adds the demo rows to a database created by CrearBaseSqlite.
void CargarDatosDemo(const std::filesystem::path& file, Base base);

// Creates <datos>/DEMO.db and <datos>/KV_ESTADISTICAS.db with the demo data,
// replacing any earlier ones.
void CrearDemo(const std::filesystem::path& datos);

// DDL text for a PostgreSQL database of that kind.
std::string DdlPostgres(Base base);

}  // namespace ferolin::schema
