#include "db/odbc/odbc_driver.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "db/ascii.h"
#include "db/db_error.h"

namespace orv::db::odbc {
namespace {

template <SQLSMALLINT kType>
struct HandleDeleter {
  void operator()(SQLHANDLE h) const {
    if (h != SQL_NULL_HANDLE) SQLFreeHandle(kType, h);
  }
};
using EnvHandle = std::unique_ptr<void, HandleDeleter<SQL_HANDLE_ENV>>;
using DbcHandle = std::unique_ptr<void, HandleDeleter<SQL_HANDLE_DBC>>;
using StmtHandle = std::unique_ptr<void, HandleDeleter<SQL_HANDLE_STMT>>;

bool Ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

void ReplaceAll(std::string& text, const std::string& what) {
  if (what.empty()) return;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 3)) {
    text.replace(at, what.size(), "***");
  }
}

// The diagnostics of a handle as driver messages, with `secret` blanked out.
std::vector<DriverMessage> Diagnostics(SQLSMALLINT type, SQLHANDLE handle,
                                       const std::string& secret) {
  std::vector<DriverMessage> out;
  if (handle == SQL_NULL_HANDLE) return out;
  for (SQLSMALLINT i = 1;; ++i) {
    SQLCHAR state[6] = {0};
    SQLINTEGER native = 0;
    SQLCHAR text[1024] = {0};
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetDiagRec(type, handle, i, state, &native, text, sizeof text, &length);
    if (!Ok(rc)) break;
    DriverMessage m;
    m.number = native;
    m.sql_state = reinterpret_cast<const char*>(state);
    m.description = reinterpret_cast<const char*>(text);
    ReplaceAll(m.description, secret);
    m.source = "ODBC";
    out.push_back(std::move(m));
  }
  return out;
}

[[noreturn]] void Throw(SQLSMALLINT type, SQLHANDLE handle, const std::string& what,
                        const std::string& secret) {
  auto messages = Diagnostics(type, handle, secret);
  std::string description = what;
  int64_t number = kErrProvider;
  if (!messages.empty()) {
    description += ": " + messages.front().description;
    if (messages.front().number != 0) number = messages.front().number;
  }
  throw DbError(number, description, std::move(messages));
}

DataType TypeOf(SQLSMALLINT sql_type) {
  switch (sql_type) {
    case SQL_SMALLINT:
    case SQL_TINYINT:
      return DataType::kSmallInt;
    case SQL_INTEGER:
      return DataType::kInteger;
    case SQL_BIGINT:
      return DataType::kBigInt;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return DataType::kDouble;
    case SQL_DECIMAL:
      return DataType::kDecimal;
    case SQL_NUMERIC:
      return DataType::kNumeric;
    case SQL_BIT:
      return DataType::kBoolean;
    case SQL_CHAR:
      return DataType::kChar;
    case SQL_WCHAR:
      return DataType::kWChar;
    case SQL_VARCHAR:
      return DataType::kVarChar;
    case SQL_WVARCHAR:
      return DataType::kVarWChar;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
      return DataType::kLongVarChar;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIMESTAMP:
    case SQL_TYPE_TIME:
      return DataType::kDate;
    default:
      return DataType::kVariant;
  }
}

bool IsIntegerType(DataType t) {
  return t == DataType::kSmallInt || t == DataType::kInteger || t == DataType::kBigInt;
}
bool IsDecimalType(DataType t) {
  return t == DataType::kDouble || t == DataType::kDecimal || t == DataType::kNumeric;
}

}  // namespace

struct OdbcDriver::Impl {
  EnvHandle env;
  DbcHandle dbc;
  bool in_transaction = false;
  std::string secret;
  std::string dbms_name;  // SQL_DBMS_NAME, e.g. "Microsoft SQL Server"

  StmtHandle NewStatement(int32_t timeout_seconds) {
    SQLHANDLE h = SQL_NULL_HANDLE;
    if (!Ok(SQLAllocHandle(SQL_HANDLE_STMT, dbc.get(), &h))) {
      Throw(SQL_HANDLE_DBC, dbc.get(), "Cannot allocate a statement", secret);
    }
    StmtHandle stmt(h);
    // Not every driver supports a time-out; a failure to set it is not fatal.
    SQLSetStmtAttr(h, SQL_ATTR_QUERY_TIMEOUT,
                   reinterpret_cast<SQLPOINTER>(
                       static_cast<SQLULEN>(timeout_seconds > 0 ? timeout_seconds : 0)),
                   0);
    return stmt;
  }

