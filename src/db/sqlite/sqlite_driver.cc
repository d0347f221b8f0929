#include "db/sqlite/sqlite_driver.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <optional>

#include "db/ascii.h"
#include "db/db_error.h"
#include "db/sqlite/declared_type.h"
#include "db/sqlite/host_functions.h"
#include "db/sqlite/routine_store.h"
#include "db/sqlite/sqlite_error.h"
#include "db/sqlite/sqlite_handles.h"
#include "db/sqlite/table_function_module.h"
#include "db/sqlite/temp_db_keeper.h"
#include "db/sqlite/wal_checkpointer.h"

namespace orv::db::sqlite {
namespace {

// The host server's limit on nested procedure calls.
constexpr int kMaxNesting = 32;
// Prepared statements kept per connection; beyond this the cache starts over.
constexpr size_t kStatementCacheSize = 256;

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

// A routine's name as the host writes it ("dbo.[FN]", "[dbo].FN", "FN") reduced
// to the bare name under which it is stored.
std::string BareName(std::string_view name) {
  std::string out;
  std::string part;
  bool in_brackets = false;
  for (char c : name) {
    if (in_brackets) {
      if (c == ']') {
        in_brackets = false;
      } else {
        part += c;
      }
    } else if (c == '[') {
      in_brackets = true;
    } else if (c == '.') {
      part.clear();  // keep only the last part of a qualified name
    } else if (!std::isspace(static_cast<unsigned char>(c))) {
      part += c;
    }
  }
  return part;
}

bool IsTrue(const Value& v) {
  switch (v.type()) {
    case Value::Type::kInt:
      return v.AsInt() != 0;
    case Value::Type::kDecimal:
      return v.AsDecimal() != 0;
    case Value::Type::kBool:
      return v.AsBool();
    case Value::Type::kText:
      return v.IsNumeric() && v.ToDouble() != 0;
    default:
      return false;
  }
}

// The first word of a statement, skipping blanks and comments.
std::string FirstKeyword(const char* sql) {
  const char* p = sql;
  for (;;) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (p[0] == '-' && p[1] == '-') {
      while (*p && *p != '\n') ++p;
    } else if (p[0] == '/' && p[1] == '*') {
      p += 2;
      while (*p && !(p[0] == '*' && p[1] == '/')) ++p;
      if (*p) p += 2;
    } else {
      break;
    }
  }
  std::string word;
  while (*p && std::isalpha(static_cast<unsigned char>(*p))) {
    word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    ++p;
  }
  return word;
}

int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int ProgressHandler(void* data) {
  const int64_t deadline = *static_cast<const int64_t*>(data);
  return deadline != 0 && NowNs() > deadline ? 1 : 0;
}

size_t Utf8Length(std::string_view s) {
  size_t n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

// A value converted to a parameter's declared type, as the host server does
// when a procedure receives it.
Value CoerceParameter(const Value& value, const DeclaredType& type) {
  if (value.IsNull() || value.IsEmpty()) return Value::Null();
  switch (type.type) {
    case DataType::kInteger:
    case DataType::kSmallInt:
    case DataType::kBigInt:
      return Value(value.ToInt64());
    case DataType::kBoolean:
      return Value(static_cast<int64_t>(value.ToBool() ? 1 : 0));
    case DataType::kDouble:
    case DataType::kNumeric:
      return value.type() == Value::Type::kInt ? value : Value(value.ToDouble());
    case DataType::kChar:
    case DataType::kWChar:
    case DataType::kVarChar:
    case DataType::kVarWChar:
    case DataType::kLongVarChar:
      return Value(value.ToText());
    default:
      return value;
  }
}

// The columns of the first unique, unfiltered index of a table, for a table
// without a primary key: such an index names each row as a key does (the
// node work table, made by SELECT ... INTO, gets its key this way).
std::vector<std::string> UniqueIndexColumns(sqlite3* db, const char* schema, const char* table) {
  std::vector<std::string> columns;
  auto prepare = [db](const char* sql) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    return StatementPtr(raw);
  };
  StatementPtr list = prepare(
      "SELECT name FROM pragma_index_list(?1, ?2) WHERE \"unique\" = 1 AND partial = 0 "
      "ORDER BY seq DESC");
  if (!list) return columns;
  sqlite3_bind_text(list.get(), 1, table, -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(list.get(), 2, schema, -1, SQLITE_TRANSIENT);
  if (sqlite3_step(list.get()) != SQLITE_ROW) return columns;
  const std::string index = reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0));
  StatementPtr info = prepare("SELECT name FROM pragma_index_info(?1, ?2) ORDER BY seqno");
  if (!info) return columns;
  sqlite3_bind_text(info.get(), 1, index.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(info.get(), 2, schema, -1, SQLITE_TRANSIENT);
  while (sqlite3_step(info.get()) == SQLITE_ROW) {
    const unsigned char* name = sqlite3_column_text(info.get(), 0);
    if (name == nullptr) return {};  // an expression: no column key
    columns.emplace_back(reinterpret_cast<const char*>(name));
  }
  return columns;
}

}  // namespace

// A prepared statement with what is known about it before it runs.
struct SqliteDriver::CachedStatement {
  std::string key;  // the text it was prepared from (up to the end of the step's sql)
  StatementPtr stmt;
  size_t consumed = 0;  // bytes of `key` this statement covers
  bool changes_data = false;
  std::vector<FieldInfo> fields;
  std::vector<bool> derive_type;  // no declared type: derived from the values read
  std::vector<bool> boolean;      // BIT columns read as Booleans
  int reprepares = 0;             // SQLite re-prepares after a schema change: then describe anew
  size_t last_rows = 0;           // rows the last run returned: the next one likely as many
  // The name of each parameter (1-based index - 1; "" for a number without
  // one), read once: SQLite finds a name by walking its list from the
  // start, which over a statement's hundreds of constants adds up.
  std::vector<std::string> parameter_names;
  bool parameter_names_read = false;
};

struct SqliteDriver::Routine {
  Step::Routine definition;
  std::vector<DeclaredType> types;
  bool module_registered = false;
};

SqliteDriver::SqliteDriver() = default;

