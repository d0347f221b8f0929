#include "profile/principal_directory.h"

#include <memory>
#include <stdexcept>

#include "db/connection.h"
#include "db/recordset.h"
#include "profile/profile_statements.h"

namespace orv::profile {
namespace {

std::string Text(const db::Value& value) {
  return value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
}

NamedPrincipal GroupFrom(const db::Recordset& rs) {
  const std::string code = Text(rs.Field("FW06_CODICE"));
  std::string name = Text(rs.Field("FW06_DESCR"));
  if (name.empty()) name = code;
  return {store::Principal::Group(rs.Field("FW06_ID").ToInt64(), name), code};
}

NamedPrincipal UserFrom(const db::Recordset& rs) {
  return {store::Principal::User(rs.Field("FW07_ID").ToInt64(), Text(rs.Field("FW07_NOMEUTENTE"))),
          Text(rs.Field("FW07_LOGIN"))};
}

}  // namespace

std::string NamedPrincipal::Reference() const { return (IsUser() ? "user:" : "group:") + code; }

std::string NamedPrincipal::SourceLabel() const {
  return IsUser() ? std::string("utente") : "gruppo " + principal.name();
}

NamedPrincipal PrincipalDirectory::Find(std::string_view reference) {
  std::string_view code = reference;
  bool group = false;
  if (reference.starts_with("group:")) {
    group = true;
    code = reference.substr(6);
  } else if (reference.starts_with("user:")) {
    code = reference.substr(5);
  }
  auto rs = connection_.Execute(group ? ProfileStatements::SelectGroupByCode(code)
                                      : ProfileStatements::SelectUserByLogin(code));
  if (!rs || rs->IsEof()) {
    throw std::runtime_error(std::string(group ? "no group " : "no user ") + std::string(code));
  }
  return group ? GroupFrom(*rs) : UserFrom(*rs);
}

NamedPrincipal PrincipalDirectory::User(int64_t id) {
  auto rs = connection_.Execute(ProfileStatements::SelectUserById(id));
  if (!rs || rs->IsEof()) throw std::runtime_error("no user " + std::to_string(id));
  return UserFrom(*rs);
}

NamedPrincipal PrincipalDirectory::Group(int64_t id) {
  auto rs = connection_.Execute(ProfileStatements::SelectGroupById(id));
  if (!rs || rs->IsEof()) throw std::runtime_error("no group " + std::to_string(id));
  return GroupFrom(*rs);
}

std::vector<NamedPrincipal> PrincipalDirectory::GroupsOf(int64_t user_id) {
  std::vector<NamedPrincipal> groups;
  auto rs = connection_.Execute(ProfileStatements::SelectGroupsOfUser(user_id));
  for (; rs && !rs->IsEof(); rs->MoveNext()) groups.push_back(GroupFrom(*rs));
  return groups;
}

void PrincipalDirectory::RequireAdministrator(std::string_view login) {
  auto rs = connection_.Execute(ProfileStatements::SelectUserByLogin(login));
  if (!rs || rs->IsEof()) throw std::runtime_error("unknown login: " + std::string(login));
  const db::Value& admin = rs->Field("FW07_FLGADMIN");
  const db::Value& active = rs->Field("FW07_FLGATTIVO");
  const bool ok =
      !admin.IsNull() && admin.ToInt32() == 1 && !active.IsNull() && active.ToInt32() == 1;
  if (!ok) {
    throw std::runtime_error(std::string(login) +
                             " is not an active administrator: only the administrator may read "
                             "and change revocations");
  }
}

}  // namespace orv::profile
