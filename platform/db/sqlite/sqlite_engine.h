#pragma once
// Embedded SQLite engine.

#include <memory>
#include <string>

#include "platform/db/engine.h"

namespace ferolin::db::sqlite {

// Opens (never creates) the database file. Throws EngineError.
std::unique_ptr<Engine> OpenSqliteEngine(const std::string& path);

}  // namespace ferolin::db::sqlite