  // Reads one column of the current row.
  Value ReadValue(SQLHSTMT stmt, SQLUSMALLINT column, DataType type) {
    SQLLEN indicator = 0;
    if (IsIntegerType(type)) {
      SQLBIGINT v = 0;
      Check(stmt, SQLGetData(stmt, column, SQL_C_SBIGINT, &v, sizeof v, &indicator));
      return indicator == SQL_NULL_DATA ? Value::Null() : Value(static_cast<int64_t>(v));
    }
    if (IsDecimalType(type)) {
      SQLDOUBLE v = 0;
      Check(stmt, SQLGetData(stmt, column, SQL_C_DOUBLE, &v, sizeof v, &indicator));
      return indicator == SQL_NULL_DATA ? Value::Null() : Value(static_cast<double>(v));
    }
    if (type == DataType::kBoolean) {
      unsigned char v = 0;
      Check(stmt, SQLGetData(stmt, column, SQL_C_BIT, &v, sizeof v, &indicator));
      return indicator == SQL_NULL_DATA ? Value::Null() : Value(v != 0);
    }
    // Everything else as text, read in pieces (long values come in parts).
    std::string text;
    char buf[4096];
    while (true) {
      const SQLRETURN rc = SQLGetData(stmt, column, SQL_C_CHAR, buf, sizeof buf, &indicator);
      if (rc == SQL_NO_DATA) break;
      Check(stmt, rc);
      if (indicator == SQL_NULL_DATA) return Value::Null();
      if (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(sizeof buf)) {
        text.append(buf, sizeof buf - 1);  // a full piece, less its terminator
        if (rc == SQL_SUCCESS) break;
      } else {
        text.append(buf, static_cast<size_t>(indicator));
        break;
      }
    }
    return Value(std::move(text));
  }

  void Check(SQLHSTMT stmt, SQLRETURN rc) {
    if (!Ok(rc)) Throw(SQL_HANDLE_STMT, stmt, "ODBC call failed", secret);
  }

  // Every result of an executed statement, in order.
  std::vector<ResultSet> Collect(SQLHSTMT stmt, SQLRETURN rc) {
    std::vector<ResultSet> results;
    while (true) {
      if (rc == SQL_NO_DATA) {
        // A statement that touched no rows.
        ResultSet r;
        r.records_affected = 0;
        results.push_back(std::move(r));
      } else {
        Check(stmt, rc);
        results.push_back(ReadResult(stmt));
      }
      rc = SQLMoreResults(stmt);
      if (rc == SQL_NO_DATA) break;
      if (!Ok(rc)) Throw(SQL_HANDLE_STMT, stmt, "Statement failed", secret);
    }
    return results;
  }

