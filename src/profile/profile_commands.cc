#include "profile/profile_commands.h"

#include <stdexcept>

#include "journal/journal.h"
#include "journal/journal_report.h"
#include "journal/principal_names.h"
#include "profile/effective_profile.h"
#include "profile/principal_directory.h"
#include "profile/profile_comparison.h"
#include "profile/profile_document.h"
#include "profile/profile_import.h"
#include "profile/profile_reader.h"
#include "profile/profile_report.h"
#include "profile/where_used.h"

namespace orv::profile {

ProfileCommands::ProfileCommands(db::Connection& connection, std::string login)
    : connection_(connection), login_(std::move(login)) {
  PrincipalDirectory(connection_).RequireAdministrator(login_);
}

std::string ProfileCommands::Journal(std::string_view principal, std::optional<int32_t> section,
                                     std::string_view login, std::string_view from,
                                     std::string_view to, bool csv) {
  journal::JournalFilter filter;
  if (principal == "all") {
    filter.principal_kind = journal::JournalEntry::kAll;
  } else if (!principal.empty()) {
    const NamedPrincipal who = PrincipalDirectory(connection_).Find(principal);
    filter.principal_kind =
        who.IsUser() ? journal::JournalEntry::kUser : journal::JournalEntry::kGroup;
    filter.principal_id =
        who.IsUser() ? who.principal.user_id().ToInt64() : who.principal.group_id().ToInt64();
  }
  filter.section = section;
  filter.login = std::string(login);
  filter.from = std::string(from);
  filter.to = std::string(to);
  if (!journal::Journal::HasTables(connection_)) {
    throw std::runtime_error(
        "il database non ha le tabelle del giornale (FW3J_GIORNALEREVOKE, FW3K_IMMAGINIREVOKE)");
  }
  const std::vector<journal::JournalEntry> entries = journal::Journal::List(connection_, filter);
  journal::PrincipalNames names(connection_);
  const journal::JournalReport::NameOf name = [&](const journal::JournalEntry& e) {
    return names.Of(e);
  };
  return csv ? journal::JournalReport::Csv(entries, name)
             : journal::JournalReport::Text(entries, name);
}

std::string ProfileCommands::Show(std::string_view principal, bool json) {
  const NamedPrincipal who = PrincipalDirectory(connection_).Find(principal);
  const std::vector<ProfileRow> rows = ProfileReader::Read(connection_, who.principal);
  return json ? ProfileReport::RowsJson(who, rows) : ProfileReport::RowsText(who, rows);
}

std::string ProfileCommands::Effective(std::string_view user, bool json) {
  const NamedPrincipal who = PrincipalDirectory(connection_).Find(user);
  const EffectiveProfile profile = EffectiveProfile::Read(connection_, who);
  return json ? ProfileReport::EffectiveJson(profile) : ProfileReport::EffectiveText(profile);
}

std::string ProfileCommands::Diff(std::string_view a, std::string_view b, bool json) {
  PrincipalDirectory directory(connection_);
  const NamedPrincipal pa = directory.Find(a);
  const NamedPrincipal pb = directory.Find(b);
  const ProfileComparison comparison =
      ProfileComparison::Compare(ProfileReader::Read(connection_, pa.principal),
                                 ProfileReader::Read(connection_, pb.principal));
  return json ? ProfileReport::ComparisonJson(pa, pb, comparison)
              : ProfileReport::ComparisonText(pa, pb, comparison);
}

std::string ProfileCommands::WhereUsed(std::string_view item, bool json) {
  const std::vector<WhereUsedHit> hits =
      profile::WhereUsed::Find(connection_, RevocationItem::Parse(item));
  return json ? ProfileReport::WhereUsedJson(hits) : ProfileReport::WhereUsedText(hits);
}

std::string ProfileCommands::Export(std::string_view principal) {
  const NamedPrincipal who = PrincipalDirectory(connection_).Find(principal);
  return ProfileDocument::Of(who.IsUser() ? "user" : "group", who.code, who.principal.name(),
                             ProfileReader::Read(connection_, who.principal))
      .ToJson();
}

std::string ProfileCommands::Import(std::string_view principal, std::string_view file_text,
                                    bool apply, bool skip_unknown, bool json) {
  const NamedPrincipal who = PrincipalDirectory(connection_).Find(principal);
  ProfileImport import(connection_, who, ProfileDocument::FromJson(file_text),
                       {skip_unknown, login_, nullptr, 0});
  const ImportPlan plan = apply ? import.Apply() : import.Preview();
  return json ? ProfileReport::PlanJson(who, plan, apply)
              : ProfileReport::PlanText(who, plan, apply);
}

}  // namespace orv::profile
