#ifndef ORV_PROFILE_PROFILE_IMPORT_H_
#define ORV_PROFILE_PROFILE_IMPORT_H_

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "journal/journal.h"
#include "profile/principal_directory.h"
#include "profile/profile_document.h"
#include "profile/profile_row.h"

namespace orv::db {
class Connection;
}

namespace orv::profile {

// What an import will do (preview) or did (apply) to the target principal.
struct ImportPlan {
  std::vector<ProfileRow> added;
  std::vector<std::pair<ProfileRow, ProfileRow>> changed;  // (now, from the file)
  std::vector<ProfileRow> removed;
  // Rows of the file whose codes this installation lacks, for people:
  // "deposiTO XX, ditta 1 (parameters 6 XX)".
  std::vector<std::string> unknown;
  int change_log_entries = 0;
  bool reloads_clifor_list = false;

  bool Empty() const { return added.empty() && changed.empty() && removed.empty(); }
  // Same rows to add, change and remove.
  bool SameChanges(const ImportPlan& other) const;
};

// The rows changed between the preview shown and the apply.
class PlanChangedError : public std::runtime_error {
 public:
  PlanChangedError()
      : std::runtime_error(
            "the principal's revocations changed after the preview: look at the preview again") {}
};

// The import was refused because of codes this installation lacks.
class UnknownCodesError : public std::runtime_error {
 public:
  explicit UnknownCodesError(std::vector<std::string> codes);
  const std::vector<std::string>& codes() const { return codes_; }

 private:
  std::vector<std::string> codes_;
};

// Puts a profile file onto one principal: the tables the file carries get
// exactly the file's rows (added, flags changed, rows the file lacks
// removed); other tables and other principals are never touched.
//
// Apply writes everything in one transaction: the rows, the change-log
// records the editor's own clicks write (event 16 for parameters and nodes,
// event 15 for customer/supplier branches; families and transfers log
// nothing) and, when customer/supplier rows changed, the reload of the
// principal's derived list. Any failure rolls all of it back.
class ProfileImport {
 public:
  struct Options {
    bool skip_unknown = false;  // leave out rows with unknown codes instead of refusing
    std::string login;          // written in the change log
    // The journal the import is an entry of (an editor's, so that it can be
    // undone); null: a journal of the import's own on the same connection.
    journal::Journal* journal = nullptr;
    int64_t company = 0;  // the company the journal entry names
  };

  ProfileImport(db::Connection& connection, NamedPrincipal target, ProfileDocument document,
                Options options);

  // Reads the target's rows and checks the file's codes; writes nothing.
  ImportPlan Preview();
  // Preview, then write. Throws UnknownCodesError when codes are unknown and
  // not to be skipped, PlanChangedError when `shown` (the preview people
  // saw) no longer matches; any other failure is rethrown after the
  // rollback. The preview is read inside the transaction that writes.
  ImportPlan Apply(const ImportPlan* shown = nullptr);

 private:
  std::vector<std::pair<int32_t, std::string>> ChangeLog(const ImportPlan& plan) const;

  db::Connection& connection_;
  NamedPrincipal target_;
  ProfileDocument document_;
  Options options_;
  // Item descriptions found while checking, for the change log, by key text.
  std::vector<std::pair<ProfileRow, std::string>> described_;
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_IMPORT_H_
