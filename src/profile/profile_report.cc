#include "profile/profile_report.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace orv::profile {
namespace {

using nlohmann::json;

// Columns padded to their widest cell, two blanks apart.
std::string Table(const std::vector<std::string>& head,
                  const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> width(head.size());
  for (size_t i = 0; i < head.size(); ++i) width[i] = head[i].size();
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size() && i < width.size(); ++i) {
      width[i] = std::max(width[i], row[i].size());
    }
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) {
      text += cells[i];
      if (i + 1 < cells.size()) text += std::string(width[i] - cells[i].size() + 2, ' ');
    }
    return text + "\n";
  };
  std::string text = line(head);
  for (const auto& row : rows) text += line(row);
  return text;
}

json RowJson(const ProfileRow& row) {
  json j = {{"table", TableKey(row.table)}, {"company", row.company}};
  j["kind"] = row.kind;
  j["grouping"] = row.grouping;
  j["codes"] = {row.code1, row.code2, row.code3};
  json flags = json::object();
  for (int i = 0; i < FlagCount(row.table); ++i) {
    flags[std::string(FlagName(row.table, i))] = row.flags[static_cast<size_t>(i)];
  }
  j["flags"] = flags;
  j["item"] = row.ItemText();
  return j;
}

json WhoJson(const NamedPrincipal& who) {
  return {{"reference", who.Reference()}, {"name", who.principal.name()}};
}

std::vector<std::string> Cells(const ProfileRow& row) {
  return {std::string(ProfileReport::SectionText(row)), std::to_string(row.company), row.ItemText(),
          ProfileReport::FlagsText(row)};
}

std::string Dump(const json& j) { return j.dump(1, '\t') + "\n"; }

}  // namespace

std::string ProfileReport::SectionText(const ProfileRow& row) {
  switch (row.table) {
    case RevocationTable::kParameters:
      switch (row.kind) {
        case 6:
          return "Depositi";
        case 8:
          return "Progetti";
        case 15:
          return "Codici simulazione MRP";
        case 30:
          return "Modelli di blocco merce";
        default:
          return "Parametri " + std::to_string(row.kind);
      }
    case RevocationTable::kCliFor:
      return "Clienti/Fornitori";
    case RevocationTable::kFamilies:
      return "Famiglie articoli";
    case RevocationTable::kTransfers:
      return "Trasferimenti tra depositi";
    case RevocationTable::kNodes:
      return "Nodi di progetto";
  }
  return {};
}

std::string ProfileReport::FlagsText(const ProfileRow& row) {
  switch (row.table) {
    case RevocationTable::kParameters:
    case RevocationTable::kNodes:
      return "revocato";
    case RevocationTable::kCliFor:
    case RevocationTable::kTransfers:
      return row.flags[0] == 0 ? "revocato" : "abilitato";
    case RevocationTable::kFamilies: {
      std::string text;
      for (int i = 1; i < 4; ++i) {
        if (!text.empty()) text += ", ";
        text += std::string(FlagName(row.table, i)) +
                (row.flags[static_cast<size_t>(i)] ? " si" : " no");
      }
      return row.flags[0] == 0 ? "revocato (" + text + ")" : text;
    }
  }
  return {};
}

std::string ProfileReport::RowsText(const NamedPrincipal& who,
                                    const std::vector<ProfileRow>& rows) {
  std::vector<std::vector<std::string>> cells;
  for (const ProfileRow& row : rows) cells.push_back(Cells(row));
  return who.Reference() + " (" + who.principal.name() + "): " + std::to_string(rows.size()) +
         " righe\n" + Table({"Sezione", "Ditta", "Voce", "Stato"}, cells);
}

std::string ProfileReport::RowsJson(const NamedPrincipal& who,
                                    const std::vector<ProfileRow>& rows) {
  json list = json::array();
  for (const ProfileRow& row : rows) list.push_back(RowJson(row));
  return Dump({{"principal", WhoJson(who)}, {"rows", list}});
}

std::string ProfileReport::EffectiveText(const EffectiveProfile& profile) {
  std::string text = profile.user.Reference() + " (" + profile.user.principal.name() + ")";
  if (profile.groups.empty()) {
    text += ", in nessun gruppo\n";
  } else {
    text += ", gruppi:";
    for (const NamedPrincipal& g : profile.groups) text += " " + g.principal.name() + ";";
    text.back() = '\n';
  }
  if (!profile.in_force) {
    text +=
        "Revoche non attive (AUT_RVKENABLED): nessuna revoca è in vigore. Le righe sotto "
        "varrebbero con le revoche attive.\n";
  }
  std::vector<std::vector<std::string>> cells;
  for (const EffectiveEntry& entry : profile.entries) {
    std::vector<std::string> row = Cells(entry.row);
    std::string sources;
    for (const std::string& s : entry.sources) sources += (sources.empty() ? "" : ", ") + s;
    row.push_back(sources);
    cells.push_back(std::move(row));
  }
  return text + Table({"Sezione", "Ditta", "Voce", "Stato", "Origine"}, cells);
}

std::string ProfileReport::EffectiveJson(const EffectiveProfile& profile) {
  json groups = json::array();
  for (const NamedPrincipal& g : profile.groups) groups.push_back(WhoJson(g));
  json entries = json::array();
  for (const EffectiveEntry& entry : profile.entries) {
    json j = RowJson(entry.row);
    j["sources"] = entry.sources;
    entries.push_back(std::move(j));
  }
  return Dump({{"user", WhoJson(profile.user)},
               {"groups", groups},
               {"in_force", profile.in_force},
               {"entries", entries}});
}

