#ifndef ORV_DB_SQLITE_SQLITE_DRIVER_H_
#define ORV_DB_SQLITE_SQLITE_DRIVER_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/connection_string.h"
#include "db/driver.h"
#include "db/sqlite/open_sqlite.h"
#include "db/sqlite/translation.h"
#include "db/sqlite/translator.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orv::db::sqlite {

class TempDbKeeper;
class WalCheckpointer;

// The embedded driver: one SQLite connection speaking the host's dialect
// through the translator.
//
// Results of Execute, in the order the statements run:
//  - a statement that returns rows gives one result with its fields and rows
//    (also when there are no rows);
//  - a statement that changes data (INSERT, UPDATE, DELETE) gives one result
//    with no fields and its records_affected; a MERGE (or anything the
//    translator runs as one atomic group) gives one such result for the group;
//  - other statements (CREATE, DROP, ...) give none;
//  - a batch that gives no result at all gives one result with no fields and
//    records_affected 0, so a caller always has a first result.
// A failing statement ends the batch; its error is thrown, the results of the
// statements before it are lost (their changes stay, as on the host server).
class SqliteDriver : public Driver, private Catalog {
 public:
  // Makes the function that translates host text for this connection; the
  // catalog is the driver itself (table functions of its database).
  // Translates host text; with a list, constants of data statements may come
  // back as parameters ?N whose values it receives (see
  // Translator::TranslateShared); with null, the text is translated as it is.
  using Translate =
      std::function<std::shared_ptr<const Translation>(std::string_view, std::vector<Literal>*)>;
  using TranslatorFactory = std::function<Translate(const Catalog*)>;

  // Opens a connection (see open_sqlite.h for the connection-string forms).
  // Throws DbError: missing file, not a database, locked, ...
  static std::unique_ptr<SqliteDriver> Open(const ConnectionString& connection_string,
                                            const TranslatorFactory& make_translator);
  ~SqliteDriver() override;

  std::vector<ResultSet> Execute(std::string_view sql, int32_t timeout_seconds) override;
  std::vector<ResultSet> Execute(std::string_view sql, const std::vector<Value>& values,
                                 int32_t timeout_seconds) override;
  // Hands each row to `sink` as it is stepped, in one buffer of values
  // whose texts keep their storage from row to row: a result's rows are
  // never held whole.
  void ExecuteStreaming(std::string_view sql, int32_t timeout_seconds, RowSink& sink) override;
  std::vector<ParameterInfo> DescribeProcedure(std::string_view name) override;
  std::vector<ResultSet> ExecuteProcedure(std::string_view name,
                                          const std::vector<ParameterInfo>& params,
                                          const std::vector<Value>& values,
                                          int32_t timeout_seconds) override;
  void BeginTransaction() override;
  void CommitTransaction() override;
  void RollbackTransaction() override;
  bool InTransaction() const override;
  bool IsReadOnly() const override { return read_only_; }
  void Savepoint(const std::string& name) override;
  void ReleaseSavepoint(const std::string& name) override;
  void RollbackToSavepoint(const std::string& name) override;
  std::string Name() const override { return "SQLite"; }

  // The underlying connection, for tests and tools that need the raw engine.
  sqlite3* handle() const { return db_; }
  // What copies the write-ahead log of a database file into the file beside
  // the commits; null for a database in memory or opened read-only.
  WalCheckpointer* checkpointer() const { return checkpointer_.get(); }

 private:
  // Parameter values bound by name ("@name", compared without regard to case).
  using Params = std::vector<std::pair<std::string, Value>>;
  struct CachedStatement;
  struct Routine;

  SqliteDriver();

  bool IsTableFunction(std::string_view name) const override;
  const Step::Routine* TableFunction(std::string_view name) const override;
  std::string ColumnType(std::string_view table, std::string_view column) const override;
  bool IsRowKey(std::string_view table, const std::vector<std::string>& columns) const override;
  bool IsNotNull(std::string_view table, std::string_view column) const override;

