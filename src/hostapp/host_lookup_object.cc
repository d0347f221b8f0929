#include "hostapp/host_lookup_object.h"

#include <exception>
#include <string>

#include "db/connection.h"
#include "db/recordset.h"
#include "db/sql_literal.h"
#include "hostapp/recordset_cells.h"
#include "zere_orvelka/cinterface.h"
#include "zere_orvelka/cls_global.h"

namespace orv::hostapp {
namespace {

struct Table {
  const char* suffix;  // how the attribute's column ends
  const char* table;
  const char* code;
  const char* descr;
  const char* title;
};

constexpr Table kCodeTables[] = {
    {"_PD1D", "PD1D_TIPIPROG", "PD1D_CODICE", "PD1D_DESCR", "Tipi progetto"},
    {"_PD1E", "PD1E_STATIPROG", "PD1E_CODICE", "PD1E_DESCR", "Stati progetto"},
    {"_PD1F", "PD1F_CLASSEA", "PD1F_CODICE", "PD1F_DESCR", "Classi A"},
    {"_PD1G", "PD1G_CLASSEB", "PD1G_CODICE", "PD1G_DESCR", "Classi B"},
    {"_PD1H", "PD1H_CLASSEC", "PD1H_CODICE", "PD1H_DESCR", "Classi C"},
};

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool IsProjectColumn(std::string_view column) {
  return column == "PD68_CODPROG" || column == "PD0C_CODPROG_PD68";
}

}  // namespace

std::optional<int32_t> HostLookupObject::Company() const {
  try {
    if (host_ == nullptr) return std::nullopt;
    std::shared_ptr<host::ClsGlobal> global = host_->GetClsGlobal();
    if (!global) return std::nullopt;
    return global->CurrentCompany();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

host::LookupDefinition HostLookupObject::Definition(std::string_view column) {
  const std::optional<int32_t> company = Company();
  if (IsProjectColumn(column)) {
    std::string sql = "SELECT PD68_CODPROG, PD68_DESCRPROG FROM PD68_PROGETTI";
    if (company) sql += " WHERE PD68_DITTA_CG18 = " + std::to_string(*company);
    return {sql + " ORDER BY PD68_CODPROG", "Progetti", {"Progetto", "Descrizione"}};
  }
  if (column == "PD0C_CODNODO") {
    std::string sql = "SELECT PD0C_CODNODO, PD0C_DESCR, PD0C_CODPROG_PD68 FROM PD0C_NODO";
    if (company) sql += " WHERE PD0C_DITTA_CG18 = " + std::to_string(*company);
    return {sql + " ORDER BY PD0C_CODPROG_PD68, PD0C_CODNODO",
            "Nodi di progetto",
            {"Nodo", "Descrizione", "Progetto"}};
  }
  for (const Table& t : kCodeTables) {
    if (!EndsWith(column, t.suffix)) continue;
    return {std::string("SELECT ") + t.code + ", " + t.descr + " FROM " + t.table + " ORDER BY " +
                t.code,
            t.title,
            {"Codice", "Descrizione"}};
  }
  return {};
}

std::optional<std::string> HostLookupObject::Resolve(std::string_view column,
                                                     std::string_view value,
                                                     std::string_view project) {
  std::shared_ptr<db::Connection> connection = provider_ ? provider_() : nullptr;
  if (!connection) return std::nullopt;
  const std::string typed = db::Trim(value);
  if (typed.empty()) return std::nullopt;
  const std::optional<int32_t> company = Company();
  std::string sql;
  if (IsProjectColumn(column)) {
    sql = "SELECT PD68_CODPROG FROM PD68_PROGETTI WHERE UPPER(PD68_CODPROG) = UPPER(" +
          db::SqlQuote(typed) + ")";
    if (company) sql += " AND PD68_DITTA_CG18 = " + std::to_string(*company);
  } else if (column == "PD0C_CODNODO") {
    sql = "SELECT PD0C_CODNODO FROM PD0C_NODO WHERE UPPER(PD0C_CODNODO) = UPPER(" +
          db::SqlQuote(typed) + ")";
    if (!db::Trim(project).empty()) {
      sql += " AND PD0C_CODPROG_PD68 = " + db::SqlQuote(db::Trim(project));
    }
    if (company) sql += " AND PD0C_DITTA_CG18 = " + std::to_string(*company);
  } else {
    for (const Table& t : kCodeTables) {
      if (!EndsWith(column, t.suffix)) continue;
      sql = std::string("SELECT ") + t.code + " FROM " + t.table + " WHERE UPPER(" + t.code +
            ") = UPPER(" + db::SqlQuote(typed) + ")";
    }
  }
  if (sql.empty()) return std::nullopt;
  try {
    auto rs = connection->Execute(sql);
    if (!rs || !rs->IsOpen() || rs->IsEof()) return std::nullopt;
    return RecordsetCells::Text(rs->Field(0));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace orv::hostapp