std::unique_ptr<SqliteDriver> SqliteDriver::Open(const ConnectionString& cs,
                                                 const TranslatorFactory& make_translator) {
  const std::string database = cs.GetAny({"Database", "Data Source"});
  if (database.empty()) {
    throw DriverError("The connection string names no database (Database= or Data Source=).");
  }
  const std::string mode = cs.GetAny({"Mode"});
  const bool read_only = EqualsIgnoreCase(mode, "ReadOnly") ||
                         EqualsIgnoreCase(mode, "Read Only") || EqualsIgnoreCase(mode, "ro");
  if (!mode.empty() && !read_only && !EqualsIgnoreCase(mode, "ReadWrite")) {
    throw DriverError("Unknown Mode '" + mode + "' (ReadOnly or ReadWrite).");
  }
  const std::string create = cs.GetAny({"Create"});
  const bool may_create =
      EqualsIgnoreCase(create, "yes") || EqualsIgnoreCase(create, "true") || create == "1";
  if (!create.empty() && !may_create && !EqualsIgnoreCase(create, "no") &&
      !EqualsIgnoreCase(create, "false") && create != "0") {
    throw DriverError("Unknown Create value '" + create + "' (yes or no).");
  }
  int busy_timeout_ms = 5000;
  const std::string busy = cs.GetAny({"Busy Timeout", "BusyTimeout"});
  if (!busy.empty()) {
    auto [end, ec] = std::from_chars(busy.data(), busy.data() + busy.size(), busy_timeout_ms);
    if (ec != std::errc() || end != busy.data() + busy.size() || busy_timeout_ms < 0) {
      throw DriverError("Busy Timeout must be a number of milliseconds, not '" + busy + "'.");
    }
  }
  // Synchronous=Full (default) makes every commit durable; Normal keeps the
  // database consistent after a crash but may lose the last commits on a
  // power cut, in exchange for commits without a sync.
  const std::string sync = cs.GetAny({"Synchronous"});
  if (!sync.empty() && !EqualsIgnoreCase(sync, "full") && !EqualsIgnoreCase(sync, "normal")) {
    throw DriverError("Unknown Synchronous value '" + sync + "' (Full or Normal).");
  }
  const bool uri = database.rfind("file:", 0) == 0;
  const bool memory = database == ":memory:" || database.find("mode=memory") != std::string::npos;
  if (!uri && !memory && !may_create) {
    struct stat info {};
    if (stat(database.c_str(), &info) != 0) {
      throw DriverError("The database file '" + database +
                        "' does not exist (add Create=yes to create it).");
    }
    if (!S_ISREG(info.st_mode)) {
      throw DriverError("The database '" + database + "' is not a file.");
    }
    // SQLite would take an empty file for a new database and write one into
    // it; without Create=yes a file is opened only as a database it holds.
    if (info.st_size == 0) {
      throw DriverError("The file '" + database +
                        "' is not a host database (it is empty); it was left untouched.");
    }
  }

  std::unique_ptr<SqliteDriver> driver(new SqliteDriver());
  driver->busy_timeout_ms_ = busy_timeout_ms;
  // A driver belongs to one connection used on one thread, so SQLite's
  // per-connection mutex only costs time on every call.
  int flags = SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
  if (read_only) {
    flags |= SQLITE_OPEN_READONLY;
  } else {
    flags |= SQLITE_OPEN_READWRITE;
    if (may_create || memory) flags |= SQLITE_OPEN_CREATE;
  }
  int rc = sqlite3_open_v2(database.c_str(), &driver->db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string engine = driver->db_ ? sqlite3_errmsg(driver->db_) : sqlite3_errstr(rc);
    throw DriverError("Cannot open the database '" + database + "' (" + engine + ").");
  }
  sqlite3* db = driver->db_;
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, busy_timeout_ms);

  // Reading the schema is what tells a database from any other file.
  rc = sqlite3_exec(db, "SELECT count(*) FROM main.sqlite_schema", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    if ((rc & 0xff) == SQLITE_NOTADB || (rc & 0xff) == SQLITE_CORRUPT) {
      throw DriverError("The file '" + database + "' is not a database or is corrupt (" +
                        sqlite3_errmsg(db) + ").");
    }
    throw SqliteError(db, rc, busy_timeout_ms);
  }
  driver->read_only_ = read_only || sqlite3_db_readonly(db, "main") == 1;
  const char* filename = sqlite3_db_filename(db, "main");
  if (filename && *filename && !driver->read_only_) {
    driver->ExecSimple("PRAGMA journal_mode=WAL");
    const bool full_sync = !EqualsIgnoreCase(sync, "normal");
    driver->ExecSimple(full_sync ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=NORMAL");
    // The log is copied into the file beside the commits, not inside the
    // commit that fills it (this hook replaces SQLite's own checkpoints).
    driver->checkpointer_ = std::make_unique<WalCheckpointer>(filename, full_sync);
    sqlite3_wal_hook(db, &SqliteDriver::OnWalCommit, driver.get());
  }
  driver->ExecSimple("PRAGMA foreign_keys=ON");
  // A statement that writes many rows inside a transaction keeps the pages
  // it changed in a statement journal (to undo itself alone when it fails);
  // on file it is a temporary file written, read and deleted per statement.
  driver->ExecSimple("PRAGMA temp_store=MEMORY");
  if (!RegisterHostFunctions(db)) throw SqliteError(db, SQLITE_NOMEM);

  driver->temp_db_ = TempDbKeeper::Acquire();
  driver->ExecSimple((std::string("ATTACH DATABASE '") + TempDbKeeper::kAttachUri + "' AS " +
                      TempDbKeeper::kSchemaName)
                         .c_str());
  // Temporary tables live in this process's memory only: the pages a DROP or
  // DELETE frees there need not be overwritten with zeros (SQLite may be built
  // to do that everywhere), which would also copy each one into the rollback
  // journal first. The database file keeps the library's setting.
  driver->ExecSimple("PRAGMA temp.secure_delete=OFF");
  driver->ExecSimple(
      (std::string("PRAGMA ") + TempDbKeeper::kSchemaName + ".secure_delete=OFF").c_str());
  sqlite3_progress_handler(db, 1000, ProgressHandler, &driver->deadline_ns_);
  driver->translate_ = make_translator(driver.get());
  driver->LoadRoutines();
  return driver;
}