  ResultSet ReadResult(SQLHSTMT stmt) {
    ResultSet result;
    SQLSMALLINT columns = 0;
    Check(stmt, SQLNumResultCols(stmt, &columns));
    if (columns == 0) {
      SQLLEN count = -1;
      SQLRowCount(stmt, &count);
      result.records_affected = count < 0 ? 0 : static_cast<int64_t>(count);
      return result;
    }
    for (SQLSMALLINT c = 1; c <= columns; ++c) {
      SQLCHAR name[256] = {0};
      SQLSMALLINT name_length = 0, sql_type = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      Check(stmt, SQLDescribeCol(stmt, static_cast<SQLUSMALLINT>(c), name, sizeof name,
                                 &name_length, &sql_type, &size, &digits, &nullable));
      FieldInfo f;
      f.name = reinterpret_cast<const char*>(name);
      f.type = TypeOf(sql_type);
      f.defined_size =
          (f.IsFixedText() || f.type == DataType::kVarChar || f.type == DataType::kVarWChar) &&
                  size < 0x7fffffff
              ? static_cast<int32_t>(size)
              : 0;
      f.nullable = nullable != SQL_NO_NULLS;
      char base[256] = {0};
      SQLSMALLINT base_length = 0;
      if (Ok(SQLColAttribute(stmt, static_cast<SQLUSMALLINT>(c), SQL_DESC_BASE_TABLE_NAME, base,
                             sizeof base, &base_length, nullptr))) {
        f.base_table = base;
      }
      std::memset(base, 0, sizeof base);
      if (Ok(SQLColAttribute(stmt, static_cast<SQLUSMALLINT>(c), SQL_DESC_BASE_COLUMN_NAME, base,
                             sizeof base, &base_length, nullptr))) {
        f.base_column = base;
      }
      result.fields.push_back(std::move(f));
    }
    while (true) {
      const SQLRETURN rc = SQLFetch(stmt);
      if (rc == SQL_NO_DATA) break;
      Check(stmt, rc);
      std::vector<Value> row;
      row.reserve(result.fields.size());
      for (size_t c = 0; c < result.fields.size(); ++c) {
        row.push_back(ReadValue(stmt, static_cast<SQLUSMALLINT>(c + 1), result.fields[c].type));
      }
      result.rows.push_back(std::move(row));
    }
    return result;
  }

  void SetAutocommit(bool on) {
    const SQLRETURN rc = SQLSetConnectAttr(dbc.get(), SQL_ATTR_AUTOCOMMIT,
                                           reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(
                                               on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                                           SQL_IS_UINTEGER);
    if (!Ok(rc)) Throw(SQL_HANDLE_DBC, dbc.get(), "Cannot change autocommit", secret);
  }

  void EndTransaction(SQLSMALLINT completion) {
    if (!in_transaction) throw DbError(kErrProvider, "No transaction is active");
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc.get(), completion);
    in_transaction = false;
    SetAutocommit(true);
    if (!Ok(rc)) Throw(SQL_HANDLE_DBC, dbc.get(), "Cannot end the transaction", secret);
  }
};

ConnectionString OdbcDriver::ToOdbc(const ConnectionString& cs) {
  ConnectionString out;
  for (const auto& [key, value] : cs.pairs()) {
    if (EqualsIgnoreCase(key, "Provider")) continue;
    if (EqualsIgnoreCase(key, "Data Source")) {
      out.Set("Server", value);
    } else if (EqualsIgnoreCase(key, "Initial Catalog")) {
      out.Set("Database", value);
    } else if (EqualsIgnoreCase(key, "User ID")) {
      out.Set("UID", value);
    } else if (EqualsIgnoreCase(key, "Password")) {
      out.Set("PWD", value);
    } else {
      out.Set(key, value);
    }
  }
  if (!out.Has("Driver") && !out.Has("DSN") && !out.Has("FILEDSN")) {
    const char* driver = std::getenv("ORV_ODBC_DRIVER");
    out.Set("Driver", driver && *driver ? driver : "FreeTDS");
  }
  return out;
}

