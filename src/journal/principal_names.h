#ifndef ORV_JOURNAL_PRINCIPAL_NAMES_H_
#define ORV_JOURNAL_PRINCIPAL_NAMES_H_

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "journal/journal_entry.h"

namespace orv::db {
class Connection;
}

namespace orv::journal {

// The names of the principals journal entries name, read from the host
// tables once per principal: FW07_NOMEUTENTE of a user, FW06_DESCR (else
// FW06_CODICE) of a group.
class PrincipalNames {
 public:
  explicit PrincipalNames(db::Connection& connection) : connection_(connection) {}

  // The entry's principal's name; "" for every principal, the switch, or a
  // principal the tables no longer hold.
  std::string Of(const JournalEntry& entry);

  // The statement reading one principal's name (one column, NAME).
  static std::string SelectName(bool user, int64_t id);

 private:
  db::Connection& connection_;
  std::map<std::pair<bool, int64_t>, std::string> known_;
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_PRINCIPAL_NAMES_H_