SqliteDriver::~SqliteDriver() {
  if (!db_) return;
  // The last connection to close checkpoints the whole log; the
  // checkpointer's own connection must be gone by then.
  checkpointer_.reset();
  deadline_ns_ = 0;
  statements_.clear();
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  if (temp_db_) {
    // The host server drops a connection's global temporary tables when it
    // ends; a table this connection cannot drop goes through the keeper.
    for (const std::string& name : temp_db_->ReleaseOwner(this)) {
      const std::string sql = std::string("DROP TABLE IF EXISTS ") + TempDbKeeper::kSchemaName +
                              "." + QuoteIdentifier(name);
      if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        temp_db_->DropTable(name);
      }
    }
  }
  routines_.clear();
  sqlite3_close_v2(db_);
}

int SqliteDriver::OnWalCommit(void* driver, sqlite3* db, const char* schema, int log_pages) {
  // SQLite's own threshold for an automatic checkpoint.
  constexpr int kCheckpointPages = 1000;
  // A commit that wrote this many pages (a revoke-all, a copy) leaves the
  // copy to the checkpointer; a smaller one (a click) that takes the log past
  // the threshold copies it itself, as SQLite would: a copy running beside a
  // stream of clicks would only compete with each click's sync.
  constexpr int kLargeCommitPages = 100;
  // The log starts again from its beginning only at a write that follows a
  // complete copy. Large commits that come faster than the copying would
  // make it grow without end: when a log already handed to the checkpointer
  // passes this size, the commit waits for the copy (it holds no lock here),
  // as SQLite's own checkpoint would have made it wait.
  constexpr int kCatchUpPages = 4 * kCheckpointPages;
  auto* self = static_cast<SqliteDriver*>(driver);
  if (std::string_view(schema) != "main" || !self->checkpointer_) return SQLITE_OK;
  // Every commit adds to the log: a smaller one was started again.
  const bool restarted = log_pages <= self->log_pages_seen_;
  const int added = restarted ? log_pages : log_pages - self->log_pages_seen_;
  if (restarted) self->log_requested_ = false;
  self->log_pages_seen_ = log_pages;
  if (log_pages < kCheckpointPages) return SQLITE_OK;
  if (added < kLargeCommitPages) {
    // Busy (the checkpointer is copying) returns at once.
    sqlite3_wal_checkpoint_v2(db, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    return SQLITE_OK;
  }
  const bool catch_up = self->log_requested_ && log_pages >= kCatchUpPages;
  self->checkpointer_->Request();
  if (catch_up) self->checkpointer_->WaitIdle();
  self->log_requested_ = true;
  return SQLITE_OK;
}

void SqliteDriver::ExecSimple(const char* sql) {
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(rc);
}

void SqliteDriver::Fail(int rc) const { throw SqliteError(db_, rc, busy_timeout_ms_); }

// ---------------------------------------------------------------------------
// Batches

namespace {

// The constants a translation took out, as the parameters ?1, ?2, ...
std::vector<std::pair<std::string, Value>> LiteralParams(std::vector<Literal> literals) {
  std::vector<std::pair<std::string, Value>> params;
  params.reserve(literals.size());
  for (size_t i = 0; i < literals.size(); ++i) {
    Literal& l = literals[i];
    params.emplace_back("?" + std::to_string(i + 1),
                        l.is_text ? Value(std::move(l.text)) : Value(l.integer));
  }
  return params;
}

}  // namespace

std::vector<ResultSet> SqliteDriver::Execute(std::string_view sql, int32_t timeout_seconds) {
  std::vector<Literal> literals;
  std::shared_ptr<const Translation> translation = translate_(sql, &literals);
  return RunTranslation(*translation, LiteralParams(std::move(literals)), timeout_seconds);
}

void SqliteDriver::ExecuteStreaming(std::string_view sql, int32_t timeout_seconds, RowSink& sink) {
  std::vector<Literal> literals;
  std::shared_ptr<const Translation> translation = translate_(sql, &literals);
  RunTranslation(*translation, LiteralParams(std::move(literals)), timeout_seconds, &sink);
}

std::vector<ResultSet> SqliteDriver::Execute(std::string_view sql, const std::vector<Value>& values,
                                             int32_t timeout_seconds) {
  // Translated as written (cached by its text): its constants stay in the
  // statements, its markers are the parameters ?1, ?2, ...
  std::shared_ptr<const Translation> translation = translate_(sql, nullptr);
  if (translation->markers != values.size()) {
    throw DriverError("The statement has " + std::to_string(translation->markers) +
                      " parameter markers (?) and " + std::to_string(values.size()) +
                      " values were given.");
  }
  Params params;
  params.reserve(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    params.emplace_back("?" + std::to_string(i + 1), values[i]);
  }
  return RunTranslation(*translation, params, timeout_seconds);
}

std::vector<ResultSet> SqliteDriver::RunTranslation(const Translation& translation,
                                                    const Params& params, int32_t timeout_seconds,
                                                    RowSink* sink) {
  std::vector<ResultSet> results;
  // What a batch run from inside a sink's call changes is put back for the
  // batch that called the sink.
  struct Reset {
    SqliteDriver& driver;
    RowSink* sink;
    const std::vector<ResultSet>* streamed;
    size_t sink_results;
    int64_t deadline;
    ~Reset() {
      driver.deadline_ns_ = deadline;
      driver.sink_ = sink;
      driver.streamed_ = streamed;
      driver.sink_results_ = sink_results;
    }
  } reset{*this, sink_, streamed_, sink_results_, deadline_ns_};
  deadline_ns_ = timeout_seconds > 0 ? NowNs() + int64_t{timeout_seconds} * 1'000'000'000 : 0;
  sink_ = sink;
  streamed_ = sink ? &results : nullptr;
  sink_results_ = 0;
  RunSteps(translation.steps, params, results, 0);
  if (results.empty() && sink_results_ == 0) {
    ResultSet none;
    none.records_affected = 0;
    results.push_back(std::move(none));
  }
  if (sink) FlushToSink(results);
  return results;
}

void SqliteDriver::FlushToSink(std::vector<ResultSet>& results) {
  for (ResultSet& result : results) {
    ++sink_results_;
    sink_->BeginResult(result.fields, result.records_affected);
    for (std::vector<Value>& row : result.rows) sink_->Row(row);
    sink_->EndResult(result.fields);
  }
  results.clear();
}

void SqliteDriver::RunSteps(const std::vector<Step>& steps, const Params& params,
                            std::vector<ResultSet>& results, int depth) {
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    const Step* next = i + 1 < steps.size() ? &steps[i + 1] : nullptr;
    // A table made by SELECT ... INTO and keyed by the next statement is
    // keyed while it is still empty: the index then grows with the rows
    // instead of being sorted from all of them afterwards.
    if (next != nullptr && step.kind == Step::Kind::kStatement && !step.into_table.empty() &&
        next->kind == Step::Kind::kStatement && !next->index_table.empty() &&
        EqualsIgnoreCase(next->index_table, step.into_table)) {
      RunKeyedSelectInto(step, *next, params, results, depth);
      ++i;
      continue;
    }
    RunStep(step, params, results, depth);
  }
}

