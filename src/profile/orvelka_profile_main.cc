// orvelka-profile: a principal's revocations shown, combined through the
// groups, compared, searched, exported and imported.
//
//   orvelka-profile [--db FILE | --connection STRING] --user LOGIN [--json] COMMAND ...
//     show PRINCIPAL                 every revocation row of a user or a group
//     effective USER                 what the user cannot do, counting the groups
//     diff A B                       only in A, only in B, same item other flags
//     where-used ITEM                who revokes warehouse:MP, transfer:MP:PF, ...
//     export PRINCIPAL [-o FILE]     the profile file (JSON)
//     import PRINCIPAL FILE (--preview | --apply) [--skip-unknown]
//     journal [--principal P|all] [--section N] [--login L] [--from D] [--to D] [--csv]
//                                    the journal of gestures, newest first
//
// PRINCIPAL is user:LOGIN or group:CODE. Exit codes: 0 done, 1 failed,
// 2 bad command line, 3 import refused for unknown codes.

#include <CLI/CLI.hpp>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "db/connection.h"
#include "profile/profile_commands.h"
#include "profile/profile_import.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitUnknownCodes = 3;

std::string ConnectionStringForFile(const std::string& path) {
  std::string escaped;
  for (char c : path) {
    escaped += c;
    if (c == '}') escaped += '}';
  }
  return "Driver=SQLite;Database={" + escaped + "}";
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Shows, compares, searches, exports and imports revocation profiles."};
  app.require_subcommand(1);
  std::string file;
  std::string connection_string;
  std::string login;
  bool json = false;
  auto* db_option = app.add_option("--db", file, "Host database file (embedded engine)");
  auto* connection_option =
      app.add_option("--connection", connection_string, "Any supported connection string");
  db_option->excludes(connection_option);
  app.add_option("--user", login, "Administrator login (FW07_LOGIN)")->required();
  app.add_flag("--json", json, "JSON for scripts instead of tables");

  std::string a;
  std::string b;
  CLI::App* show = app.add_subcommand("show", "Every revocation row of a user or a group");
  show->add_option("PRINCIPAL", a, "user:LOGIN or group:CODE")->required();
  CLI::App* effective =
      app.add_subcommand("effective", "What a user cannot do, with the groups, by source");
  effective->add_option("USER", a, "user:LOGIN")->required();
  CLI::App* diff = app.add_subcommand("diff", "Compare two principals");
  diff->add_option("A", a, "user:LOGIN or group:CODE")->required();
  diff->add_option("B", b, "user:LOGIN or group:CODE")->required();
  CLI::App* where = app.add_subcommand("where-used", "Every principal revoking an item");
  where
      ->add_option("ITEM", a,
                   "warehouse:CODE, project:CODE, simulation:CODE, blocking:CODE, "
                   "parameter:KIND:CODE, transfer:ORI:DES, family:CODE, node:PROJECT:NODE, "
                   "clifor:TIPOCF:TIPORAGG:MACRO[:MIDDLE[:RAGG]]; @COMPANY at the end limits "
                   "it to one company")
      ->required();
  std::string output;
  CLI::App* exporting = app.add_subcommand("export", "Write a principal's profile file");
  exporting->add_option("PRINCIPAL", a, "user:LOGIN or group:CODE")->required();
  exporting->add_option("-o,--output", output, "File to write (default: standard output)");
  bool preview = false;
  bool apply = false;
  bool skip_unknown = false;
  CLI::App* importing = app.add_subcommand("import", "Put a profile file onto a principal");
  importing->add_option("PRINCIPAL", a, "user:LOGIN or group:CODE")->required();
  importing->add_option("FILE", b, "Profile file")->required()->check(CLI::ExistingFile);
  auto* preview_flag = importing->add_flag("--preview", preview, "Show what would change");
  auto* apply_flag = importing->add_flag("--apply", apply, "Write it, in one transaction");
  preview_flag->excludes(apply_flag);
  importing->add_flag("--skip-unknown", skip_unknown, "Leave out rows with unknown codes");

  std::string journal_principal;
  int journal_section = 0;
  std::string journal_login;
  std::string journal_from;
  std::string journal_to;
  bool csv = false;
  CLI::App* journal = app.add_subcommand("journal", "The journal of the editor's gestures");
  journal->add_option("--principal", journal_principal, "user:LOGIN, group:CODE or all");
  auto* section_option =
      journal->add_option("--section", journal_section, "Section code (6, 24, 32, ...)");
  journal->add_option("--login", journal_login, "Login that made the gestures");
  journal->add_option("--from", journal_from, "From yyyyMMdd[ HH:mm:ss]");
  journal->add_option("--to", journal_to, "To yyyyMMdd[ HH:mm:ss] (a day alone: the whole day)");
  journal->add_flag("--csv", csv, "CSV instead of a table");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  }
  if (file.empty() && connection_string.empty()) {
    std::cerr << "orvelka-profile: --db FILE or --connection STRING is needed\n";
    return kExitUsage;
  }
  if (importing->parsed() && !preview && !apply) {
    std::cerr << "orvelka-profile: import needs --preview or --apply\n";
    return kExitUsage;
  }

  try {
    auto connection = orv::db::Connection::Create();
    connection->Open(file.empty() ? connection_string : ConnectionStringForFile(file));
    orv::profile::ProfileCommands commands(*connection, login);
    std::string out;
    if (show->parsed()) {
      out = commands.Show(a, json);
    } else if (effective->parsed()) {
      out = commands.Effective(a, json);
    } else if (diff->parsed()) {
      out = commands.Diff(a, b, json);
    } else if (where->parsed()) {
      out = commands.WhereUsed(a, json);
    } else if (exporting->parsed()) {
      out = commands.Export(a);
      if (!output.empty()) {
        std::ofstream stream(output, std::ios::binary | std::ios::trunc);
        stream << out;
        if (!stream.flush()) throw std::runtime_error("cannot write " + output);
        return 0;
      }
    } else if (importing->parsed()) {
      std::ifstream stream(b, std::ios::binary);
      std::ostringstream text;
      text << stream.rdbuf();
      out = commands.Import(a, text.str(), apply, skip_unknown, json);
    } else if (journal->parsed()) {
      std::optional<int32_t> section;
      if (section_option->count() > 0) section = journal_section;
      out = commands.Journal(journal_principal, section, journal_login, journal_from, journal_to,
                             csv);
    }
    std::cout << out;
    return 0;
  } catch (const orv::profile::UnknownCodesError& e) {
    std::cerr << "orvelka-profile: import refused, " << e.what()
              << "\n(--skip-unknown leaves those rows out)\n";
    return kExitUnknownCodes;
  } catch (const std::exception& e) {
    std::cerr << "orvelka-profile: " << e.what() << "\n";
    return kExitFailed;
  }
}
