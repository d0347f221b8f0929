#ifndef ORV_TESTS_DB_SQLITE_STAND_IN_TRANSLATOR_H_
#define ORV_TESTS_DB_SQLITE_STAND_IN_TRANSLATOR_H_

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "db/connection_string.h"
#include "db/sqlite/sqlite_driver.h"
#include "db/sqlite/translation.h"

namespace orv::db::sqlite::testing {

// Drives SqliteDriver without the host-dialect translator: texts registered
// with Add() give the steps written for them, any other text runs as plain
// SQLite (one statement step). Lets the driver's tests build exactly the
// steps they exercise.
class StandInTranslator {
 public:
  void Add(const std::string& text, Translation translation) {
    canned_[text] = std::make_shared<const Translation>(std::move(translation));
  }

  std::shared_ptr<const Translation> Translate(std::string_view text) const {
    if (auto it = canned_.find(std::string(text)); it != canned_.end()) return it->second;
    return std::make_shared<const Translation>(Translation{{Statement(std::string(text))}});
  }

  static Step Statement(std::string sql) {
    Step step;
    step.sql = std::move(sql);
    step.returns_rows = step.sql.rfind("SELECT", 0) == 0;
    return step;
  }

  // A driver whose translator is this object (which must outlive it).
  std::unique_ptr<SqliteDriver> Open(const std::string& connection_string) const {
    return SqliteDriver::Open(ConnectionString(connection_string), [this](const Catalog*) {
      return SqliteDriver::Translate(
          [this](std::string_view text, std::vector<Literal>*) { return Translate(text); });
    });
  }

 private:
  std::map<std::string, std::shared_ptr<const Translation>> canned_;
};

}  // namespace orv::db::sqlite::testing

#endif  // ORV_TESTS_DB_SQLITE_STAND_IN_TRANSLATOR_H_