void SqliteDriver::NoteTemporaryTables(const Step& step) {
  for (const std::string& name : step.creates_temp) temp_db_->SetOwner(name, this);
  for (const std::string& name : step.drops_temp) temp_db_->Forget(name);
}

void SqliteDriver::RunStep(const Step& step, const Params& params, std::vector<ResultSet>& results,
                           int depth) {
  switch (step.kind) {
    case Step::Kind::kStatement:
      if (step.into_table.empty()) {
        RunSql(step.sql, params, results);
      } else {
        RunSelectInto(step, params, results);
      }
      break;
    case Step::Kind::kIf:
      RunSteps(IsTrue(EvaluateScalar(step.condition_sql, params)) ? step.body : step.else_body,
               params, results, depth);
      break;
    case Step::Kind::kAtomic:
      RunAtomic(step.body, params, results, depth);
      break;
    case Step::Kind::kCreateRoutine: {
      Step::Routine routine = step.routine;
      routine.name = BareName(routine.name);
      routine.param_types.resize(routine.params.size());
      RoutineStore(db_).Save(routine);
      AddRoutine(routine);
      break;
    }
    case Step::Kind::kExecProcedure: {
      std::vector<std::pair<std::string, Value>> args;
      for (size_t i = 0; i < step.exec_arg_sql.size(); ++i) {
        std::string name = i < step.exec_arg_names.size() ? step.exec_arg_names[i] : "";
        args.emplace_back(std::move(name),
                          EvaluateScalar("SELECT " + step.exec_arg_sql[i], params));
      }
      RunProcedure(step.exec_name, args, results, depth + 1);
      break;
    }
  }
  NoteTemporaryTables(step);
}

void SqliteDriver::UndoSavepoint(const std::string& savepoint) {
  // If SQLite already rolled the whole transaction back the savepoint is
  // gone and these fail harmlessly.
  sqlite3_exec(db_, ("ROLLBACK TO " + savepoint).c_str(), nullptr, nullptr, nullptr);
  sqlite3_exec(db_, ("RELEASE " + savepoint).c_str(), nullptr, nullptr, nullptr);
}

void SqliteDriver::RunInSavepoint(const std::vector<Step>& body, const Params& params,
                                  std::vector<ResultSet>& results, int depth) {
  const std::string savepoint = "orv_atomic_" + std::to_string(++savepoint_counter_);
  ExecSimple(("SAVEPOINT " + savepoint).c_str());
  try {
    RunSteps(body, params, results, depth);
    ExecSimple(("RELEASE " + savepoint).c_str());
  } catch (...) {
    // Undo everything the group did.
    UndoSavepoint(savepoint);
    throw;
  }
}

void SqliteDriver::CreateIntoTable(const Step& step, const Params& params) {
  std::vector<ResultSet> ignored;
  // SQLite names the columns and types them by the affinity of each
  // expression; no row is read for that.
  RunSql("CREATE TABLE " + step.into_table + " AS SELECT * FROM (" + step.into_query + ") LIMIT 0",
         params, ignored);
  std::vector<ResultSet> described;
  RunSql("SELECT name, type FROM pragma_table_info(?1, ?2)",
         {{"?1", Value(step.into_name)}, {"?2", Value(step.into_schema)}}, described);
  std::string columns;
  for (const std::vector<Value>& column : described.at(0).rows) {
    if (!columns.empty()) columns += ", ";
    columns += QuoteIdentifier(column.at(0).ToText());
    const std::string type = column.at(1).IsNull() ? "" : column.at(1).ToText();
    if (!type.empty()) columns += " " + type;
    columns += " COLLATE HOSTCI";
  }
  RunSql("DROP TABLE " + step.into_table, {}, ignored);
  RunSql("CREATE TABLE " + step.into_table + " (" + columns + ")", {}, ignored);
}

void SqliteDriver::RunSelectInto(const Step& step, const Params& params,
                                 std::vector<ResultSet>& results) {
  const std::string savepoint = "orv_into_" + std::to_string(++savepoint_counter_);
  ExecSimple(("SAVEPOINT " + savepoint).c_str());
  try {
    CreateIntoTable(step, params);
    RunSql("INSERT INTO " + step.into_table + " " + step.into_query, params, results);
    ExecSimple(("RELEASE " + savepoint).c_str());
  } catch (...) {
    UndoSavepoint(savepoint);
    throw;
  }
}

void SqliteDriver::RunKeyedSelectInto(const Step& into, const Step& key, const Params& params,
                                      std::vector<ResultSet>& results, int depth) {
  const std::string savepoint = "orv_into_" + std::to_string(++savepoint_counter_);
  ExecSimple(("SAVEPOINT " + savepoint).c_str());
  const size_t before = results.size();
  try {
    CreateIntoTable(into, params);
    std::vector<ResultSet> keyed;
    RunSql(key.sql, params, keyed);
    RunSql("INSERT INTO " + into.into_table + " " + into.into_query, params, results);
    for (ResultSet& result : keyed) results.push_back(std::move(result));
    ExecSimple(("RELEASE " + savepoint).c_str());
    NoteTemporaryTables(into);
    NoteTemporaryTables(key);
    return;
  } catch (const DbError&) {
    UndoSavepoint(savepoint);
    results.resize(before);
  } catch (...) {
    UndoSavepoint(savepoint);
    throw;
  }
  // Something failed (rows the key refuses, a key that cannot be made, or
  // the query itself): the statements run once more as written, so that
  // what is left and what is reported are what the batch gives.
  RunStep(into, params, results, depth);
  RunStep(key, params, results, depth);
}