std::string ProfileReport::ComparisonText(const NamedPrincipal& a, const NamedPrincipal& b,
                                          const ProfileComparison& comparison) {
  if (comparison.Same()) return a.Reference() + " e " + b.Reference() + ": nessuna differenza\n";
  std::vector<std::vector<std::string>> cells;
  for (const ProfileRow& row : comparison.only_a) {
    std::vector<std::string> r = Cells(row);
    r.insert(r.begin(), "solo " + a.Reference());
    cells.push_back(std::move(r));
  }
  for (const ProfileRow& row : comparison.only_b) {
    std::vector<std::string> r = Cells(row);
    r.insert(r.begin(), "solo " + b.Reference());
    cells.push_back(std::move(r));
  }
  for (const auto& [ra, rb] : comparison.changed) {
    std::vector<std::string> r = Cells(ra);
    r.back() = FlagsText(ra) + " / " + FlagsText(rb);
    r.insert(r.begin(), "diversi");
    cells.push_back(std::move(r));
  }
  return Table({"Dove", "Sezione", "Ditta", "Voce", "Stato"}, cells);
}

std::string ProfileReport::ComparisonJson(const NamedPrincipal& a, const NamedPrincipal& b,
                                          const ProfileComparison& comparison) {
  json only_a = json::array();
  json only_b = json::array();
  json changed = json::array();
  for (const ProfileRow& row : comparison.only_a) only_a.push_back(RowJson(row));
  for (const ProfileRow& row : comparison.only_b) only_b.push_back(RowJson(row));
  for (const auto& [ra, rb] : comparison.changed) {
    changed.push_back({{"a", RowJson(ra)}, {"b", RowJson(rb)}});
  }
  return Dump({{"a", WhoJson(a)},
               {"b", WhoJson(b)},
               {"same", comparison.Same()},
               {"only_a", only_a},
               {"only_b", only_b},
               {"changed", changed}});
}

std::string ProfileReport::WhereUsedText(const std::vector<WhereUsedHit>& hits) {
  if (hits.empty()) return "nessun utente o gruppo revoca la voce\n";
  std::vector<std::vector<std::string>> cells;
  for (const WhereUsedHit& hit : hits) {
    std::vector<std::string> r = Cells(hit.row);
    r.insert(r.begin(), hit.principal.Reference());
    r.insert(r.begin() + 1, hit.principal.principal.name());
    cells.push_back(std::move(r));
  }
  return Table({"Chi", "Nome", "Sezione", "Ditta", "Voce", "Stato"}, cells);
}

std::string ProfileReport::WhereUsedJson(const std::vector<WhereUsedHit>& hits) {
  json list = json::array();
  for (const WhereUsedHit& hit : hits) {
    list.push_back({{"principal", WhoJson(hit.principal)}, {"row", RowJson(hit.row)}});
  }
  return Dump({{"hits", list}});
}

std::string ProfileReport::PlanText(const NamedPrincipal& target, const ImportPlan& plan,
                                    bool applied) {
  std::string text =
      applied ? "Importato su " + target.Reference() + ": " + std::to_string(plan.added.size()) +
                    " aggiunte, " + std::to_string(plan.changed.size()) + " cambiate, " +
                    std::to_string(plan.removed.size()) + " tolte"
              : "Anteprima per " + target.Reference() + ": " + std::to_string(plan.added.size()) +
                    " da aggiungere, " + std::to_string(plan.changed.size()) + " da cambiare, " +
                    std::to_string(plan.removed.size()) + " da togliere";
  text += "; " + std::to_string(plan.change_log_entries) + " voci nel registro modifiche";
  if (plan.reloads_clifor_list) text += "; lista clienti/fornitori revocati ricalcolata";
  text += "\n";
  std::vector<std::vector<std::string>> cells;
  for (const ProfileRow& row : plan.added) {
    std::vector<std::string> r = Cells(row);
    r.insert(r.begin(), "+");
    cells.push_back(std::move(r));
  }
  for (const auto& [before, after] : plan.changed) {
    std::vector<std::string> r = Cells(after);
    r.back() = FlagsText(before) + " -> " + FlagsText(after);
    r.insert(r.begin(), "~");
    cells.push_back(std::move(r));
  }
  for (const ProfileRow& row : plan.removed) {
    std::vector<std::string> r = Cells(row);
    r.insert(r.begin(), "-");
    cells.push_back(std::move(r));
  }
  if (!cells.empty()) text += Table({"", "Sezione", "Ditta", "Voce", "Stato"}, cells);
  if (!plan.unknown.empty()) {
    text += "Codici sconosciuti in questa installazione (" + std::to_string(plan.unknown.size()) +
            "):\n";
    for (const std::string& code : plan.unknown) text += "  " + code + "\n";
  }
  return text;
}

std::string ProfileReport::PlanJson(const NamedPrincipal& target, const ImportPlan& plan,
                                    bool applied) {
  json added = json::array();
  json changed = json::array();
  json removed = json::array();
  for (const ProfileRow& row : plan.added) added.push_back(RowJson(row));
  for (const auto& [before, after] : plan.changed) {
    changed.push_back({{"before", RowJson(before)}, {"after", RowJson(after)}});
  }
  for (const ProfileRow& row : plan.removed) removed.push_back(RowJson(row));
  return Dump({{"target", WhoJson(target)},
               {"applied", applied},
               {"added", added},
               {"changed", changed},
               {"removed", removed},
               {"unknown", plan.unknown},
               {"change_log_entries", plan.change_log_entries},
               {"reloads_clifor_list", plan.reloads_clifor_list}});
}

}  // namespace orv::profile
