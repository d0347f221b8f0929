#include "profile/profile_import.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <span>

#include "db/command.h"
#include "db/connection.h"
#include "journal/gesture_capture.h"
#include "journal/journal_summary.h"
#include "journal/journal_table.h"
#include "profile/code_catalogue.h"
#include "profile/profile_comparison.h"
#include "profile/profile_reader.h"
#include "profile/profile_statements.h"

namespace orv::profile {
namespace {

constexpr int32_t kCliForEvent = 15;
constexpr int32_t kParameterEvent = 16;
constexpr size_t kRowsPerStatement = 400;

std::string Joined(const std::vector<std::string>& codes) {
  std::string text = "unknown codes:";
  for (const std::string& code : codes) text += "\n  " + code;
  return text;
}

std::string Trim(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return std::string(text.substr(begin, end - begin));
}

std::string Now() {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

bool ImportPlan::SameChanges(const ImportPlan& other) const {
  return added == other.added && removed == other.removed && changed == other.changed;
}

UnknownCodesError::UnknownCodesError(std::vector<std::string> codes)
    : std::runtime_error(Joined(codes)), codes_(std::move(codes)) {}

ProfileImport::ProfileImport(db::Connection& connection, NamedPrincipal target,
                             ProfileDocument document, Options options)
    : connection_(connection),
      target_(std::move(target)),
      document_(std::move(document)),
      options_(std::move(options)) {}

ImportPlan ProfileImport::Preview() {
  ImportPlan plan;
  described_.clear();
  // The file's rows: each key once, every code known here (or skipped).
  std::vector<ProfileRow> wanted = document_.rows;
  std::stable_sort(wanted.begin(), wanted.end());
  for (size_t i = 1; i < wanted.size(); ++i) {
    if (wanted[i].SameKey(wanted[i - 1])) {
      throw std::runtime_error(
          "the file names one item twice: " + std::string(TableKey(wanted[i].table)) + " " +
          wanted[i].ItemText() + ", ditta " + std::to_string(wanted[i].company));
    }
  }
  CodeCatalogue catalogue(connection_);
  std::vector<ProfileRow> known;
  known.reserve(wanted.size());
  for (ProfileRow& row : wanted) {
    std::string missing;
    std::optional<std::string> description = catalogue.Describe(row, &missing);
    if (!description) {
      plan.unknown.push_back(missing + " (" + std::string(TableKey(row.table)) + " " +
                             row.ItemText() + ")");
      continue;
    }
    if (row.table == RevocationTable::kParameters || row.table == RevocationTable::kNodes) {
      described_.emplace_back(row, std::move(*description));
    }
    known.push_back(std::move(row));
  }
  // Searched by key in ChangeLog().
  std::sort(described_.begin(), described_.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });

  std::vector<ProfileRow> current;
  for (RevocationTable table : document_.tables) {
    std::vector<ProfileRow> part = ProfileReader::Read(connection_, target_.principal, table);
    current.insert(current.end(), part.begin(), part.end());
  }
  ProfileComparison comparison = ProfileComparison::Compare(std::move(current), std::move(known));
  plan.removed = std::move(comparison.only_a);
  plan.added = std::move(comparison.only_b);
  plan.changed = std::move(comparison.changed);
  auto clifor = [](const ProfileRow& row) { return row.table == RevocationTable::kCliFor; };
  plan.reloads_clifor_list = std::any_of(plan.added.begin(), plan.added.end(), clifor) ||
                             std::any_of(plan.removed.begin(), plan.removed.end(), clifor) ||
                             std::any_of(plan.changed.begin(), plan.changed.end(),
                                         [&](const auto& pair) { return clifor(pair.first); });
  plan.change_log_entries = static_cast<int>(ChangeLog(plan).size());
  return plan;
}

std::vector<std::pair<int32_t, std::string>> ProfileImport::ChangeLog(
    const ImportPlan& plan) const {
  std::vector<std::pair<int32_t, std::string>> entries;
  const store::Principal& p = target_.principal;
  std::string who;
  if (p.IsGroup() && !Trim(p.name()).empty()) who += "Gruppo: " + Trim(p.name()) + "; ";
  if (p.IsUser() && !Trim(p.name()).empty()) who += "Utente: " + Trim(p.name()) + "; ";
  auto detail = [](int n, std::string_view text) {
    return std::to_string(n) + ": " + std::string(text) + "; ";
  };
  auto description = [&](const ProfileRow& row) -> std::string {
    auto found =
        std::lower_bound(described_.begin(), described_.end(), row,
                         [](const auto& entry, const ProfileRow& r) { return entry.first < r; });
    return found != described_.end() && found->first.SameKey(row) ? found->second : "";
  };
  // One record per row, as the click that makes the same change writes it.
  auto add = [&](const ProfileRow& row, bool allowed) {
    switch (row.table) {
      case RevocationTable::kParameters:
      case RevocationTable::kNodes: {
        const std::string code = row.table == RevocationTable::kNodes ? row.code2 : row.code1;
        entries.emplace_back(kParameterEvent, who + detail(1, description(row)) + detail(2, "") +
                                                  detail(3, Trim(code)) +
                                                  detail(4, allowed ? "Si" : "No"));
        break;
      }
      case RevocationTable::kCliFor:
        entries.emplace_back(kCliForEvent, who + detail(1, std::to_string(row.company)) +
                                               detail(2, row.grouping) + detail(3, "") +
                                               detail(4, "") + detail(5, "") +
                                               detail(6, allowed ? "Si" : "No"));
        break;
      case RevocationTable::kFamilies:
      case RevocationTable::kTransfers:
        break;
    }
  };
  auto allowed = [](const ProfileRow& row) {
    return row.table != RevocationTable::kParameters && row.table != RevocationTable::kNodes &&
           !row.Revokes();
  };
  for (const ProfileRow& row : plan.removed) add(row, true);
  for (const auto& [before, after] : plan.changed) add(after, allowed(after));
  for (const ProfileRow& row : plan.added) add(row, allowed(row));
  return entries;
}

ImportPlan ProfileImport::Apply(const ImportPlan* shown) {
  std::unique_ptr<journal::Journal> own_journal;
  journal::Journal* log_journal = options_.journal;
  if (log_journal == nullptr) {
    own_journal = std::make_unique<journal::Journal>(connection_.shared_from_this(), options_.login,
                                                     options_.company);
    log_journal = own_journal.get();
  }
  db::Transaction transaction(connection_);
  std::vector<journal::RowScope> scopes;
  for (const journal::JournalTable& table : journal::JournalTable::All()) {
    if (table.has_principal()) scopes.push_back({table.name, target_.principal, {}});
  }
  journal::GestureCapture capture(log_journal, connection_, std::move(scopes));
  ImportPlan plan = Preview();
  if (!plan.unknown.empty() && !options_.skip_unknown) throw UnknownCodesError(plan.unknown);
  if (shown != nullptr && !plan.SameChanges(*shown)) throw PlanChangedError();
  if (plan.Empty()) return plan;
  const std::vector<std::pair<int32_t, std::string>> log = ChangeLog(plan);
  plan.change_log_entries = static_cast<int>(log.size());

  const store::Principal& principal = target_.principal;
  for (const ProfileRow& row : plan.removed) {
    connection_.Execute(ProfileStatements::DeleteRow(principal, row), nullptr,
                        db::kAdExecuteNoRecords);
  }
  for (const auto& [before, after] : plan.changed) {
    connection_.Execute(ProfileStatements::UpdateRow(principal, after), nullptr,
                        db::kAdExecuteNoRecords);
  }
  // plan.added is sorted by table first: one multi-row INSERT per slice.
  const std::span<const ProfileRow> added(plan.added);
  for (size_t start = 0; start < added.size();) {
    size_t end = start + 1;
    while (end < added.size() && end - start < kRowsPerStatement &&
           added[end].table == added[start].table) {
      ++end;
    }
    connection_.Execute(ProfileStatements::InsertRows(added[start].table, principal,
                                                      added.subspan(start, end - start)),
                        nullptr, db::kAdExecuteNoRecords);
    start = end;
  }
  const std::string now = Now();
  const std::span<const std::pair<int32_t, std::string>> records(log);
  for (size_t start = 0; start < records.size(); start += kRowsPerStatement) {
    connection_.Execute(
        ProfileStatements::InsertChangeLog(
            now, options_.login,
            records.subspan(start, std::min(kRowsPerStatement, records.size() - start))),
        nullptr, db::kAdExecuteNoRecords);
  }
  if (plan.reloads_clifor_list) {
    db::Command command;
    command.ActiveConnection = connection_.shared_from_this();
    command.CommandType = db::kAdCmdStoredProc;
    command.CommandTimeout = 0;
    if (principal.IsGroup()) {
      command.CommandText = "SPFW_ReloadListaCFRevocatiGruppo";
      command.SetParameter("@idgruppo", principal.group_id());
    } else {
      command.CommandText = "SPFW_ReloadListaCFRevocatiUtente";
      command.SetParameter("@idutente", principal.user_id());
    }
    command.Execute(nullptr, db::kAdExecuteNoRecords);
  }
  journal::Gesture gesture(journal::GestureKind::kImport, 0, target_.principal);
  gesture.summary = "Importazione profilo: " + std::to_string(plan.added.size()) +
                    " revoche aggiunte, " + std::to_string(plan.changed.size()) + " cambiate, " +
                    std::to_string(plan.removed.size()) + " tolte " +
                    journal::JournalSummary::PrincipalPhrase(gesture);
  capture.Commit(transaction, gesture);
  return plan;
}

}  // namespace orv::profile
