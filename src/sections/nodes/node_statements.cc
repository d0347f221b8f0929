#include "sections/nodes/node_statements.h"

#include <initializer_list>

#include "db/db_error.h"
#include "db/sql_literal.h"
#include "store/principal.h"
#include "store/temp_table.h"

namespace orv::sections {

namespace {

constexpr std::string_view kCrLf = NodeStatements::kCrLf;

const std::string& CheckedName(std::string_view work_table, std::string& out) {
  if (!NodeStatements::IsWorkTableName(work_table)) {
    throw db::DbError(db::kErrBadArgument,
                      "Invalid work table name '" + std::string(work_table) + "'");
  }
  out = std::string(work_table);
  return out;
}

// " IS NULL" or " =" + identifier.
std::string Test(const db::Value& id) {
  if (id.IsNull() || id.IsEmpty()) return " IS NULL";
  return " =" + store::IdText(id, "");
}

}  // namespace

bool NodeStatements::IsWorkTableName(std::string_view name) {
  if (name.size() < 3 || name.substr(0, 2) != "##") return false;
  for (char c : name.substr(2)) {
    const bool ok =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::string NodeStatements::WorkTable(std::string_view work_table, const db::Value& user_id,
                                      const db::Value& group_id, int64_t company,
                                      bool all_included) {
  std::string name;
  CheckedName(work_table, name);
  std::string s;
  auto line = [&s](std::string_view piece) {
    s += piece;
    s += kCrLf;
  };
  line(" select  ");
  line("     PD0C_CODNODO as CODICE,  ");
  line("     PD0C_CODPROG_PD68 as PROGETTO, ");
  line("     PD0C_DESCR as DESCRIZIONE, 0 AS INDTIPO, ");
  line("     CASE WHEN FW3N_CODNODO IS NULL THEN 1 ELSE 0 END AS ABILITATO, ");
  s += "     0 AS MODIFICA, ";
  s += "     0 AS ELIMINAZIONE, ";
  line("     0 AS INSERIMENTO, ");
  line(all_included ? "     1 AS INCLUSA, " : "     0 AS INCLUSA, ");
  line("     PD0C_DITTA_CG18 As DITTARAG,  ");
  line("     CONVERT(VARCHAR(10),CG18_DITTA) + ' - ' + CG16_RAGSOANAG AS RAGGRUPPAMENTO, ");
  s += "     PD0C_NODO.*, PD68_PROGETTI.*";
  line(" into " + name);
  line(" from PD0C_NODO ");
  line(" INNER JOIN PD68_PROGETTI ");
  line("     on PD0C_DITTA_CG18 = PD68_DITTA_CG18 ");
  line("     and PD0C_CODPROG_PD68 = PD68_CODPROG ");
  line(" left join  FW3N_RVKNODI  ");
  line("     ON PD0C_CODNODO = FW3N_CODNODO ");
  line("     and FW3N_CODPROG_PD68 = PD0C_CODPROG_PD68 ");
  line("     and FW3N_DITTA_CG18 = PD0C_DITTA_CG18 ");
  line("     and FW3N_ID_FW07 " + Test(user_id));
  line("     and FW3N_ID_FW06 " + Test(group_id));
  line(" INNER JOIN CG18_ANADITTABASE  ");
  line("     ON PD0C_DITTA_CG18 = CG18_DITTA ");
  line(" INNER JOIN CG16_ANAGGEN  ");
  line("     ON CG18_CODICE_CG16 = CG16_CODICE ");
  line(" WHERE PD0C_DITTA_CG18 = " + std::to_string(company));
  return s;
}

std::string NodeStatements::DropWorkTable(std::string_view work_table) {
  std::string name;
  return store::TempTable::DropIfExists(CheckedName(work_table, name));
}

std::string NodeStatements::MarkIncluded(std::string_view work_table, std::string_view condition) {
  std::string name;
  std::string s = "update " + CheckedName(work_table, name) + " set INCLUSA=1";
  if (!condition.empty()) {
    s += " where 1 = 1 ";
    s += condition;
  }
  return s;
}

std::string NodeStatements::RowsShown(std::string_view work_table) {
  std::string name;
  return "select * from " + CheckedName(work_table, name) +
         " where INCLUSA=1 order by PROGETTO, CODICE";
}

std::string NodeStatements::WorkTableKey(std::string_view work_table) {
  std::string name;
  CheckedName(work_table, name);
  // Index names live per table on the server and per schema on the embedded
  // engine: the table's own unique name keeps them apart.
  return "CREATE UNIQUE CLUSTERED INDEX IX_" + name.substr(2) + " ON " + name +
         " (PROGETTO, CODICE, DITTARAG)";
}

std::string NodeStatements::Merge(std::string_view work_table, const db::Value& user_id,
                                  const db::Value& group_id, int64_t company) {
  std::string name;
  CheckedName(work_table, name);
  const std::string group_test = Test(group_id);
  const std::string user_test = Test(user_id);
  const std::initializer_list<std::string> lines = {
      " MERGE FW3N_RVKNODI AS target   ",
      " USING (SELECT PROGETTO, CODICE, DITTARAG, ABILITATO  ",
      "         FROM " + name,
      "         where INCLUSA = 1) AS source (PROGETTO, CODICE, DITTARAG, ABILITATO)   ",
      " ON (target.FW3N_CODPROG_PD68 = source.PROGETTO ",
      "     and target.FW3N_CODNODO = source.CODICE ",
      "     and target.FW3N_DITTA_CG18 = source.DITTARAG ",
      "     and target.FW3N_ID_FW06 " + group_test,
      "     and target.FW3N_ID_FW07 " + user_test,
      "     ) ",
      " WHEN MATCHED AND source.ABILITATO = 1 ",
      "     and target.FW3N_DITTA_CG18 = " + std::to_string(company),
      "     THEN DELETE ",
      " WHEN NOT MATCHED BY TARGET AND source.ABILITATO = 0 ",
      "     THEN INSERT (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
      "FW3N_ID_FW07) VALUES (DITTARAG, PROGETTO, CODICE, " +
          store::IdText(group_id, " NULL") + ", " + store::IdText(user_id, " NULL") + "); ",
  };
  // Each line ends with CRLF and the lines are joined by CRLF.
  std::string s;
  bool first = true;
  for (const std::string& text : lines) {
    if (!first) s += kCrLf;
    first = false;
    s += text;
    s += kCrLf;
  }
  return s;
}

namespace {

// The node's row of the principal in FW3N_RVKNODI.
std::string NodeKey(const db::Value& user_id, const db::Value& group_id, int64_t company,
                    std::string_view project, std::string_view node) {
  return " WHERE FW3N_DITTA_CG18 = " + std::to_string(company) + " AND FW3N_CODPROG_PD68 = '" +
         db::SqlEscape(project) + "' AND FW3N_CODNODO = '" + db::SqlEscape(node) +
         "' AND FW3N_ID_FW06 " + Test(group_id) + " AND FW3N_ID_FW07 " + Test(user_id);
}

}  // namespace

std::string NodeStatements::InsertRevocation(const db::Value& user_id, const db::Value& group_id,
                                             int64_t company, std::string_view project,
                                             std::string_view node) {
  return "INSERT INTO FW3N_RVKNODI (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, "
         "FW3N_ID_FW06, FW3N_ID_FW07) SELECT " +
         std::to_string(company) + ", '" + db::SqlEscape(project) + "', '" + db::SqlEscape(node) +
         "', " + store::IdText(group_id, "NULL") + ", " + store::IdText(user_id, "NULL") +
         " WHERE NOT EXISTS (SELECT 1 FROM FW3N_RVKNODI" +
         NodeKey(user_id, group_id, company, project, node) + ")";
}

std::string NodeStatements::DeleteRevocation(const db::Value& user_id, const db::Value& group_id,
                                             int64_t company, std::string_view project,
                                             std::string_view node) {
  return "DELETE FROM FW3N_RVKNODI" + NodeKey(user_id, group_id, company, project, node);
}

}  // namespace orv::sections
