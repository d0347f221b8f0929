#ifndef ORV_TESTS_SUPPORT_FAULT_HOOK_H_
#define ORV_TESTS_SUPPORT_FAULT_HOOK_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace orv::testing {

// Injects write failures into a host database file from outside the editor:
// triggers on the watched tables count every row written (inserted, updated
// or deleted, by any connection) and raise "injected fault" on the n-th, or
// on every write to one table. The count lives in the database, so a
// gesture that rolls back also takes back its counting.
//
//   FaultHook faults(editor.database_path());
//   faults.Count();                 // how many writes does the click make?
//   Click();  int64_t n = faults.Seen();
//   faults.FailNthWrite(2);         // the click again, failing its 2nd write
//
// Holds its own SQLite connection (not the editor's, not the translated
// one); removes its triggers and table when destroyed.
class FaultHook {
 public:
  // The tables every gesture of the editor writes.
  static const std::vector<std::string_view>& GestureTables();

  explicit FaultHook(const std::string& database_path,
                     const std::vector<std::string_view>& tables = GestureTables());
  ~FaultHook();
  FaultHook(const FaultHook&) = delete;
  FaultHook& operator=(const FaultHook&) = delete;

  // Counts writes from zero and fails none.
  void Count();
  // Counts writes from zero; the n-th (1-based) fails.
  void FailNthWrite(int64_t n);
  // Every write to `table` fails (counting goes on).
  void FailTable(std::string_view table);
  // Writes counted since the last Count/Fail call (and kept by a commit).
  int64_t Seen();

 private:
  void Exec(const std::string& sql);

  sqlite3* db_ = nullptr;
  std::vector<std::string> triggers_;
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SUPPORT_FAULT_HOOK_H_