void SqliteDriver::RunAtomic(const std::vector<Step>& body, const Params& params,
                             std::vector<ResultSet>& results, int depth) {
  std::vector<ResultSet> inner;
  RunInSavepoint(body, params, inner, depth);
  // The group is one statement of the host's: one count of the rows it changed.
  int64_t changed = 0;
  bool changes_data = false;
  for (ResultSet& result : inner) {
    if (result.fields.empty()) {
      changes_data = true;
      if (result.records_affected > 0) changed += result.records_affected;
    } else {
      results.push_back(std::move(result));
    }
  }
  if (changes_data) {
    ResultSet count;
    count.records_affected = changed;
    results.push_back(std::move(count));
  }
}

std::unique_ptr<SqliteDriver::CachedStatement> SqliteDriver::TakeStatement(const std::string& sql) {
  if (auto it = statements_.find(sql); it != statements_.end()) {
    std::unique_ptr<CachedStatement> cached = std::move(it->second);
    statements_.erase(it);
    return cached;
  }
  auto cached = std::make_unique<CachedStatement>();
  cached->key = sql;
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &raw, &tail);
  if (rc != SQLITE_OK && std::string_view(sqlite3_errmsg(db_)).rfind("no such table", 0) == 0) {
    // Perhaps a table function another connection created since this one
    // opened: learn the new routines and try once more.
    DbError missing = SqliteError(db_, rc, busy_timeout_ms_);
    const size_t known = routines_.size();
    LoadRoutines();
    if (routines_.size() == known) throw missing;
    rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                            SQLITE_PREPARE_PERSISTENT, &raw, &tail);
  }
  if (rc != SQLITE_OK) Fail(rc);
  cached->stmt.reset(raw);
  cached->consumed = static_cast<size_t>(tail - sql.c_str());
  if (!raw) return cached;  // only blanks or comments
  Describe(*cached);
  return cached;
}

void SqliteDriver::Describe(CachedStatement& cached) const {
  sqlite3_stmt* stmt = cached.stmt.get();
  cached.reprepares = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
  cached.fields.clear();
  cached.derive_type.clear();
  cached.boolean.clear();
  const int columns = sqlite3_column_count(stmt);
  if (columns == 0) {
    const std::string keyword = FirstKeyword(sqlite3_sql(stmt));
    cached.changes_data = keyword == "INSERT" || keyword == "UPDATE" || keyword == "DELETE" ||
                          keyword == "REPLACE" ||
                          (keyword == "WITH" && !sqlite3_stmt_readonly(stmt));
  }
  for (int i = 0; i < columns; ++i) {
    FieldInfo field;
    field.name = sqlite3_column_name(stmt, i);
    const char* decl = sqlite3_column_decltype(stmt, i);
    DeclaredType type = decl ? DeclaredType::Parse(decl) : DeclaredType{};
    field.type = type.type;
    field.defined_size = type.size;
    const char* table = sqlite3_column_table_name(stmt, i);
    const char* column = sqlite3_column_origin_name(stmt, i);
    const char* schema = sqlite3_column_database_name(stmt, i);
    if (table && column) {
      field.base_table = table;
      field.base_column = column;
      int not_null = 0;
      int primary_key = 0;
      if (sqlite3_table_column_metadata(db_, schema, table, column, nullptr, nullptr, &not_null,
                                        &primary_key, nullptr) == SQLITE_OK) {
        field.nullable = not_null == 0;
        field.key = primary_key != 0;
      }
    }
    cached.fields.push_back(std::move(field));
    cached.derive_type.push_back(decl == nullptr);
    cached.boolean.push_back(type.type == DataType::kBoolean);
  }
  // A table without a primary key: the columns of its unique index are the key.
  std::vector<std::pair<std::string, std::string>> seen;
  for (int i = 0; i < columns; ++i) {
    const char* table = sqlite3_column_table_name(stmt, i);
    const char* schema = sqlite3_column_database_name(stmt, i);
    if (!table || !schema) continue;
    std::pair<std::string, std::string> name(schema, table);
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
    seen.push_back(name);
    bool has_key = false;
    for (const FieldInfo& f : cached.fields) {
      if (f.key && EqualsIgnoreCase(f.base_table, table)) has_key = true;
    }
    if (has_key) continue;
    const std::vector<std::string> key = UniqueIndexColumns(db_, schema, table);
    for (int j = 0; j < columns; ++j) {
      const char* other = sqlite3_column_table_name(stmt, j);
      const char* other_schema = sqlite3_column_database_name(stmt, j);
      FieldInfo& f = cached.fields[static_cast<size_t>(j)];
      if (!other || !other_schema || name.first != other_schema || name.second != other) continue;
      for (const std::string& column : key) {
        if (EqualsIgnoreCase(column, f.base_column)) f.key = true;
      }
    }
  }
}

void SqliteDriver::ReturnStatement(std::unique_ptr<CachedStatement> statement) {
  if (!statement->stmt) return;
  sqlite3_reset(statement->stmt.get());
  sqlite3_clear_bindings(statement->stmt.get());
  if (statements_.size() >= kStatementCacheSize) statements_.clear();
  std::string key = statement->key;
  statements_.emplace(std::move(key), std::move(statement));
}

