#include "store/principal.h"

#include <string>

namespace orv::store {

std::string IdText(const db::Value& id, std::string_view null_text) {
  if (id.IsNull() || id.IsEmpty()) return std::string(null_text);
  return std::to_string(id.ToInt64());
}

Principal Principal::User(int64_t id, std::string name) {
  Principal p;
  p.user_id_ = db::Value(id);
  p.name_ = std::move(name);
  return p;
}

Principal Principal::Group(int64_t id, std::string name) {
  Principal p;
  p.group_id_ = db::Value(id);
  p.name_ = std::move(name);
  return p;
}

Principal Principal::FromNode(const store::PrincipalNode& node) {
  return node.IsGroup() ? Group(node.id, node.name) : User(node.id, node.name);
}

Principal Principal::FromNode(const std::optional<store::PrincipalNode>& node) {
  return node ? FromNode(*node) : Principal();
}

std::string Principal::UserTest(std::string_view null_text, std::string_view eq_text) const {
  if (user_id_.IsNull()) return std::string(null_text);
  return std::string(eq_text) + IdText(user_id_, "");
}

std::string Principal::GroupTest(std::string_view null_text, std::string_view eq_text) const {
  if (group_id_.IsNull()) return std::string(null_text);
  return std::string(eq_text) + IdText(group_id_, "");
}

std::string Principal::UserValue(std::string_view null_text) const {
  return IdText(user_id_, null_text);
}

std::string Principal::GroupValue(std::string_view null_text) const {
  return IdText(group_id_, null_text);
}

std::string Principal::WhereClause(std::string_view prefix) const {
  std::string sql = " WHERE ";
  sql += prefix;
  sql += "_ID_FW07  ";
  sql += UserTest(" IS NULL", " =");
  sql += " AND ";
  sql += prefix;
  sql += "_ID_FW06  ";
  sql += GroupTest(" IS NULL", " =");
  return sql;
}

std::string Principal::Description() const {
  if (IsNone()) return {};
  std::string text = IsGroup() ? "Gruppo - " : "Utente - ";
  text += name_;
  text += " (";
  text += IsGroup() ? IdText(group_id_, "") : IdText(user_id_, "");
  text += ")";
  return text;
}

}  // namespace orv::store
