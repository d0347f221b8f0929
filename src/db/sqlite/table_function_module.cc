#include "db/sqlite/table_function_module.h"

#include <sqlite3.h>

#include <cctype>
#include <memory>
#include <set>
#include <vector>

#include "db/db_error.h"
#include "db/sqlite/sqlite_handles.h"

namespace orv::db::sqlite {
namespace {

struct FunctionDefinition {
  Step::Routine routine;
  TableFunctionModule::BodyCompiler compiler;
};

struct FunctionTable {
  sqlite3_vtab base{};  // first member: SQLite sees a sqlite3_vtab*
  sqlite3* db = nullptr;
  const FunctionDefinition* definition = nullptr;
  std::string sql;         // the compiled body
  int result_columns = 0;  // the hidden argument columns follow these
};

struct FunctionCursor {
  sqlite3_vtab_cursor base{};
  StatementPtr stmt;
  std::vector<int> param_index;  // per argument: its parameter number in stmt (0 = unused)
  std::vector<sqlite3_value*> args;
  bool eof = true;
  sqlite3_int64 rowid = 0;

  ~FunctionCursor() { ClearArgs(); }
  void ClearArgs() {
    for (sqlite3_value* v : args) sqlite3_value_free(v);
    args.clear();
  }
};

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return sqlite3_strnicmp(a.data(), b.data(), static_cast<int>(a.size())) == 0 &&
         a.size() == b.size();
}

void SetError(char** error, const std::string& message) {
  *error = sqlite3_mprintf("%s", message.c_str());
}

int Connect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char** error) {
  const auto* definition = static_cast<const FunctionDefinition*>(aux);
  auto table = std::make_unique<FunctionTable>();
  table->db = db;
  table->definition = definition;
  try {
    table->sql = definition->compiler(definition->routine);
  } catch (const DbError& e) {
    SetError(error, definition->routine.name + ": " + e.description());
    return SQLITE_ERROR;
  }
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, table->sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    SetError(error, definition->routine.name + ": " + sqlite3_errmsg(db));
    return SQLITE_ERROR;
  }
  StatementPtr stmt(raw);
  const int columns = sqlite3_column_count(stmt.get());
  if (columns == 0) {
    SetError(error, definition->routine.name + ": the function's body returns no columns");
    return SQLITE_ERROR;
  }
  table->result_columns = columns;
  std::string schema = "CREATE TABLE x(";
  std::set<std::string> used;
  for (int i = 0; i < columns; ++i) {
    std::string name = sqlite3_column_name(stmt.get(), i);
    std::string lowered;
    for (char c : name) lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // Duplicate names would make the declaration fail; the later ones get a suffix.
    std::string unique = lowered;
    for (int n = 2; used.count(unique) > 0; ++n) unique = lowered + "_" + std::to_string(n);
    if (unique != lowered) name += unique.substr(lowered.size());
    used.insert(unique);
    if (i > 0) schema += ", ";
    schema += QuoteIdentifier(name);
    if (const char* decl = sqlite3_column_decltype(stmt.get(), i)) {
      schema += " ";
      schema += decl;
    }
  }
  for (const std::string& param : definition->routine.params) {
    schema += ", " + QuoteIdentifier(param) + " HIDDEN";
  }
  schema += ")";
  if (sqlite3_declare_vtab(db, schema.c_str()) != SQLITE_OK) {
    SetError(error, definition->routine.name + ": " + sqlite3_errmsg(db));
    return SQLITE_ERROR;
  }
  *out = &table.release()->base;
  return SQLITE_OK;
}

int Disconnect(sqlite3_vtab* vtab) {
  std::unique_ptr<FunctionTable> owned(reinterpret_cast<FunctionTable*>(vtab));
  return SQLITE_OK;
}

// Every argument must come from an equality the planner can feed in; an
// argument that is not mentioned at all is NULL. A plan that cannot supply an
// argument yet (its table comes later in the join) is refused so the planner
// puts the function after the tables its arguments come from.
int BestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info) {
  auto* table = reinterpret_cast<FunctionTable*>(vtab);
  const int arg_count = static_cast<int>(table->definition->routine.params.size());
  std::vector<int> usable(arg_count, -1);
  std::vector<bool> mentioned(arg_count, false);
  for (int i = 0; i < info->nConstraint; ++i) {
    const auto& c = info->aConstraint[i];
    const int arg = c.iColumn - table->result_columns;
    if (arg < 0 || arg >= arg_count || c.op != SQLITE_INDEX_CONSTRAINT_EQ) continue;
    mentioned[arg] = true;
    if (c.usable && usable[arg] < 0) usable[arg] = i;
  }
  int mask = 0;
  int next = 1;
  for (int arg = 0; arg < arg_count; ++arg) {
    if (usable[arg] >= 0) {
      info->aConstraintUsage[usable[arg]].argvIndex = next++;
      info->aConstraintUsage[usable[arg]].omit = 1;
      mask |= 1 << arg;
    } else if (mentioned[arg]) {
      return SQLITE_CONSTRAINT;
    }
  }
  info->idxNum = mask;
  info->estimatedCost = 10;
  info->estimatedRows = 10;
  return SQLITE_OK;
}

