#include "session/headless_lookup_object.h"

#include <exception>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "zere_orvelka/cls_global.h"
#include "zere_orvelka/zere_orvelka.hpp"

namespace orv::session {

host::LookupDefinition HeadlessLookupObject::Definition(std::string_view column) {
  // Columns are the query control's own field definitions, never user text.
  const std::string col(column);
  const std::string table = col.rfind("PD0C_", 0) == 0 ? "PD0C_NODO" : "PD68_PROGETTI";
  return {"SELECT DISTINCT " + col + " FROM " + table + " ORDER BY " + col, col, {col}};
}

std::optional<std::string> HeadlessLookupObject::Resolve(std::string_view column,
                                                         std::string_view value,
                                                         std::string_view project) {
  // Project and node codes are found without regard to case in the working
  // company (a node within its project); other attributes are kept as typed.
  if (host_ == nullptr ||
      (column != "PD68_CODPROG" && column != "PD0C_CODPROG_PD68" && column != "PD0C_CODNODO")) {
    return std::nullopt;
  }
  try {
    std::shared_ptr<db::Connection> connection = db::Connection::FromHandle(host_->GetConnection());
    std::shared_ptr<host::ClsGlobal> global = host_->GetClsGlobal();
    const std::string typed = db::Trim(value);
    if (!connection || !global || typed.empty()) return std::nullopt;
    const std::string company = std::to_string(global->CurrentCompany());
    std::string sql;
    if (column == "PD0C_CODNODO") {
      sql = "SELECT PD0C_CODNODO FROM PD0C_NODO WHERE UPPER(PD0C_CODNODO) = UPPER(" +
            db::SqlQuote(typed) + ") AND PD0C_DITTA_CG18 = " + company;
      if (!db::Trim(project).empty()) {
        sql += " AND PD0C_CODPROG_PD68 = " + db::SqlQuote(db::Trim(project));
      }
    } else {
      sql = "SELECT PD68_CODPROG FROM PD68_PROGETTI WHERE UPPER(PD68_CODPROG) = UPPER(" +
            db::SqlQuote(typed) + ") AND PD68_DITTA_CG18 = " + company;
    }
    std::shared_ptr<db::Recordset> rs = connection->Execute(sql);
    if (!rs || !rs->IsOpen() || rs->IsEof() || rs->Field(0).IsNull()) return std::nullopt;
    return rs->Field(0).ToText();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace orv::session