OdbcDriver::OdbcDriver(const ConnectionString& connection_string)
    : impl_(std::make_unique<Impl>()) {
  const ConnectionString odbc = ToOdbc(connection_string);
  impl_->secret = odbc.Get("PWD");
  SQLHANDLE env = SQL_NULL_HANDLE;
  if (!Ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
    throw DbError(kErrProvider, "Cannot start the ODBC driver manager");
  }
  impl_->env.reset(env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLHANDLE dbc = SQL_NULL_HANDLE;
  if (!Ok(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
    Throw(SQL_HANDLE_ENV, env, "Cannot allocate an ODBC connection", impl_->secret);
  }
  impl_->dbc.reset(dbc);
  std::string text = odbc.ToString();
  SQLCHAR completed[1024];
  SQLSMALLINT completed_length = 0;
  const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                        static_cast<SQLSMALLINT>(text.size()), completed,
                                        sizeof completed, &completed_length, SQL_DRIVER_NOPROMPT);
  std::fill(text.begin(), text.end(), '\0');  // the password need not linger
  if (!Ok(rc)) {
    Throw(SQL_HANDLE_DBC, dbc, "Cannot connect through ODBC (" + odbc.Redacted() + ")",
          impl_->secret);
  }
  // SQL Server leaves out the row counts of a session whose NOCOUNT option
  // is on (a server's "user options" can switch it on for every login).
  // UpdateBatch tells a row changed or deleted meanwhile by a count of 0,
  // so the option is switched off for this connection.
  char dbms[128] = {0};
  SQLSMALLINT dbms_length = 0;
  if (Ok(SQLGetInfo(dbc, SQL_DBMS_NAME, dbms, sizeof dbms, &dbms_length))) {
    impl_->dbms_name = dbms;
  }
  if (impl_->dbms_name.find("SQL Server") != std::string::npos) Execute("SET NOCOUNT OFF", 0);
}

OdbcDriver::~OdbcDriver() {
  if (impl_ && impl_->dbc) {
    if (impl_->in_transaction) SQLEndTran(SQL_HANDLE_DBC, impl_->dbc.get(), SQL_ROLLBACK);
    SQLDisconnect(impl_->dbc.get());
  }
}

std::vector<ResultSet> OdbcDriver::Execute(std::string_view sql, int32_t timeout_seconds) {
  StmtHandle stmt = impl_->NewStatement(timeout_seconds);
  std::string text(sql);
  const SQLRETURN rc = SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                                     static_cast<SQLINTEGER>(text.size()));
  if (!Ok(rc) && rc != SQL_NO_DATA) {
    Throw(SQL_HANDLE_STMT, stmt.get(), "Statement failed", impl_->secret);
  }
  return impl_->Collect(stmt.get(), rc);
}

std::vector<ResultSet> OdbcDriver::Execute(std::string_view sql, const std::vector<Value>& values,
                                           int32_t timeout_seconds) {
  StmtHandle stmt = impl_->NewStatement(timeout_seconds);
  std::string text(sql);
  SQLRETURN rc = SQLPrepare(stmt.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                            static_cast<SQLINTEGER>(text.size()));
  if (!Ok(rc)) Throw(SQL_HANDLE_STMT, stmt.get(), "Statement failed", impl_->secret);
  SQLSMALLINT markers = 0;
  if (Ok(SQLNumParams(stmt.get(), &markers)) && static_cast<size_t>(markers) != values.size()) {
    throw DbError(kErrProvider, "The statement has " + std::to_string(markers) +
                                    " parameter markers (?) and " + std::to_string(values.size()) +
                                    " values were given.");
  }
  // Each value in the C type of its kind; the buffers live until the
  // statement has run.
  struct Bound {
    SQLBIGINT integer = 0;
    SQLDOUBLE decimal = 0;
    unsigned char bit = 0;
    std::string text;
    SQLLEN indicator = 0;
  };
  std::vector<Bound> bound(values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    const Value& v = values[i];
    Bound& b = bound[i];
    const auto number = static_cast<SQLUSMALLINT>(i + 1);
    SQLSMALLINT c_type = SQL_C_CHAR;
    SQLSMALLINT sql_type = SQL_VARCHAR;
    SQLULEN size = 1;
    SQLPOINTER data = nullptr;
    SQLLEN length = 0;
    switch (v.type()) {
      case Value::Type::kEmpty:
      case Value::Type::kNull:
        b.indicator = SQL_NULL_DATA;
        data = b.text.data();
        break;
      case Value::Type::kInt:
        b.integer = static_cast<SQLBIGINT>(v.AsInt());
        c_type = SQL_C_SBIGINT;
        sql_type = SQL_BIGINT;
        size = 19;
        data = &b.integer;
        length = sizeof b.integer;
        b.indicator = length;
        break;
      case Value::Type::kDecimal:
        b.decimal = v.AsDecimal();
        c_type = SQL_C_DOUBLE;
        sql_type = SQL_DOUBLE;
        size = 15;
        data = &b.decimal;
        length = sizeof b.decimal;
        b.indicator = length;
        break;
      case Value::Type::kBool:
        b.bit = v.AsBool() ? 1 : 0;
        c_type = SQL_C_BIT;
        sql_type = SQL_BIT;
        data = &b.bit;
        length = sizeof b.bit;
        b.indicator = length;
        break;
      case Value::Type::kText:
        b.text = v.AsText();
        // Declared in steps (varchar(255), varchar(8000)), not at each
        // value's length: the server keeps one plan for the text. A longer
        // text is long data (varchar(max) on the server): SQL_VARCHAR with a
        // size past 8000 is refused as an invalid precision.
        if (b.text.size() > 8000) {
          sql_type = SQL_LONGVARCHAR;
          size = b.text.size();
        } else {
          size = b.text.size() <= 255 ? 255 : 8000;
        }
        data = b.text.data();
        length = static_cast<SQLLEN>(b.text.size() + 1);
        b.indicator = static_cast<SQLLEN>(b.text.size());
        break;
    }
    impl_->Check(stmt.get(), SQLBindParameter(stmt.get(), number, SQL_PARAM_INPUT, c_type, sql_type,
                                              size, 0, data, length, &b.indicator));
  }
  rc = SQLExecute(stmt.get());
  if (!Ok(rc) && rc != SQL_NO_DATA) {
    Throw(SQL_HANDLE_STMT, stmt.get(), "Statement failed", impl_->secret);
  }
  return impl_->Collect(stmt.get(), rc);
}

