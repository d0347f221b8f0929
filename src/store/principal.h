#ifndef ORV_STORE_PRINCIPAL_H_
#define ORV_STORE_PRINCIPAL_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/value.h"
#include "store/principal_node.h"

namespace orv::store {

// The principal a routine works for: a user or a group, held as two
// variants, exactly one of them Null (both Null when nothing is selected).
//
// Every revocation table names the principal with two columns, the table
// prefix + "_ID_FW07" (user) and + "_ID_FW06" (group). The statement texts
// test them with small spacing differences from table to table, so the
// builders take the pieces as the statements write them:
//   UserTest(" IS NULL", " =")  -> " IS NULL" or " =12"
//   UserValue(" NULL")          -> " NULL" or "12"
class Principal {
 public:
  Principal() = default;  // none: both Null
  static Principal User(int64_t id, std::string name = {});
  static Principal Group(int64_t id, std::string name = {});
  // From a tree node: kind 0 is a group, any other kind a user.
  static Principal FromNode(const store::PrincipalNode& node);
  static Principal FromNode(const std::optional<store::PrincipalNode>& node);

  const db::Value& user_id() const { return user_id_; }
  const db::Value& group_id() const { return group_id_; }
  const std::string& name() const { return name_; }

  bool IsUser() const { return !user_id_.IsNull(); }
  bool IsGroup() const { return !group_id_.IsNull(); }
  bool IsNone() const { return !IsUser() && !IsGroup(); }

  // The name for the change log: the principal's name when it is a group
  // (GroupName) or a user (UserName), else "".
  std::string GroupName() const { return IsGroup() ? name_ : std::string(); }
  std::string UserName() const { return IsUser() ? name_ : std::string(); }

  // `null_text` when the identifier is Null, otherwise `eq_text` followed by
  // the identifier in decimal.
  std::string UserTest(std::string_view null_text, std::string_view eq_text) const;
  std::string GroupTest(std::string_view null_text, std::string_view eq_text) const;
  // `null_text` or the identifier in decimal (for value lists).
  std::string UserValue(std::string_view null_text) const;
  std::string GroupValue(std::string_view null_text) const;

  // The usual WHERE clause of a revocation table:
  //   " WHERE " + prefix + "_ID_FW07  " + (" IS NULL" | " =" + id)
  //   + " AND " + prefix + "_ID_FW06  " + (" IS NULL" | " =" + id)
  std::string WhereClause(std::string_view prefix) const;

  // "Utente - " or "Gruppo - ", the name, " (", the identifier, ")".
  std::string Description() const;

  friend bool operator==(const Principal&, const Principal&) = default;

 private:
  db::Value user_id_ = db::Value::Null();
  db::Value group_id_ = db::Value::Null();
  std::string name_;
};

// Text of an identifier variant: `null_text` when Null, else its decimal.
std::string IdText(const db::Value& id, std::string_view null_text);

}  // namespace orv::store

#endif  // ORV_STORE_PRINCIPAL_H_