void SqliteDriver::Bind(CachedStatement& statement, const Params& params) {
  sqlite3_stmt* stmt = statement.stmt.get();
  if (!statement.parameter_names_read) {
    const int count = sqlite3_bind_parameter_count(stmt);
    statement.parameter_names.assign(static_cast<size_t>(count), std::string());
    for (int p = 1; p <= count; ++p) {
      if (const char* name = sqlite3_bind_parameter_name(stmt, p)) {
        statement.parameter_names[static_cast<size_t>(p - 1)] = name;
      }
    }
    statement.parameter_names_read = true;
  }
  const int count = static_cast<int>(statement.parameter_names.size());
  for (int p = 1; p <= count; ++p) {
    const std::string& named = statement.parameter_names[static_cast<size_t>(p - 1)];
    // No name: a number below the constants this statement of a batch uses
    // (?3 and ?4 in its second INSERT leave 1 and 2 without a name).
    if (named.empty()) continue;
    const char* name = named.c_str();
    const Value* value = nullptr;
    if (name[0] == '?') {
      // ?N: the N-th constant of the text, first in the list.
      const size_t n = static_cast<size_t>(std::atoi(name + 1));
      if (n >= 1 && n <= params.size() && params[n - 1].first == name)
        value = &params[n - 1].second;
    } else {
      for (const auto& [param, v] : params) {
        if (EqualsIgnoreCase(param, name)) {
          value = &v;
          break;
        }
      }
    }
    if (!value) {
      throw DriverError(std::string("Must declare the scalar variable \"") + name + "\".");
    }
    int rc = SQLITE_OK;
    switch (value->type()) {
      case Value::Type::kEmpty:
      case Value::Type::kNull:
        rc = sqlite3_bind_null(stmt, p);
        break;
      case Value::Type::kInt:
        rc = sqlite3_bind_int64(stmt, p, value->AsInt());
        break;
      case Value::Type::kDecimal:
        rc = sqlite3_bind_double(stmt, p, value->AsDecimal());
        break;
      case Value::Type::kBool:
        rc = sqlite3_bind_int64(stmt, p, value->AsBool() ? 1 : 0);
        break;
      case Value::Type::kText: {
        const std::string& text = value->AsText();
        rc = sqlite3_bind_text(stmt, p, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
        break;
      }
    }
    if (rc != SQLITE_OK) Fail(rc);
  }
}

namespace {

// What the values of an expression column were, as far as read.
struct ColumnSeen {
  bool any_int = false, any_double = false, any_text = false, wide_int = false;
  size_t longest = 0;
};

// How a column's values are read.
struct ColumnReading {
  bool boolean = false;        // an integer is a Boolean
  int32_t pad_to = 0;          // fixed-length text: padded to this many characters
  ColumnSeen* seen = nullptr;  // an expression column: its values noted here
};

// `slot` made the value of `cell`; a text slot keeps its storage.
void ReadCell(sqlite3_value* cell, const ColumnReading& how, Value& slot) {
  ColumnSeen* note = how.seen;
  switch (sqlite3_value_type(cell)) {
    case SQLITE_INTEGER: {
      const int64_t n = sqlite3_value_int64(cell);
      if (how.boolean) {
        slot.SetBool(n != 0);
      } else {
        slot.SetInt(n);
      }
      if (note) {
        note->any_int = true;
        note->wide_int = note->wide_int || n > INT32_MAX || n < INT32_MIN;
      }
      break;
    }
    case SQLITE_FLOAT:
      slot.SetDecimal(sqlite3_value_double(cell));
      if (note) note->any_double = true;
      break;
    case SQLITE_NULL:
      slot.SetNull();
      break;
    default: {
      const char* text = static_cast<const char*>(sqlite3_value_blob(cell));
      const auto bytes = text ? static_cast<size_t>(sqlite3_value_bytes(cell)) : 0;
      const std::string_view read(text ? text : "", bytes);
      std::string& value = slot.TextInPlace();
      // Fixed-length text comes back padded, as the host server pads it;
      // sized once, so the padding does not reallocate.
      if (how.pad_to > 0) {
        const auto size = static_cast<size_t>(how.pad_to);
        const size_t length = Utf8Length(read);
        value.reserve(std::max(bytes, size + bytes - std::min(bytes, length)));
        value.assign(read);
        if (length < size) value.append(size - length, ' ');
      } else {
        AssignText(value, read);
      }
      if (note) {
        note->any_text = true;
        // A text has no more characters than bytes.
        if (bytes > note->longest) note->longest = std::max(note->longest, Utf8Length(read));
      }
    }
  }
}

// Expression columns: the type the values read had.
void NarrowTypes(const std::vector<ColumnReading>& reading, std::vector<FieldInfo>& fields) {
  for (size_t i = 0; i < reading.size() && i < fields.size(); ++i) {
    if (!reading[i].seen) continue;
    FieldInfo& field = fields[i];
    const ColumnSeen& note = *reading[i].seen;
    if (note.any_text && !note.any_int && !note.any_double) {
      field.type = DataType::kVarChar;
      field.defined_size = static_cast<int32_t>(std::max<size_t>(note.longest, 1));
    } else if (note.any_double && !note.any_text) {
      field.type = DataType::kDouble;
    } else if (note.any_int && !note.any_text) {
      field.type = note.wide_int ? DataType::kBigInt : DataType::kInteger;
    }
  }
}

}  // namespace

void SqliteDriver::RunSql(const std::string& sql, const Params& params,
                          std::vector<ResultSet>& results) {
  size_t pos = 0;
  while (pos < sql.size()) {
    const std::string rest = pos == 0 ? sql : sql.substr(pos);
    std::unique_ptr<CachedStatement> statement = TakeStatement(rest);
    pos += statement->consumed;
    if (!statement->stmt) break;
    // Back into the cache however this ends.
    struct Return {
      SqliteDriver* driver;
      std::unique_ptr<CachedStatement>& statement;
      ~Return() { driver->ReturnStatement(std::move(statement)); }
    } give_back{this, statement};
    if (statement->consumed == 0) break;
    sqlite3_stmt* stmt = statement->stmt.get();
    Bind(*statement, params);
    int rc = sqlite3_step(stmt);
    // A table dropped and made anew since the statement was cached (a "##"
    // table of the same name, say) may have other columns now.
    if (sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0) != statement->reprepares) {
      Describe(*statement);
    }
    const int columns = sqlite3_column_count(stmt);
    ResultSet result;
    if (columns > 0) {
      result.fields = statement->fields;
      // What the values of each expression column were, noted as they are
      // read (not in a second walk over the rows): its type follows them.
      std::vector<ColumnSeen> seen(static_cast<size_t>(columns));
      std::vector<ColumnReading> reading(static_cast<size_t>(columns));
      for (size_t i = 0; i < static_cast<size_t>(columns); ++i) {
        ColumnReading& how = reading[i];
        how.boolean = statement->boolean[i];
        how.seen = statement->derive_type[i] ? &seen[i] : nullptr;
        const FieldInfo& field = result.fields[i];
        if (field.IsFixedText() && field.defined_size > 0) how.pad_to = field.defined_size;
      }
      if (sink_ && &results == streamed_) {
        // Straight to the sink, the results before it first: one row of
        // values, its texts refilled in place.
        FlushToSink(results);
        ++sink_results_;
        sink_->BeginResult(result.fields, -1);
        std::vector<Value> row(static_cast<size_t>(columns));
        for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
          for (int i = 0; i < columns; ++i) {
            ReadCell(sqlite3_column_value(stmt, i), reading[static_cast<size_t>(i)],
                     row[static_cast<size_t>(i)]);
          }
          sink_->Row(row);
        }
        if (rc != SQLITE_DONE) Fail(rc);
        NarrowTypes(reading, result.fields);
        sink_->EndResult(result.fields);
        continue;
      }
      result.rows.reserve(statement->last_rows);
      // Rows are sized in steps of four values, so that an in-memory
      // recordset taking them over with a field or two more keeps their
      // storage (Recordset::AppendRows).
      const size_t capacity = (static_cast<size_t>(columns) + 3) & ~size_t{3};
      for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
        std::vector<Value> row;
        row.reserve(capacity);
        for (int i = 0; i < columns; ++i) {
          // One locked call per column: the sqlite3_value_* reads that
          // follow take no lock, and this statement is only ever stepped
          // by the driver's own thread.
          ReadCell(sqlite3_column_value(stmt, i), reading[static_cast<size_t>(i)],
                   row.emplace_back());
        }
        result.rows.push_back(std::move(row));
      }
      if (rc != SQLITE_DONE) Fail(rc);
      statement->last_rows = result.rows.size();
      NarrowTypes(reading, result.fields);
      results.push_back(std::move(result));
    } else {
      while (rc == SQLITE_ROW) rc = sqlite3_step(stmt);
      if (rc != SQLITE_DONE) Fail(rc);
      if (statement->changes_data) {
        result.records_affected = sqlite3_changes64(db_);
        results.push_back(std::move(result));
      }
    }
  }
}

