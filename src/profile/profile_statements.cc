#include "profile/profile_statements.h"

#include <array>

#include "db/sql_literal.h"

namespace orv::profile {
namespace {

// The columns of one revocation table, "" where the table has none.
struct Columns {
  std::string_view prefix;
  std::string_view company;
  std::string_view kind;
  std::string_view grouping;
  std::array<std::string_view, 3> codes;
  std::array<std::string_view, 4> flags;
};

const Columns& ColumnsOf(RevocationTable table) {
  static const std::array<Columns, 5> kColumns = {{
      {"FW31",
       "FW31_DITTARAGG",
       "FW31_INDTIPO",
       "",
       {"FW31_CODTIPO", "", ""},
       {"FW31_FLGABILITATO", "FW31_FLGMODIFICA", "FW31_FLGELIMINA", "FW31_FLGINSERISCI"}},
      {"FW32",
       "FW32_DITTA",
       "FW32_TIPOCF",
       "FW32_TIPORAGG",
       {"FW32_CODMACRO", "FW32_CODMIDDLE", "FW32_CODRAGG"},
       {"FW32_FLGABILITATO", "FW32_FLGMODIFICA", "", ""}},
      {"FW3H",
       "FW3H_DITTA",
       "",
       "FW3H_TIPORAGG",
       {"FW3H_CODMACRO", "FW3H_CODMIDDLE", "FW3H_CODRAGG"},
       {"FW3H_FLGABILITATO", "FW3H_FLGMODIFICA", "FW3H_FLGINSERIMENTO", "FW3H_FLGELIMINA"}},
      {"FW3E",
       "FW3E_DITTA_CG18",
       "",
       "",
       {"FW3E_CODDEP_ORI", "FW3E_CODDEP_DES", ""},
       {"FW3E_FLGABILITATO", "", "", ""}},
      {"FW3N",
       "FW3N_DITTA_CG18",
       "",
       "",
       {"FW3N_CODPROG_PD68", "FW3N_CODNODO", ""},
       {"", "", "", ""}},
  }};
  return kColumns[static_cast<size_t>(table)];
}

std::string Column(std::string_view name, std::string_view constant, std::string_view alias) {
  std::string s = name.empty() ? std::string(constant) : std::string(name);
  s += " AS ";
  s += alias;
  return s;
}

std::string SelectList(const Columns& c) {
  std::string s = "SELECT ";
  s += c.prefix;
  s += "_ID_FW07 AS ID_FW07, ";
  s += c.prefix;
  s += "_ID_FW06 AS ID_FW06, ";
  s += Column(c.company, "0", "DITTA") + ", ";
  s += Column(c.kind, "0", "KIND") + ", ";
  s += Column(c.grouping, "''", "GROUPING") + ", ";
  for (size_t i = 0; i < c.codes.size(); ++i) {
    s += Column(c.codes[i], "''", "CODE" + std::to_string(i + 1)) + ", ";
  }
  for (size_t i = 0; i < c.flags.size(); ++i) {
    s += Column(c.flags[i], "0", "F" + std::to_string(i));
    s += i + 1 < c.flags.size() ? ", " : "";
  }
  s += " FROM ";
  return s;
}

std::string OrderBy(const Columns& c) {
  std::string s = " ORDER BY ";
  s += c.company;
  if (!c.kind.empty()) s += std::string(", ") + std::string(c.kind);
  if (!c.grouping.empty()) s += std::string(", ") + std::string(c.grouping);
  for (std::string_view code : c.codes) {
    if (!code.empty()) s += std::string(", ") + std::string(code);
  }
  return s;
}

// " AND column = 'text'" for each column of the row's key.
std::string KeyTest(const Columns& c, const ProfileRow& row) {
  std::string s = " AND " + std::string(c.company) + " = " + std::to_string(row.company);
  if (!c.kind.empty()) s += " AND " + std::string(c.kind) + " = " + std::to_string(row.kind);
  if (!c.grouping.empty()) {
    s += " AND " + std::string(c.grouping) + " = " + db::SqlQuote(row.grouping);
  }
  const std::array<const std::string*, 3> codes = {&row.code1, &row.code2, &row.code3};
  for (size_t i = 0; i < c.codes.size(); ++i) {
    if (!c.codes[i].empty()) {
      s += " AND " + std::string(c.codes[i]) + " = " + db::SqlQuote(*codes[i]);
    }
  }
  return s;
}

std::string PrincipalTest(const Columns& c, const store::Principal& principal) {
  std::string s = " WHERE ";
  s += c.prefix;
  s += "_ID_FW07" + principal.UserTest(" IS NULL", " = ");
  s += " AND ";
  s += c.prefix;
  s += "_ID_FW06" + principal.GroupTest(" IS NULL", " = ");
  return s;
}

}  // namespace

std::string ProfileStatements::SelectRows(RevocationTable table,
                                          const store::Principal& principal) {
  const Columns& c = ColumnsOf(table);
  return SelectList(c) + std::string(TableName(table)) + PrincipalTest(c, principal) + OrderBy(c);
}

std::string ProfileStatements::SelectWhereUsed(const RevocationItem& item) {
  const Columns& c = ColumnsOf(item.table);
  std::string s = SelectList(c) + std::string(TableName(item.table)) + " WHERE 1 = 1";
  if (!c.kind.empty()) s += " AND " + std::string(c.kind) + " = " + std::to_string(item.kind);
  if (!c.grouping.empty()) {
    s += " AND " + std::string(c.grouping) + " = " + db::SqlQuote(item.grouping);
  }
  const std::array<const std::string*, 3> codes = {&item.code1, &item.code2, &item.code3};
  for (size_t i = 0; i < c.codes.size(); ++i) {
    if (!c.codes[i].empty()) {
      s += " AND " + std::string(c.codes[i]) + " = " + db::SqlQuote(*codes[i]);
    }
  }
  if (item.company) s += " AND " + std::string(c.company) + " = " + std::to_string(*item.company);
  s += " ORDER BY ";
  s += c.prefix;
  s += "_ID_FW06, ";
  s += c.prefix;
  s += "_ID_FW07, ";
  s += c.company;
  return s;
}

std::string ProfileStatements::InsertRows(RevocationTable table, const store::Principal& principal,
                                          std::span<const ProfileRow> rows) {
  const Columns& c = ColumnsOf(table);
  std::string s = "INSERT INTO " + std::string(TableName(table)) + " (";
  s += std::string(c.prefix) + "_ID_FW07, " + std::string(c.prefix) + "_ID_FW06, ";
  s += c.company;
  if (!c.kind.empty()) s += ", " + std::string(c.kind);
  if (!c.grouping.empty()) s += ", " + std::string(c.grouping);
  for (std::string_view code : c.codes) {
    if (!code.empty()) s += ", " + std::string(code);
  }
  for (std::string_view flag : c.flags) {
    if (!flag.empty()) s += ", " + std::string(flag);
  }
  s += ") VALUES ";
  const std::string who = principal.UserValue("NULL") + ", " + principal.GroupValue("NULL");
  bool first = true;
  for (const ProfileRow& row : rows) {
    s += first ? "(" : ", (";
    first = false;
    s += who + ", " + std::to_string(row.company);
    if (!c.kind.empty()) s += ", " + std::to_string(row.kind);
    if (!c.grouping.empty()) s += ", " + db::SqlQuote(row.grouping);
    const std::array<const std::string*, 3> codes = {&row.code1, &row.code2, &row.code3};
    for (size_t i = 0; i < c.codes.size(); ++i) {
      if (!c.codes[i].empty()) s += ", " + db::SqlQuote(*codes[i]);
    }
    for (size_t i = 0; i < c.flags.size(); ++i) {
      if (!c.flags[i].empty()) s += ", " + std::to_string(row.flags[i]);
    }
    s += ")";
  }
  return s;
}

std::string ProfileStatements::UpdateRow(const store::Principal& principal, const ProfileRow& row) {
  const Columns& c = ColumnsOf(row.table);
  std::string s = "UPDATE " + std::string(TableName(row.table)) + " SET ";
  bool first = true;
  for (size_t i = 0; i < c.flags.size(); ++i) {
    if (c.flags[i].empty()) continue;
    s += first ? "" : ", ";
    first = false;
    s += std::string(c.flags[i]) + " = " + std::to_string(row.flags[i]);
  }
  return s + PrincipalTest(c, principal) + KeyTest(c, row);
}

std::string ProfileStatements::DeleteRow(const store::Principal& principal, const ProfileRow& row) {
  const Columns& c = ColumnsOf(row.table);
  return "DELETE FROM " + std::string(TableName(row.table)) + PrincipalTest(c, principal) +
         KeyTest(c, row);
}

std::string ProfileStatements::SelectGroupsOfUser(int64_t user_id) {
  return "SELECT G.FW06_ID, G.FW06_CODICE, G.FW06_DESCR FROM FW00_GRPUSRASSOC A"
         " INNER JOIN FW06_GROUPUSR G ON G.FW06_ID = A.FW00_ID_FW06"
         " WHERE A.FW00_ID_FW07 = " +
         std::to_string(user_id) + " ORDER BY G.FW06_CODICE";
}

std::string ProfileStatements::SelectUserByLogin(std::string_view login) {
  return "SELECT FW07_ID, FW07_LOGIN, FW07_NOMEUTENTE, FW07_FLGADMIN, FW07_FLGATTIVO"
         " FROM FW07_APPUSER WHERE FW07_LOGIN = " +
         db::SqlQuote(login);
}

std::string ProfileStatements::SelectGroupByCode(std::string_view code) {
  return "SELECT FW06_ID, FW06_CODICE, FW06_DESCR FROM FW06_GROUPUSR WHERE FW06_CODICE = " +
         db::SqlQuote(code);
}

std::string ProfileStatements::SelectUserById(int64_t id) {
  return "SELECT FW07_ID, FW07_LOGIN, FW07_NOMEUTENTE, FW07_FLGADMIN, FW07_FLGATTIVO"
         " FROM FW07_APPUSER WHERE FW07_ID = " +
         std::to_string(id);
}

std::string ProfileStatements::SelectGroupById(int64_t id) {
  return "SELECT FW06_ID, FW06_CODICE, FW06_DESCR FROM FW06_GROUPUSR WHERE FW06_ID = " +
         std::to_string(id);
}

std::string ProfileStatements::InsertChangeLog(
    std::string_view now, std::string_view login,
    std::span<const std::pair<int32_t, std::string>> entries) {
  std::string s =
      "INSERT INTO FW90_LOGMODIFICHE (FW90_DATAORA, FW90_LOGIN, FW90_EVENTO, FW90_TESTO) VALUES ";
  const std::string head = "(" + db::SqlQuote(now) + ", " + db::SqlQuote(login) + ", ";
  bool first = true;
  for (const auto& [event, text] : entries) {
    s += first ? "" : ", ";
    first = false;
    s += head + std::to_string(event) + ", " + db::SqlQuote(text) + ")";
  }
  return s;
}

}  // namespace orv::profile
