#pragma once
// Failures of the database client: the provider error collection and the
// exception every operation raises, with the numbers the program tells apart.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace ferolin::db {

// Error numbers raised by the client (ADO's numbering).
namespace err {
inline constexpr long kClosedObject = 3704;         // operation not allowed on a closed object
inline constexpr long kAlreadyOpen = 3705;          // operation not allowed on an open object
inline constexpr long kConnectionUnusable = 3709;   // the connection cannot be used
inline constexpr long kNotAllowedInContext = 3219;  // e.g. a pending edit
inline constexpr long kFieldNotFound = 3265;
inline constexpr long kEofOrBof = 3021;  // no current row
inline constexpr long kUnspecified =
    -2147467259;  // unspecified provider failure (also a lost connection)
inline constexpr long kCommandText = -2147217900;  // error in the command text
inline constexpr long kObjectNotFound = -2147217865;
inline constexpr long kIntegrity = -2147217873;      // integrity violation
inline constexpr long kTimeout = -2147217871;        // query time-out expired
inline constexpr long kDataOverflow = -2147217833;   // text or number does not fit its column
inline constexpr long kRowNotFound = -2147217864;    // row to update was changed or deleted
inline constexpr long kNoTransaction = -2147168242;  // commit or rollback without a transaction
inline constexpr long kInvalidArgument = 3001;
inline constexpr long kProviderNotFound = 3706;
inline constexpr long kNotSupported = 3251;  // the object cannot do what was asked
}  // namespace err

// SQL Server's native numbers, reported by every engine for these conditions.
namespace native {
inline constexpr long kDuplicateKey = 2627;
inline constexpr long kConstraintConflict = 547;
inline constexpr long kValueTooLong = 8152;
}  // namespace native

struct ProviderError {
  std::string sqlState;
  long number = 0;       // the ADO error number raised with it
  long nativeError = 0;  // engine code mapped to SQL Server's where the program acts on it
  std::string description;
  std::string source;
};

// The connection's provider error collection. Every connection operation that
// can fail (Open, Execute, transactions, schema queries, result-set opens and
// updates) empties it first, so after a successful statement it is empty and
// after a failed one it holds exactly that statement's diagnostics. Clear()
// empties it on request.
class ProviderErrors {
 public:
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  const ProviderError& Item(std::size_t i) const { return items_.at(i); }
  const std::vector<ProviderError>& All() const { return items_; }
  void Clear() { items_.clear(); }
  void Add(ProviderError e) { items_.push_back(std::move(e)); }

 private:
  std::vector<ProviderError> items_;
};

// Raised by every failing client operation. number() is one of err::*, or the
// number of the first provider error for a failed statement.
class DbError : public std::runtime_error {
 public:
  DbError(long number, std::string description, std::string source = "Ferolin.Db")
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        source_(std::move(source)) {}
  long number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

 private:
  long number_;
  std::string description_;
  std::string source_;
};

}  // namespace ferolin::db
