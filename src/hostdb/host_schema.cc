#include "hostdb/host_schema.h"

#include <cctype>

#include "db/db_error.h"
#include "hostdb/sql_file.h"

namespace orv::hostdb {
namespace {

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool IsGoLine(std::string_view line) {
  line = TrimView(line);
  return line.size() == 2 && std::toupper(static_cast<unsigned char>(line[0])) == 'G' &&
         std::toupper(static_cast<unsigned char>(line[1])) == 'O';
}

// True when the batch holds something besides blank lines and "--" comments.
bool HasStatement(std::string_view batch) {
  size_t pos = 0;
  while (pos < batch.size()) {
    size_t end = batch.find('\n', pos);
    if (end == std::string_view::npos) end = batch.size();
    std::string_view line = TrimView(batch.substr(pos, end - pos));
    if (!line.empty() && !line.starts_with("--")) return true;
    pos = end + 1;
  }
  return false;
}

}  // namespace

std::vector<std::string> HostSchema::SplitBatches(std::string_view script) {
  std::vector<std::string> batches;
  std::string current;
  size_t pos = 0;
  while (pos <= script.size()) {
    size_t end = script.find('\n', pos);
    if (end == std::string_view::npos) end = script.size();
    std::string_view line = script.substr(pos, end - pos);
    if (IsGoLine(line)) {
      if (HasStatement(current)) batches.push_back(std::move(current));
      current.clear();
    } else {
      current.append(line);
      current.push_back('\n');
    }
    pos = end + 1;
  }
  if (HasStatement(current)) batches.push_back(std::move(current));
  return batches;
}

void HostSchema::Install(db::Connection& connection) {
  db::Transaction transaction(connection);
  for (const SqlFile& file : EmbeddedSqlFiles()) {
    std::vector<std::string> batches = SplitBatches(file.text);
    for (size_t i = 0; i < batches.size(); ++i) {
      try {
        connection.Execute(batches[i], nullptr, db::kAdCmdText | db::kAdExecuteNoRecords);
      } catch (const db::DbError& e) {
        throw db::DbError(
            e.number(),
            std::string(file.name) + ", batch " + std::to_string(i + 1) + ": " + e.description(),
            e.messages());
      }
    }
  }
  transaction.Commit();
}

const std::vector<std::string_view>& HostSchema::Tables() {
  static const std::vector<std::string_view> tables = {
      "FW07_APPUSER",      "FW06_GROUPUSR",     "FW00_GRPUSRASSOC",     "FW95_SETTINGS",
      "FW90_LOGMODIFICHE", "CG16_ANAGGEN",      "CG18_ANADITTABASE",    "CG31_ANADITTASEDI",
      "MG58_DEPOSITI",     "PD1D_TIPIPROG",     "PD1E_STATIPROG",       "PD1F_CLASSEA",
      "PD1G_CLASSEB",      "PD1H_CLASSEC",      "PD68_PROGETTI",        "PD0C_NODO",
      "PD90_SIMULMRP",     "MG0F_BLMPARAM",     "MG53_FAMIGLIE",        "MG07_MACROAREE",
      "MG08_AREE",         "MG09_ZONE",         "MG10_MACROCAT",        "MG11_CATEG",
      "MG12_SOTTOCAT",     "MG31_RAGGRCF1",     "MG32_RAGGRCF2",        "MG33_RAGGRCF3",
      "CG44_CLIFOR",       "FW31_RVKPARAMETRI", "FW32_RVKCLIFOR",       "FW3H_RVKARTICOLI",
      "FW3E_RVKDEPCOLL",   "FW3N_RVKNODI",      "FW3C_LISTACFREVOCATI", "FW3J_GIORNALEREVOKE",
      "FW3K_IMMAGINIREVOKE",
  };
  return tables;
}

const std::vector<HostSchema::RevocationTable>& HostSchema::RevocationTables() {
  static const std::vector<RevocationTable> tables = {
      {"FW31_RVKPARAMETRI", "FW31_ID_FW07", "FW31_ID_FW06"},
      {"FW32_RVKCLIFOR", "FW32_ID_FW07", "FW32_ID_FW06"},
      {"FW3H_RVKARTICOLI", "FW3H_ID_FW07", "FW3H_ID_FW06"},
      {"FW3E_RVKDEPCOLL", "FW3E_ID_FW07", "FW3E_ID_FW06"},
      {"FW3N_RVKNODI", "FW3N_ID_FW07", "FW3N_ID_FW06"},
  };
  return tables;
}

const std::vector<std::string_view>& HostSchema::TableFunctions() {
  static const std::vector<std::string_view> functions = {
      "dbo.FNMG07_MACROAREE", "dbo.FNMG08_AREE",     "dbo.FNMG09_ZONE",
      "dbo.FNMG10_MACROCAT",  "dbo.FNMG11_CATEG",    "dbo.FNMG12_SOTTOCAT",
      "dbo.FNMG31_RAGGRCF1",  "dbo.FNMG32_RAGGRCF2", "dbo.FNMG33_RAGGRCF3",
  };
  return functions;
}

const std::vector<std::string_view>& HostSchema::Procedures() {
  static const std::vector<std::string_view> procedures = {
      "SPFW_ReloadListaCFRevocati",
      "SPFW_ReloadListaCFRevocatiUtente",
      "SPFW_ReloadListaCFRevocatiGruppo",
  };
  return procedures;
}

}  // namespace orv::hostdb