  // Runs a translation's steps with the time-out of one Execute. With a
  // sink, the results go to it (and none is returned): the rows of a
  // statement run at the top of the batch as they are stepped, any other
  // result once made, each in the order the statements ran.
  std::vector<ResultSet> RunTranslation(const Translation& translation, const Params& params,
                                        int32_t timeout_seconds, RowSink* sink = nullptr);
  // Hands the results made so far to the sink, in order, and forgets them.
  void FlushToSink(std::vector<ResultSet>& results);
  void RunSteps(const std::vector<Step>& steps, const Params& params,
                std::vector<ResultSet>& results, int depth);
  void RunStep(const Step& step, const Params& params, std::vector<ResultSet>& results, int depth);
  // Rolls back to the savepoint `savepoint` and releases it.
  void UndoSavepoint(const std::string& savepoint);
  // Runs `body` inside a savepoint: on any failure all of it is undone.
  void RunInSavepoint(const std::vector<Step>& body, const Params& params,
                      std::vector<ResultSet>& results, int depth);
  void RunAtomic(const std::vector<Step>& body, const Params& params,
                 std::vector<ResultSet>& results, int depth);
  // Runs every statement in `sql`; appends results as described above.
  void RunSql(const std::string& sql, const Params& params, std::vector<ResultSet>& results);
  // A SELECT ... INTO step: the table made with HOSTCI columns, then filled.
  void RunSelectInto(const Step& step, const Params& params, std::vector<ResultSet>& results);
  // The SELECT ... INTO step `into` followed by `key`, a CREATE INDEX on its
  // table: the table made, keyed while empty, then filled. The results are
  // those of the two run in turn; when anything fails they are run in turn.
  void RunKeyedSelectInto(const Step& into, const Step& key, const Params& params,
                          std::vector<ResultSet>& results, int depth);
  // The empty table of a SELECT ... INTO step, its columns declared HOSTCI.
  void CreateIntoTable(const Step& step, const Params& params);
  // Remembers the global temporary tables the step made or dropped.
  void NoteTemporaryTables(const Step& step);
  // The first column of the first row of `sql`'s result (Null when none).
  Value EvaluateScalar(const std::string& sql, const Params& params);
  void RunProcedure(std::string_view name, const std::vector<std::pair<std::string, Value>>& args,
                    std::vector<ResultSet>& results, int depth);

  // The prepared first statement of `sql`, from the cache or prepared now; the
  // caller hands it back with ReturnStatement.
  std::unique_ptr<CachedStatement> TakeStatement(const std::string& sql);
  void ReturnStatement(std::unique_ptr<CachedStatement> statement);
  // Fields and kind of a prepared statement, from SQLite's metadata.
  void Describe(CachedStatement& cached) const;
  void Bind(CachedStatement& statement, const Params& params);
  void ExecSimple(const char* sql);

  const Routine* FindRoutine(std::string_view name);
  void LoadRoutines();
  void AddRoutine(const Step::Routine& routine);
  std::string CompileFunctionBody(const Step::Routine& routine);

  [[noreturn]] void Fail(int rc) const;
  // SQLite's hook after each commit to a WAL database: past the log size at
  // which SQLite would checkpoint inside the commit, a large commit asks the
  // checkpointer and a small one copies the log itself.
  static int OnWalCommit(void* driver, sqlite3* db, const char* schema, int log_pages);

  sqlite3* db_ = nullptr;  // owned; closed by the destructor
  std::shared_ptr<TempDbKeeper> temp_db_;
  std::unique_ptr<WalCheckpointer> checkpointer_;
  int log_pages_seen_ = 0;      // the log's size at this connection's last commit
  bool log_requested_ = false;  // a checkpoint was asked for since the log started
  Translate translate_;
  int busy_timeout_ms_ = 5000;
  bool read_only_ = false;
  int64_t deadline_ns_ = 0;  // steady-clock deadline of the running Execute, 0 = none
  // The sink of the running ExecuteStreaming and the batch's own results,
  // whose rows go to it as they are stepped; null otherwise.
  RowSink* sink_ = nullptr;
  const std::vector<ResultSet>* streamed_ = nullptr;
  size_t sink_results_ = 0;  // results handed to the sink so far
  int savepoint_counter_ = 0;
  std::unordered_map<std::string, std::unique_ptr<CachedStatement>> statements_;
  std::map<std::string, std::unique_ptr<Routine>> routines_;  // key: name folded to lower case
};

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_SQLITE_DRIVER_H_