std::vector<ParameterInfo> OdbcDriver::DescribeProcedure(std::string_view name) {
  std::string schema, procedure(Trim(name));
  if (const size_t dot = procedure.rfind('.'); dot != std::string::npos) {
    schema = procedure.substr(0, dot);
    procedure = procedure.substr(dot + 1);
    if (const size_t dot2 = schema.rfind('.'); dot2 != std::string::npos) {
      schema = schema.substr(dot2 + 1);  // catalog.schema.name: the catalog is the current one
    }
  }
  auto strip = [](std::string& s) {
    if (s.size() >= 2 && s.front() == '[' && s.back() == ']') s = s.substr(1, s.size() - 2);
  };
  strip(schema);
  strip(procedure);
  StmtHandle stmt = impl_->NewStatement(0);
  SQLCHAR* schema_arg = schema.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(schema.data());
  SQLRETURN rc = SQLProcedureColumns(
      stmt.get(), nullptr, 0, schema_arg, schema.empty() ? 0 : static_cast<SQLSMALLINT>(SQL_NTS),
      reinterpret_cast<SQLCHAR*>(procedure.data()), SQL_NTS, nullptr, 0);
  impl_->Check(stmt.get(), rc);
  std::vector<ParameterInfo> params;
  bool any_row = false;
  while ((rc = SQLFetch(stmt.get())) != SQL_NO_DATA) {
    impl_->Check(stmt.get(), rc);
    any_row = true;
    char column_name[256] = {0};
    SQLSMALLINT column_type = 0, data_type = 0;
    SQLINTEGER column_size = 0;
    SQLLEN ind = 0;
    SQLGetData(stmt.get(), 4, SQL_C_CHAR, column_name, sizeof column_name, &ind);
    SQLGetData(stmt.get(), 5, SQL_C_SSHORT, &column_type, sizeof column_type, &ind);
    SQLGetData(stmt.get(), 6, SQL_C_SSHORT, &data_type, sizeof data_type, &ind);
    SQLGetData(stmt.get(), 8, SQL_C_SLONG, &column_size, sizeof column_size, &ind);
    if (ind == SQL_NULL_DATA) column_size = 0;
    ParameterInfo p;
    p.name = column_name;
    p.type = TypeOf(data_type);
    p.size = column_size;
    switch (column_type) {
      case SQL_PARAM_INPUT:
        p.direction = ParameterDirection::kInput;
        break;
      case SQL_PARAM_INPUT_OUTPUT:
        p.direction = ParameterDirection::kInputOutput;
        break;
      case SQL_PARAM_OUTPUT:
        p.direction = ParameterDirection::kOutput;
        break;
      default:
        continue;  // the return value and result columns are not parameters
    }
    params.push_back(std::move(p));
  }
  if (!any_row) {
    // No parameters, or no such procedure: ask which.
    StmtHandle check = impl_->NewStatement(0);
    impl_->Check(check.get(), SQLProcedures(check.get(), nullptr, 0, schema_arg,
                                            schema.empty() ? 0 : static_cast<SQLSMALLINT>(SQL_NTS),
                                            reinterpret_cast<SQLCHAR*>(procedure.data()), SQL_NTS));
    if (SQLFetch(check.get()) == SQL_NO_DATA) {
      throw DbError(kErrProvider,
                    "Could not find stored procedure '" + std::string(Trim(name)) + "'");
    }
  }
  return params;
}