Value SqliteDriver::EvaluateScalar(const std::string& sql, const Params& params) {
  std::vector<ResultSet> results;
  RunSql(sql, params, results);
  for (const ResultSet& result : results) {
    if (!result.fields.empty()) {
      return result.rows.empty() || result.rows[0].empty() ? Value::Null() : result.rows[0][0];
    }
  }
  return Value::Null();
}

// ---------------------------------------------------------------------------
// Routines

void SqliteDriver::LoadRoutines() {
  for (const Step::Routine& routine : RoutineStore(db_).LoadAll()) {
    if (routines_.count(Lower(routine.name)) == 0) AddRoutine(routine);
  }
}

void SqliteDriver::AddRoutine(const Step::Routine& definition) {
  auto routine = std::make_unique<Routine>();
  routine->definition = definition;
  for (const std::string& type : definition.param_types) {
    routine->types.push_back(DeclaredType::Parse(type));
  }
  if (definition.type == Step::Routine::Type::kTableFunction) {
    routine->module_registered = TableFunctionModule::Register(
        db_, definition, [this](const Step::Routine& r) { return CompileFunctionBody(r); });
    if (!routine->module_registered) Fail(sqlite3_errcode(db_));
  }
  routines_[Lower(definition.name)] = std::move(routine);
}

const SqliteDriver::Routine* SqliteDriver::FindRoutine(std::string_view name) {
  const std::string key = Lower(BareName(name));
  auto it = routines_.find(key);
  if (it == routines_.end()) {
    LoadRoutines();  // another connection may have created it
    it = routines_.find(key);
  }
  return it == routines_.end() ? nullptr : it->second.get();
}

bool SqliteDriver::IsTableFunction(std::string_view name) const {
  auto it = routines_.find(Lower(BareName(name)));
  if (it == routines_.end()) {
    // The translator asks during Translate; a function made by another
    // connection since this one opened is learnt here.
    try {
      const_cast<SqliteDriver*>(this)->LoadRoutines();
    } catch (const DbError&) {
      return false;
    }
    it = routines_.find(Lower(BareName(name)));
  }
  return it != routines_.end() &&
         it->second->definition.type == Step::Routine::Type::kTableFunction;
}

const Step::Routine* SqliteDriver::TableFunction(std::string_view name) const {
  if (!IsTableFunction(name)) return nullptr;
  return &routines_.find(Lower(BareName(name)))->second->definition;
}

std::string SqliteDriver::ColumnType(std::string_view table, std::string_view column) const {
  const char* declared = nullptr;
  if (sqlite3_table_column_metadata(db_, nullptr, std::string(table).c_str(),
                                    std::string(column).c_str(), &declared, nullptr, nullptr,
                                    nullptr, nullptr) != SQLITE_OK ||
      declared == nullptr) {
    return {};
  }
  return declared;
}

bool SqliteDriver::IsRowKey(std::string_view table, const std::vector<std::string>& columns) const {
  const std::string name(table);
  // "rowid" must name the row: the table's own row id or its INTEGER PRIMARY
  // KEY (a table without row id fails here unless such a column is its key).
  const char* rowid_type = nullptr;
  int rowid_key = 0;
  if (sqlite3_table_column_metadata(db_, "main", name.c_str(), "rowid", &rowid_type, nullptr,
                                    nullptr, &rowid_key, nullptr) != SQLITE_OK ||
      rowid_type == nullptr || !EqualsIgnoreCase(rowid_type, "INTEGER") || rowid_key == 0) {
    return false;
  }
  auto rows = [this](const std::string& pragma, auto&& row) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, pragma.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      sqlite3_finalize(raw);
      return;
    }
    while (sqlite3_step(raw) == SQLITE_ROW && row(raw)) {
    }
    sqlite3_finalize(raw);
  };
  auto text = [](sqlite3_stmt* stmt, int column) {
    const unsigned char* value = sqlite3_column_text(stmt, column);
    return value == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(value));
  };
  auto quoted = [](const std::string& s) {
    std::string out = "\"";
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
  };
  std::vector<std::string> unique;
  // index_list: seq, name, unique, origin, partial.
  rows("PRAGMA main.index_list(" + quoted(name) + ")", [&](sqlite3_stmt* stmt) {
    if (sqlite3_column_int(stmt, 2) == 1 && sqlite3_column_int(stmt, 4) == 0) {
      unique.push_back(text(stmt, 1));
    }
    return true;
  });
  for (const std::string& index : unique) {
    bool covered = true;
    int keys = 0;
    // index_xinfo: seqno, cid, name, desc, coll, key.
    rows("PRAGMA main.index_xinfo(" + quoted(index) + ")", [&](sqlite3_stmt* stmt) {
      if (sqlite3_column_int(stmt, 5) == 0) return true;
      ++keys;
      const std::string column = text(stmt, 2);
      const char* collation = nullptr;
      if (sqlite3_column_int(stmt, 1) < 0 ||
          std::none_of(columns.begin(), columns.end(),
                       [&](const std::string& c) { return EqualsIgnoreCase(c, column); }) ||
          sqlite3_table_column_metadata(db_, "main", name.c_str(), column.c_str(), nullptr,
                                        &collation, nullptr, nullptr, nullptr) != SQLITE_OK ||
          collation == nullptr || !EqualsIgnoreCase(collation, text(stmt, 4))) {
        covered = false;
      }
      return covered;
    });
    if (covered && keys > 0) return true;
  }
  return false;
}