int Open(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
  *out = &std::make_unique<FunctionCursor>().release()->base;  // SQLite holds it until Close
  return SQLITE_OK;
}

int Close(sqlite3_vtab_cursor* cursor) {
  std::unique_ptr<FunctionCursor> owned(reinterpret_cast<FunctionCursor*>(cursor));
  return SQLITE_OK;
}

int StepCursor(FunctionCursor* cursor, sqlite3_vtab* vtab) {
  const int rc = sqlite3_step(cursor->stmt.get());
  if (rc == SQLITE_ROW) {
    cursor->eof = false;
    ++cursor->rowid;
    return SQLITE_OK;
  }
  cursor->eof = true;
  if (rc == SQLITE_DONE) return SQLITE_OK;
  auto* table = reinterpret_cast<FunctionTable*>(vtab);
  sqlite3_free(vtab->zErrMsg);
  vtab->zErrMsg = sqlite3_mprintf("%s", sqlite3_errmsg(table->db));
  return rc;
}

int Filter(sqlite3_vtab_cursor* base, int mask, const char*, int argc, sqlite3_value** argv) {
  auto* cursor = reinterpret_cast<FunctionCursor*>(base);
  auto* table = reinterpret_cast<FunctionTable*>(base->pVtab);
  const std::vector<std::string>& params = table->definition->routine.params;
  if (!cursor->stmt) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(table->db, table->sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
      sqlite3_free(base->pVtab->zErrMsg);
      base->pVtab->zErrMsg = sqlite3_mprintf("%s", sqlite3_errmsg(table->db));
      return SQLITE_ERROR;
    }
    cursor->stmt.reset(raw);
    // Host parameter names compare without regard to case.
    cursor->param_index.assign(params.size(), 0);
    const int count = sqlite3_bind_parameter_count(raw);
    for (int p = 1; p <= count; ++p) {
      const char* name = sqlite3_bind_parameter_name(raw, p);
      if (!name) continue;
      for (size_t a = 0; a < params.size(); ++a) {
        if (EqualsNoCase(name, params[a])) cursor->param_index[a] = p;
      }
    }
  }
  sqlite3_stmt* stmt = cursor->stmt.get();
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  cursor->ClearArgs();
  int next = 0;
  for (size_t a = 0; a < params.size(); ++a) {
    sqlite3_value* value = nullptr;
    if ((mask & (1 << a)) != 0 && next < argc) value = argv[next++];
    cursor->args.push_back(value ? sqlite3_value_dup(value) : nullptr);
    if (value && cursor->param_index[a] > 0) {
      sqlite3_bind_value(stmt, cursor->param_index[a], value);
    }
  }
  cursor->rowid = 0;
  return StepCursor(cursor, base->pVtab);
}

int Next(sqlite3_vtab_cursor* base) {
  return StepCursor(reinterpret_cast<FunctionCursor*>(base), base->pVtab);
}

int Eof(sqlite3_vtab_cursor* base) { return reinterpret_cast<FunctionCursor*>(base)->eof; }

int Column(sqlite3_vtab_cursor* base, sqlite3_context* ctx, int column) {
  auto* cursor = reinterpret_cast<FunctionCursor*>(base);
  auto* table = reinterpret_cast<FunctionTable*>(base->pVtab);
  if (column < table->result_columns) {
    sqlite3_result_value(ctx, sqlite3_column_value(cursor->stmt.get(), column));
  } else {
    const size_t arg = static_cast<size_t>(column - table->result_columns);
    if (arg < cursor->args.size() && cursor->args[arg]) {
      sqlite3_result_value(ctx, cursor->args[arg]);
    } else {
      sqlite3_result_null(ctx);
    }
  }
  return SQLITE_OK;
}

int Rowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid) {
  *rowid = reinterpret_cast<FunctionCursor*>(base)->rowid;
  return SQLITE_OK;
}

sqlite3_module MakeModule() {
  sqlite3_module m{};
  m.iVersion = 0;
  m.xCreate = nullptr;  // eponymous only: no CREATE VIRTUAL TABLE
  m.xConnect = Connect;
  m.xBestIndex = BestIndex;
  m.xDisconnect = Disconnect;
  m.xDestroy = Disconnect;
  m.xOpen = Open;
  m.xClose = Close;
  m.xFilter = Filter;
  m.xNext = Next;
  m.xEof = Eof;
  m.xColumn = Column;
  m.xRowid = Rowid;
  return m;
}

const sqlite3_module kModule = MakeModule();

void DestroyDefinition(void* p) {
  std::unique_ptr<FunctionDefinition> owned(static_cast<FunctionDefinition*>(p));
}

}  // namespace

bool TableFunctionModule::Register(sqlite3* db, const Step::Routine& function,
                                   BodyCompiler compiler) {
  auto definition = std::make_unique<FunctionDefinition>();
  definition->routine = function;
  definition->compiler = std::move(compiler);
  // SQLite owns the definition from here, also when registration fails.
  return sqlite3_create_module_v2(db, function.name.c_str(), &kModule, definition.release(),
                                  DestroyDefinition) == SQLITE_OK;
}

}  // namespace orv::db::sqlite