std::vector<ResultSet> OdbcDriver::ExecuteProcedure(std::string_view name,
                                                    const std::vector<ParameterInfo>& params,
                                                    const std::vector<Value>& values,
                                                    int32_t timeout_seconds) {
  StmtHandle stmt = impl_->NewStatement(timeout_seconds);
  std::string call = "{CALL " + std::string(Trim(name)) + "(";
  for (size_t i = 0; i < params.size(); ++i) call += i == 0 ? "?" : ", ?";
  call += ")}";
  // Every parameter goes as text (or NULL); the server converts. The buffers
  // live until the statement has run.
  std::vector<std::string> buffers(params.size());
  std::vector<SQLLEN> indicators(params.size());
  for (size_t i = 0; i < params.size(); ++i) {
    const Value v = i < values.size() ? values[i] : Value::Null();
    SQLSMALLINT io = SQL_PARAM_INPUT;
    if (params[i].direction == ParameterDirection::kOutput) io = SQL_PARAM_OUTPUT;
    if (params[i].direction == ParameterDirection::kInputOutput) io = SQL_PARAM_INPUT_OUTPUT;
    const bool null = v.IsNull() || v.IsEmpty();
    buffers[i] = null ? std::string()
                      : (v.type() == Value::Type::kBool ? (v.AsBool() ? "1" : "0") : v.ToText());
    if (io != SQL_PARAM_INPUT) buffers[i].resize(std::max<size_t>(buffers[i].size(), 8000));
    indicators[i] = null ? SQL_NULL_DATA : static_cast<SQLLEN>(std::strlen(buffers[i].c_str()));
    const SQLULEN column_size = params[i].size > 0 ? static_cast<SQLULEN>(params[i].size)
                                                   : std::max<SQLULEN>(buffers[i].size(), 1);
    impl_->Check(stmt.get(),
                 SQLBindParameter(stmt.get(), static_cast<SQLUSMALLINT>(i + 1), io, SQL_C_CHAR,
                                  SQL_VARCHAR, column_size, 0, buffers[i].data(),
                                  static_cast<SQLLEN>(buffers[i].size() + 1), &indicators[i]));
  }
  const SQLRETURN rc = SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(call.data()),
                                     static_cast<SQLINTEGER>(call.size()));
  if (!Ok(rc) && rc != SQL_NO_DATA) {
    Throw(SQL_HANDLE_STMT, stmt.get(), "Procedure " + std::string(Trim(name)) + " failed",
          impl_->secret);
  }
  return impl_->Collect(stmt.get(), rc);
}

void OdbcDriver::BeginTransaction() {
  if (impl_->in_transaction) throw DbError(kErrProvider, "A transaction is already active");
  impl_->SetAutocommit(false);
  impl_->in_transaction = true;
}

void OdbcDriver::CommitTransaction() { impl_->EndTransaction(SQL_COMMIT); }

void OdbcDriver::RollbackTransaction() { impl_->EndTransaction(SQL_ROLLBACK); }

bool OdbcDriver::InTransaction() const { return impl_->in_transaction; }

std::string OdbcDriver::DbmsName() const { return impl_->dbms_name; }

// The server keeps savepoints until its transaction ends: a release has
// nothing to do, and a rollback to one leaves the transaction open.
void OdbcDriver::Savepoint(const std::string& name) {
  if (!impl_->in_transaction) throw DbError(kErrProvider, "No transaction is active");
  Execute("SAVE TRANSACTION " + name, 0);
}

void OdbcDriver::ReleaseSavepoint(const std::string& /*name*/) {}

void OdbcDriver::RollbackToSavepoint(const std::string& name) {
  Execute("ROLLBACK TRANSACTION " + name, 0);
}

std::unique_ptr<Driver> OpenOdbcDriver(const ConnectionString& connection_string) {
  return std::make_unique<OdbcDriver>(connection_string);
}

}  // namespace orv::db::odbc
