#include "profile/code_catalogue.h"

#include <array>
#include <cctype>
#include <memory>
#include <stdexcept>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"

namespace orv::profile {
namespace {

// A catalogue: its statement (key columns first, the description last when
// `described`) and how many key columns it has.
struct Source {
  std::string_view name;
  std::string_view sql;
  int keys;
  bool described;
};

constexpr std::array<Source, 16> kSources = {{
    {"ditta", "SELECT CG18_DITTA FROM CG18_ANADITTABASE", 1, false},
    {"deposito", "SELECT MG58_DITTA_CG18, MG58_CODDEP, MG58_DESCRDEP FROM MG58_DEPOSITI", 2, true},
    {"progetto", "SELECT PD68_DITTA_CG18, PD68_CODPROG, PD68_DESCRPROG FROM PD68_PROGETTI", 2,
     true},
    {"simulazione", "SELECT DISTINCT PD90_DITTA_CG18, PD90_SIMULAZIONE FROM PD90_SIMULMRP", 2,
     false},
    {"modello di blocco",
     "SELECT MG0F_DITTA_CG18, MG0F_CODPARAM, MG0F_DESCPARAM FROM MG0F_BLMPARAM", 2, true},
    {"famiglia", "SELECT MG53_DITTA_CG18, MG53_CODFAM, MG53_DESCRFAM FROM MG53_FAMIGLIE", 2, true},
    {"nodo", "SELECT PD0C_DITTA_CG18, PD0C_CODPROG_PD68, PD0C_CODNODO, PD0C_DESCR FROM PD0C_NODO",
     3, true},
    {"macro area", "SELECT MG07_DITTA_CG18, MG07_TIPOCF, MG07_MACROAREA FROM MG07_MACROAREE", 3,
     false},
    {"area",
     "SELECT MG08_DITTA_CG18, MG08_TIPOCF_MG07, MG08_MACROAREA_MG07, MG08_AREA FROM MG08_AREE", 4,
     false},
    {"zona",
     "SELECT MG09_DITTA_CG18, MG09_TIPOCF_MG08, MG09_MACROAREA_MG08, MG09_AREA_MG08, MG09_ZONA"
     " FROM MG09_ZONE",
     5, false},
    {"macro categoria", "SELECT MG10_DITTA_CG18, MG10_TIPOCF, MG10_MACROCAT FROM MG10_MACROCAT", 3,
     false},
    {"categoria",
     "SELECT MG11_DITTA_CG18, MG11_TIPOCF_MG10, MG11_MACROCAT_MG10, MG11_CATEG FROM MG11_CATEG", 4,
     false},
    {"sottocategoria",
     "SELECT MG12_DITTA_CG18, MG12_TIPOCF_MG11, MG12_MACROCAT_MG11, MG12_CATEG_MG11,"
     " MG12_SOTTCAT FROM MG12_SOTTOCAT",
     5, false},
    {"raggruppamento 1", "SELECT MG31_DITTA_CG18, MG31_TIPOCF, MG31_CODRAGGRCF1 FROM MG31_RAGGRCF1",
     3, false},
    {"raggruppamento 2", "SELECT MG32_DITTA_CG18, MG32_TIPOCF, MG32_CODRAGGRCF2 FROM MG32_RAGGRCF2",
     3, false},
    {"raggruppamento 3", "SELECT MG33_DITTA_CG18, MG33_TIPOCF, MG33_CODRAGGRCF3 FROM MG33_RAGGRCF3",
     3, false},
}};
constexpr Source kSites = {"sede", "SELECT CG31_DITTA_CG18, CG31_CODICE FROM CG31_ANADITTASEDI", 2,
                           false};

// Blanks around and case do not count, as in the database's comparisons.
std::string Normal(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  std::string out;
  out.reserve(end - begin);
  for (size_t i = begin; i < end; ++i) {
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
  }
  return out;
}

std::string Key(const std::vector<std::string>& parts) {
  std::string key;
  for (const std::string& part : parts) {
    key += Normal(part);
    key += '\x1f';
  }
  return key;
}

const Source& SourceNamed(std::string_view name) {
  if (name == kSites.name) return kSites;
  for (const Source& source : kSources) {
    if (source.name == name) return source;
  }
  throw std::logic_error("no catalogue " + std::string(name));
}

}  // namespace

const CodeCatalogue::Entries& CodeCatalogue::Catalogue(std::string_view name) {
  auto found = catalogues_.find(name);
  if (found != catalogues_.end()) return found->second;
  const Source& source = SourceNamed(name);
  Entries entries;
  auto rs = connection_.Execute(source.sql);
  std::vector<std::string> parts(static_cast<size_t>(source.keys));
  for (; rs && !rs->IsEof(); rs->MoveNext()) {
    for (int i = 0; i < source.keys; ++i) {
      const db::Value& v = rs->Field(i);
      parts[static_cast<size_t>(i)] = v.IsNull() || v.IsEmpty() ? std::string() : v.ToText();
    }
    std::string description;
    if (source.described) {
      const db::Value& v = rs->Field(source.keys);
      if (!v.IsNull() && !v.IsEmpty()) description = v.ToText();
    }
    entries.emplace(Key(parts), std::move(description));
  }
  return catalogues_.emplace(std::string(name), std::move(entries)).first->second;
}

bool CodeCatalogue::Has(std::string_view catalogue, const std::string& key,
                        std::string* description) {
  const Entries& entries = Catalogue(catalogue);
  auto found = entries.find(key);
  if (found == entries.end()) return false;
  if (description != nullptr) *description = found->second;
  return true;
}

std::optional<std::string> CodeCatalogue::Describe(const ProfileRow& row, std::string* missing) {
  const std::string company = std::to_string(row.company);
  const std::string tipocf = std::to_string(row.kind);
  std::string description;
  // Looks one code up; on a miss names it.
  auto need = [&](std::string_view catalogue, const std::vector<std::string>& parts,
                  std::string_view shown, std::string* into = nullptr) {
    if (Has(catalogue, Key(parts), into)) return true;
    if (missing != nullptr) {
      *missing = std::string(catalogue) + " " + std::string(shown);
      if (catalogue != "ditta") *missing += ", ditta " + company;
    }
    return false;
  };
  if (!need("ditta", {company}, company)) return std::nullopt;
  switch (row.table) {
    case RevocationTable::kParameters: {
      std::string_view catalogue;
      switch (row.kind) {
        case 6:
          catalogue = "deposito";
          break;
        case 8:
          catalogue = "progetto";
          break;
        case 15:
          catalogue = "simulazione";
          break;
        case 30:
          catalogue = "modello di blocco";
          break;
        default:
          return description;  // a kind without a catalogue of ours
      }
      if (!need(catalogue, {company, row.code1}, row.code1, &description)) return std::nullopt;
      return description;
    }
    case RevocationTable::kFamilies:
      if (!need("famiglia", {company, row.code1}, row.code1, &description)) return std::nullopt;
      return description;
    case RevocationTable::kTransfers:
      if (!need("deposito", {company, row.code1}, row.code1)) return std::nullopt;
      if (!need("deposito", {company, row.code2}, row.code2)) return std::nullopt;
      return description;
    case RevocationTable::kNodes:
      if (!need("progetto", {company, row.code1}, row.code1)) return std::nullopt;
      if (!need("nodo", {company, row.code1, row.code2}, row.code1 + "/" + row.code2,
                &description)) {
        return std::nullopt;
      }
      return description;
    case RevocationTable::kCliFor: {
      auto blank = [](const std::string& s) { return Normal(s).empty(); };
      auto tree = [&](std::array<std::string_view, 3> names) {
        if (!need(names[0], {company, tipocf, row.code1}, row.code1)) return false;
        if (blank(row.code2)) return true;
        if (!need(names[1], {company, tipocf, row.code1, row.code2}, row.code2)) return false;
        if (blank(row.code3)) return true;
        return need(names[2], {company, tipocf, row.code1, row.code2, row.code3}, row.code3);
      };
      bool ok = false;
      if (row.grouping == "AREA") {
        ok = tree({"macro area", "area", "zona"});
      } else if (row.grouping == "CAT") {
        ok = tree({"macro categoria", "categoria", "sottocategoria"});
      } else if (row.grouping == "RAGG1" || row.grouping == "RAGG2" || row.grouping == "RAGG3") {
        const std::string name = "raggruppamento " + row.grouping.substr(4);
        ok = need(name, {company, tipocf, row.code3}, row.code3);
      } else if (row.grouping == "SEDE") {
        ok = need("sede", {company, row.code3}, row.code3);
      } else if (missing != nullptr) {
        *missing = "raggruppamento " + row.grouping + ", ditta " + company;
      }
      if (!ok) return std::nullopt;
      return description;
    }
  }
  return description;
}

}  // namespace orv::profile
