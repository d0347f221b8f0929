#ifndef ORV_TESTS_HOSTDB_HOSTDB_TEST_UTIL_H_
#define ORV_TESTS_HOSTDB_HOSTDB_TEST_UTIL_H_

// Small helpers for the host database tests: run host-dialect text through a
// real connection and get the rows back as text ("NULL" for NULL), so tests
// compare plain strings.

#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "db/command.h"
#include "db/connection.h"
#include "db/recordset.h"

namespace orv::hostdb::testing {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

inline std::string Text(const db::Value& v) { return v.IsNull() ? "NULL" : v.ToText(); }

inline Rows ReadAll(db::Recordset* rs) {
  Rows rows;
  if (rs == nullptr || !rs->IsOpen()) return rows;
  while (!rs->IsEof()) {
    Row row;
    for (int i = 0; i < rs->FieldCount(); ++i) row.push_back(Text(rs->Field(i)));
    rows.push_back(std::move(row));
    rs->MoveNext();
  }
  return rows;
}

inline Rows Query(db::Connection& cn, const std::string& sql) {
  auto rs = cn.Execute(sql);
  return ReadAll(rs.get());
}

// Only the named columns of every row (looked up by name, as the editor does).
inline Rows Columns(db::Recordset* rs, const std::vector<std::string>& names) {
  Rows rows;
  if (rs == nullptr || !rs->IsOpen()) return rows;
  while (!rs->IsEof()) {
    Row row;
    for (const std::string& name : names) row.push_back(Text(rs->Field(name)));
    rows.push_back(std::move(row));
    rs->MoveNext();
  }
  return rows;
}

inline Rows Query(db::Connection& cn, const std::string& sql,
                  const std::vector<std::string>& names) {
  auto rs = cn.Execute(sql);
  return Columns(rs.get(), names);
}

inline Rows Sorted(Rows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

// The first column of the first row.
inline std::string Scalar(db::Connection& cn, const std::string& sql) {
  Rows rows = Query(cn, sql);
  return rows.empty() || rows[0].empty() ? "<no row>" : rows[0][0];
}

inline void Exec(db::Connection& cn, const std::string& sql) {
  cn.Execute(sql, nullptr, db::kAdCmdText | db::kAdExecuteNoRecords);
}

// Runs a stored procedure the way the editor does: command type 4, no
// time-out, the parameter taken by name from the server's description.
inline void RunProcedure(const std::shared_ptr<db::Connection>& cn, const std::string& name,
                         const std::string& param = {}, std::optional<int> value = {}) {
  db::Command command;
  command.ActiveConnection = cn;
  command.CommandType = db::kAdCmdStoredProc;
  command.CommandTimeout = 0;
  command.CommandText = name;
  if (value) command.SetParameter(param, db::Value(*value));
  command.Execute(nullptr, db::kAdExecuteNoRecords);
}

inline void ReloadUser(const std::shared_ptr<db::Connection>& cn, int user) {
  RunProcedure(cn, "SPFW_ReloadListaCFRevocatiUtente", "@idutente", user);
}
inline void ReloadGroup(const std::shared_ptr<db::Connection>& cn, int group) {
  RunProcedure(cn, "SPFW_ReloadListaCFRevocatiGruppo", "@idgruppo", group);
}
inline void ReloadAll(const std::shared_ptr<db::Connection>& cn) {
  RunProcedure(cn, "SPFW_ReloadListaCFRevocati");
}

// A principal's revoked customers and suppliers as "company|type|code".
inline std::set<std::string> UserList(db::Connection& cn, int user) {
  std::set<std::string> out;
  for (const Row& r : Query(cn,
                            "SELECT FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM "
                            "FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW07 = " +
                                std::to_string(user) + " AND FW3C_ID_FW06 IS NULL")) {
    out.insert(r[0] + "|" + r[1] + "|" + r[2]);
  }
  return out;
}
inline std::set<std::string> GroupList(db::Connection& cn, int group) {
  std::set<std::string> out;
  for (const Row& r : Query(cn,
                            "SELECT FW3C_DITTA_CG18, FW3C_TIPOCF, FW3C_CODCLIFOR FROM "
                            "FW3C_LISTACFREVOCATI WHERE FW3C_ID_FW06 = " +
                                std::to_string(group) + " AND FW3C_ID_FW07 IS NULL")) {
    out.insert(r[0] + "|" + r[1] + "|" + r[2]);
  }
  return out;
}

}  // namespace orv::hostdb::testing

#endif  // ORV_TESTS_HOSTDB_HOSTDB_TEST_UTIL_H_