bool SqliteDriver::IsNotNull(std::string_view table, std::string_view column) const {
  int not_null = 0;
  return sqlite3_table_column_metadata(db_, "main", std::string(table).c_str(),
                                       std::string(column).c_str(), nullptr, nullptr, &not_null,
                                       nullptr, nullptr) == SQLITE_OK &&
         not_null != 0;
}

std::string SqliteDriver::CompileFunctionBody(const Step::Routine& routine) {
  std::shared_ptr<const Translation> translation = translate_(routine.body, nullptr);
  if (translation->steps.size() != 1 || translation->steps[0].kind != Step::Kind::kStatement ||
      !translation->steps[0].returns_rows) {
    throw DriverError("The body of table function '" + routine.name + "' is not a single SELECT.");
  }
  return translation->steps[0].sql;
}

std::vector<ParameterInfo> SqliteDriver::DescribeProcedure(std::string_view name) {
  const Routine* routine = FindRoutine(name);
  if (!routine || routine->definition.type != Step::Routine::Type::kProcedure) {
    throw DriverError("Could not find stored procedure '" + std::string(name) + "'.");
  }
  std::vector<ParameterInfo> params;
  for (size_t i = 0; i < routine->definition.params.size(); ++i) {
    ParameterInfo info;
    info.name = routine->definition.params[i];
    info.type = routine->types[i].type;
    info.size = routine->types[i].size;
    params.push_back(std::move(info));
  }
  return params;
}

std::vector<ResultSet> SqliteDriver::ExecuteProcedure(std::string_view name,
                                                      const std::vector<ParameterInfo>& params,
                                                      const std::vector<Value>& values,
                                                      int32_t timeout_seconds) {
  std::vector<std::pair<std::string, Value>> args;
  for (size_t i = 0; i < params.size() && i < values.size(); ++i) {
    if (params[i].direction == ParameterDirection::kReturnValue) continue;
    args.emplace_back(params[i].name, values[i]);
  }
  struct DeadlineReset {
    int64_t& deadline;
    ~DeadlineReset() { deadline = 0; }
  } reset{deadline_ns_};
  deadline_ns_ = timeout_seconds > 0 ? NowNs() + int64_t{timeout_seconds} * 1'000'000'000 : 0;
  std::vector<ResultSet> results;
  RunProcedure(name, args, results, 1);
  if (results.empty()) {
    ResultSet none;
    none.records_affected = 0;
    results.push_back(std::move(none));
  }
  return results;
}

void SqliteDriver::RunProcedure(std::string_view name,
                                const std::vector<std::pair<std::string, Value>>& args,
                                std::vector<ResultSet>& results, int depth) {
  if (depth > kMaxNesting) {
    throw DriverError(
        "Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).");
  }
  const Routine* routine = FindRoutine(name);
  if (!routine || routine->definition.type != Step::Routine::Type::kProcedure) {
    throw DriverError("Could not find stored procedure '" + std::string(name) + "'.");
  }
  const Step::Routine& definition = routine->definition;
  std::vector<std::optional<Value>> bound(definition.params.size());
  size_t positional = 0;
  for (const auto& [arg_name, value] : args) {
    size_t index = definition.params.size();
    if (arg_name.empty()) {
      index = positional++;
      if (index >= definition.params.size()) {
        throw DriverError("Procedure or function " + definition.name +
                          " has too many arguments specified.");
      }
    } else {
      for (size_t i = 0; i < definition.params.size(); ++i) {
        if (EqualsIgnoreCase(definition.params[i], arg_name)) index = i;
      }
      if (index == definition.params.size()) {
        throw DriverError(arg_name + " is not a parameter for procedure " + definition.name + ".");
      }
    }
    bound[index] = CoerceParameter(value, routine->types[index]);
  }
  Params params;
  for (size_t i = 0; i < definition.params.size(); ++i) {
    if (!bound[i]) {
      throw DriverError("Procedure or function '" + definition.name + "' expects parameter '" +
                        definition.params[i] + "', which was not supplied.");
    }
    params.emplace_back(definition.params[i], std::move(*bound[i]));
  }
  // The translator caches by text, so the body is translated once. A
  // procedure that fails part-way leaves nothing done: its statements
  // (typically a DELETE and the INSERT that refills the rows) land together.
  std::shared_ptr<const Translation> body = translate_(definition.body, nullptr);
  RunInSavepoint(body->steps, params, results, depth);
}

// ---------------------------------------------------------------------------
// Transactions

void SqliteDriver::BeginTransaction() {
  if (InTransaction()) throw DriverError("A transaction is already active on this connection.");
  // Deferred, as the host server's BEGIN TRAN locks nothing yet: IMMEDIATE
  // would also take the write lock of the shared tempdb and block every other
  // connection's "##" tables for the whole transaction.
  ExecSimple("BEGIN");
}

void SqliteDriver::CommitTransaction() {
  if (!InTransaction()) throw DriverError("No transaction is active on this connection.");
  ExecSimple("COMMIT");
}

void SqliteDriver::RollbackTransaction() {
  if (!InTransaction()) throw DriverError("No transaction is active on this connection.");
  ExecSimple("ROLLBACK");
}

bool SqliteDriver::InTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

void SqliteDriver::Savepoint(const std::string& name) {
  if (!InTransaction()) throw DriverError("No transaction is active on this connection.");
  ExecSimple(("SAVEPOINT " + QuoteIdentifier(name)).c_str());
}

void SqliteDriver::ReleaseSavepoint(const std::string& name) {
  ExecSimple(("RELEASE " + QuoteIdentifier(name)).c_str());
}

void SqliteDriver::RollbackToSavepoint(const std::string& name) {
  // ROLLBACK TO keeps the mark; the release pops it as the host server does.
  ExecSimple(("ROLLBACK TO " + QuoteIdentifier(name)).c_str());
  ExecSimple(("RELEASE " + QuoteIdentifier(name)).c_str());
}

}  // namespace orv::db::sqlite
