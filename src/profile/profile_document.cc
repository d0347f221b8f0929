#include "profile/profile_document.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace orv::profile {
namespace {

using nlohmann::json;

// The file's names of a table's key fields ("" where the table has none).
struct FieldNames {
  std::string_view kind;
  std::string_view grouping;
  std::array<std::string_view, 3> codes;
};

const FieldNames& NamesOf(RevocationTable table) {
  static const std::array<FieldNames, 5> kNames = {{
      {"kind", "", {"code", "", ""}},
      {"tipocf", "tiporagg", {"macro", "middle", "ragg"}},
      {"", "tiporagg", {"family", "middle", "ragg"}},
      {"", "", {"origin", "destination", ""}},
      {"", "", {"project", "node", ""}},
  }};
  return kNames[static_cast<size_t>(table)];
}

json RowJson(const ProfileRow& row) {
  const FieldNames& names = NamesOf(row.table);
  json j = json::object();
  j["company"] = row.company;
  if (!names.kind.empty()) j[std::string(names.kind)] = row.kind;
  if (!names.grouping.empty()) j[std::string(names.grouping)] = row.grouping;
  const std::array<const std::string*, 3> codes = {&row.code1, &row.code2, &row.code3};
  for (size_t i = 0; i < names.codes.size(); ++i) {
    if (!names.codes[i].empty()) j[std::string(names.codes[i])] = *codes[i];
  }
  for (int i = 0; i < FlagCount(row.table); ++i) {
    j[std::string(FlagName(row.table, i))] = row.flags[static_cast<size_t>(i)];
  }
  return j;
}

[[noreturn]] void Bad(RevocationTable table, size_t index, std::string_view what) {
  throw std::runtime_error("row " + std::to_string(index + 1) + " of \"" +
                           std::string(TableKey(table)) + "\": " + std::string(what));
}

int32_t IntField(const json& j, std::string_view name, RevocationTable table, size_t index,
                 std::optional<int32_t> fallback = std::nullopt) {
  auto it = j.find(std::string(name));
  if (it == j.end()) {
    if (fallback) return *fallback;
    Bad(table, index, "no \"" + std::string(name) + "\"");
  }
  if (!it->is_number_integer())
    Bad(table, index, "\"" + std::string(name) + "\" is not a whole number");
  const int64_t value = it->get<int64_t>();
  if (value < INT32_MIN || value > INT32_MAX)
    Bad(table, index, "\"" + std::string(name) + "\" out of range");
  return static_cast<int32_t>(value);
}

std::string TextField(const json& j, std::string_view name, RevocationTable table, size_t index) {
  auto it = j.find(std::string(name));
  if (it == j.end()) return {};
  if (!it->is_string()) Bad(table, index, "\"" + std::string(name) + "\" is not text");
  return it->get<std::string>();
}

ProfileRow RowFrom(const json& j, RevocationTable table, size_t index) {
  if (!j.is_object()) Bad(table, index, "not an object");
  const FieldNames& names = NamesOf(table);
  ProfileRow row;
  row.table = table;
  row.company = IntField(j, "company", table, index);
  if (!names.kind.empty()) row.kind = IntField(j, names.kind, table, index);
  if (!names.grouping.empty()) {
    row.grouping = TextField(j, names.grouping, table, index);
    if (row.grouping.empty()) Bad(table, index, "no \"" + std::string(names.grouping) + "\"");
  }
  std::array<std::string*, 3> codes = {&row.code1, &row.code2, &row.code3};
  for (size_t i = 0; i < names.codes.size(); ++i) {
    if (!names.codes[i].empty()) *codes[i] = TextField(j, names.codes[i], table, index);
  }
  if (table != RevocationTable::kCliFor && row.code1.empty()) {
    Bad(table, index, "no \"" + std::string(names.codes[0]) + "\"");
  }
  for (int i = 0; i < FlagCount(table); ++i) {
    // A missing flag reads as a revocation, as a new row of the table does.
    const int32_t flag = IntField(j, FlagName(table, i), table, index, 0);
    if (flag != 0 && flag != 1) Bad(table, index, "a flag is neither 0 nor 1");
    row.flags[static_cast<size_t>(i)] = flag;
  }
  return row;
}

}  // namespace

ProfileDocument ProfileDocument::Of(std::string kind, std::string code, std::string name,
                                    std::vector<ProfileRow> rows) {
  ProfileDocument document;
  document.principal_kind = std::move(kind);
  document.principal_code = std::move(code);
  document.principal_name = std::move(name);
  document.tables.assign(kAllTables.begin(), kAllTables.end());
  document.rows = std::move(rows);
  return document;
}

bool ProfileDocument::Carries(RevocationTable table) const {
  return std::find(tables.begin(), tables.end(), table) != tables.end();
}

std::string ProfileDocument::ToJson() const {
  json j = json::object();
  j["format"] = kFormat;
  j["version"] = kVersion;
  j["principal"] = {{"kind", principal_kind}, {"code", principal_code}, {"name", principal_name}};
  json tables_json = json::object();
  for (RevocationTable table : tables) tables_json[std::string(TableKey(table))] = json::array();
  for (const ProfileRow& row : rows) {
    auto it = tables_json.find(std::string(TableKey(row.table)));
    if (it != tables_json.end()) it->push_back(RowJson(row));
  }
  j["tables"] = std::move(tables_json);
  return j.dump(1, '\t') + "\n";
}

ProfileDocument ProfileDocument::FromJson(std::string_view text) {
  json j = json::parse(text.begin(), text.end(), nullptr, false);
  if (j.is_discarded() || !j.is_object()) throw std::runtime_error("not a JSON object");
  if (j.value("format", std::string()) != kFormat) {
    throw std::runtime_error("not a profile file (\"format\" is not \"orvelka-profile\")");
  }
  if (!j.contains("version") || !j["version"].is_number_integer()) {
    throw std::runtime_error("no \"version\"");
  }
  if (j["version"].get<int64_t>() > kVersion) {
    throw std::runtime_error("profile version " + std::to_string(j["version"].get<int64_t>()) +
                             " is newer than this program's (" + std::to_string(kVersion) + ")");
  }
  ProfileDocument document;
  if (j.contains("principal") && j["principal"].is_object()) {
    const json& p = j["principal"];
    document.principal_kind = p.value("kind", std::string());
    document.principal_code = p.value("code", std::string());
    document.principal_name = p.value("name", std::string());
  }
  if (!j.contains("tables") || !j["tables"].is_object()) throw std::runtime_error("no \"tables\"");
  for (const auto& [key, rows] : j["tables"].items()) {
    const std::optional<RevocationTable> table = TableFromKey(key);
    if (!table) throw std::runtime_error("unknown table \"" + key + "\"");
    if (!rows.is_array()) throw std::runtime_error("\"" + key + "\" is not a list");
    document.tables.push_back(*table);
    for (size_t i = 0; i < rows.size(); ++i) document.rows.push_back(RowFrom(rows[i], *table, i));
  }
  std::sort(document.tables.begin(), document.tables.end());
  return document;
}

}  // namespace orv::profile
