// How driver diagnostics become the program's error numbers, for the two
// servers the ODBC engine meets: PostgreSQL in tests, SQL Server in the field.
#include "platform/db/odbc/odbc_errors.h"

#include <gtest/gtest.h>

namespace ferolin::db::odbc {
namespace {

TEST(OdbcErrors, ClassifiesByServer) {
  struct Case {
    Dialect dialect;
    Diagnostic diagnostic;
    long number, native;
    bool lost;
  };
  const Case cases[] = {
      // psqlODBC's native error is its own status (1), never the server's.
      {Dialect::PostgreSql, {"23505", 1, "duplicate key"}, err::kIntegrity, 2627, false},
      {Dialect::PostgreSql, {"23503", 1, "foreign key"}, err::kIntegrity, 547, false},
      {Dialect::PostgreSql, {"23514", 1, "check"}, err::kIntegrity, 547, false},
      {Dialect::PostgreSql, {"22001", 1, "too long"}, err::kDataOverflow, 8152, false},
      {Dialect::PostgreSql, {"57014", 1, "canceling statement"}, err::kTimeout, 1, false},
      {Dialect::PostgreSql, {"42601", 1, "syntax"}, err::kCommandText, 1, false},
      {Dialect::PostgreSql, {"08S01", 35, "connection lost"}, err::kUnspecified, 35, true},
      {Dialect::PostgreSql, {"57P01", 1, "terminating connection"}, err::kUnspecified, 1, true},
      // SQL Server's own numbers pass unchanged.
      {Dialect::SqlServer,
       {"23000", 2627, "Violation of PRIMARY KEY"},
       err::kIntegrity,
       2627,
       false},
      {Dialect::SqlServer,
       {"22001", 8152, "String or binary data"},
       err::kDataOverflow,
       8152,
       false},
      {Dialect::SqlServer, {"42S02", 208, "Invalid object name"}, err::kObjectNotFound, 208, false},
      {Dialect::SqlServer,
       {"08S01", 10054, "Communication link failure"},
       err::kUnspecified,
       10054,
       true},
  };
  for (const Case& c : cases) {
    EngineFailure f = Classify({c.diagnostic}, c.dialect);
    ASSERT_EQ(f.diagnostics.size(), 1u);
    EXPECT_EQ(f.number, c.number) << c.diagnostic.sqlState;
    EXPECT_EQ(f.diagnostics[0].nativeError, c.native) << c.diagnostic.sqlState;
    EXPECT_EQ(f.diagnostics[0].number, c.number) << c.diagnostic.sqlState;
    EXPECT_EQ(f.connectionLost, c.lost) << c.diagnostic.sqlState;
    EXPECT_EQ(f.diagnostics[0].description, c.diagnostic.message);
  }
}

TEST(OdbcErrors, KeepsEveryRecordAndNamesTheFailureByTheFirst) {
  EngineFailure f = Classify({{"23000", 2627, "Violation of PRIMARY KEY constraint 'PK_X'."},
                              {"01000", 3621, "The statement has been terminated."}},
                             Dialect::SqlServer);
  ASSERT_EQ(f.diagnostics.size(), 2u);
  EXPECT_EQ(f.number, err::kIntegrity);
  EXPECT_EQ(f.diagnostics[1].nativeError, 3621);
  EXPECT_EQ(f.diagnostics[1].number, err::kIntegrity);
  EXPECT_EQ(f.diagnostics[1].description, "The statement has been terminated.");

  // A lost link anywhere in the records makes the whole failure a lost link.
  f = Classify({{"HY000", 1, "could not send data"}, {"08S01", 35, "connection is dead"}},
               Dialect::PostgreSql);
  EXPECT_TRUE(f.connectionLost);
  EXPECT_EQ(f.number, err::kUnspecified);

  // A failure the driver left without records still says so.
  f = Classify({}, Dialect::PostgreSql, err::kUnspecified);
  ASSERT_EQ(f.diagnostics.size(), 1u);
  EXPECT_FALSE(f.diagnostics[0].description.empty());
}

}  // namespace
}  // namespace ferolin::db::odbc
