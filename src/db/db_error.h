#ifndef ORV_DB_DB_ERROR_H_
#define ORV_DB_DB_ERROR_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv::db {

// One message of a driver, as the connection's Errors collection lists it.
struct DriverMessage {
  int64_t number = 0;     // native error number of the driver or server
  std::string sql_state;  // five-character state where the driver has one
  std::string description;
  std::string source;  // "SQLite", "ODBC", "Translator", ...
};

// The one exception type of the data layer: number and description as the
// routines report them ("Errore N° :" + number ...), plus every message the
// driver produced. Descriptions never contain a connection string's password.
class DbError : public std::runtime_error {
 public:
  DbError(int64_t number, std::string description, std::vector<DriverMessage> messages = {})
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        messages_(std::move(messages)) {}

  int64_t number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::vector<DriverMessage>& messages() const { return messages_; }

 private:
  int64_t number_;
  std::string description_;
  std::vector<DriverMessage> messages_;
};

// True when the error is a row meeting another with the same unique key
// (SQLite's unique or primary-key constraint, the server's 2601 and 2627).
inline bool IsDuplicateKey(const DbError& error) {
  for (const DriverMessage& m : error.messages()) {
    if (m.number == 2067 || m.number == 1555 || m.number == 2601 || m.number == 2627) return true;
  }
  return false;
}

// A Value conversion that cannot be done (type mismatch, overflow). Numbers
// follow the host language: 13 type mismatch, 6 overflow, 94 invalid use of Null.
class ConversionError : public DbError {
 public:
  using DbError::DbError;
};

// Error numbers the data layer raises itself.
inline constexpr int64_t kErrTypeMismatch = 13;
inline constexpr int64_t kErrOverflow = 6;
inline constexpr int64_t kErrInvalidNull = 94;
// ADO-style numbers for recordset misuse.
inline constexpr int64_t kErrBofOrEof = 3021;              // no current record
inline constexpr int64_t kErrItemNotFound = 3265;          // no field of that name
inline constexpr int64_t kErrClosed = 3704;                // operation on a closed object
inline constexpr int64_t kErrBadArgument = 3001;           // wrong argument (bad filter, ...)
inline constexpr int64_t kErrFieldValue = -2147217887;     // value a field cannot hold (0x80040E21)
inline constexpr int64_t kErrRecordDeleted = -2147217885;  // current row was deleted (0x80040E23)
inline constexpr int64_t kErrBadBookmark = -2147217906;  // bookmark of no visible row (0x80040E0E)
inline constexpr int64_t kErrRowNotFound =
    -2147217864;  // UpdateBatch found no row to change (0x80040E38)
inline constexpr int64_t kErrProvider = -2147467259;  // generic provider failure (0x80004005)

}  // namespace orv::db

#endif  // ORV_DB_DB_ERROR_H_
