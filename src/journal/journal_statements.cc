#include "journal/journal_statements.h"

#include <cctype>

#include "db/sql_literal.h"

namespace orv::journal {
namespace {

bool IsInteger(std::string_view s) {
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  if (s.empty() || s.size() > 19) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string ValueText(const db::Value& value) {
  if (value.IsNull() || value.IsEmpty()) return "NULL";
  return db::SqlLiteral(value);
}

std::string Columns(const JournalTable& table, bool keys, bool values) {
  std::string s;
  auto add = [&](const JournalTable::Column& c) {
    if (!s.empty()) s += ", ";
    s += c.name;
  };
  if (keys) {
    for (const auto& c : table.keys) add(c);
  }
  if (values) {
    for (const auto& c : table.values) add(c);
  }
  return s;
}

std::string KeyCondition(const JournalTable& table, const RowText::Fields& key) {
  std::string s;
  for (size_t i = 0; i < table.keys.size(); ++i) {
    if (i > 0) s += " AND ";
    const std::optional<std::string> field = i < key.size() ? key[i] : std::nullopt;
    s += JournalStatements::Equals(table.keys[i].name, field, table.keys[i].text);
  }
  return s;
}

std::string EntryColumns() {
  return "FW3J_ID, FW3J_DATAORA, FW3J_LOGIN, FW3J_DITTA, FW3J_SEZIONE, FW3J_TIPOPRINC, "
         "FW3J_CODPRINC, FW3J_GESTO, FW3J_DESCR, FW3J_ID_ANNULLA, FW3J_ID_RIPETE, FW3J_STATO, "
         "FW3J_NUMRIGHE";
}

}  // namespace

std::string JournalStatements::Literal(const std::optional<std::string>& field, bool text) {
  if (!field) return "NULL";
  if (!text && IsInteger(*field)) return *field;
  return db::SqlQuote(*field);
}

std::string JournalStatements::Equals(std::string_view column,
                                      const std::optional<std::string>& field, bool text) {
  if (!field) return std::string(column) + " IS NULL";
  return std::string(column) + " = " + Literal(field, text);
}

namespace {

// " WHERE ..." of the scope's rows ("" for every row of the table).
std::string ScopeWhere(const JournalTable& table, const RowScope& scope) {
  std::string where;
  auto add = [&](const std::string& condition) {
    where += where.empty() ? " WHERE " : " AND ";
    where += condition;
  };
  if (table.has_principal() && !scope.principal.IsNone()) {
    add(std::string(table.user_column) + scope.principal.UserTest(" IS NULL", " = "));
    add(std::string(table.group_column) + scope.principal.GroupTest(" IS NULL", " = "));
  }
  for (const auto& [column, value] : scope.equals) {
    if (value.IsNull()) {
      add(db::SqlIdentifier(column) + " IS NULL");
    } else {
      add(db::SqlIdentifier(column) + " = " + ValueText(value));
    }
  }
  return where;
}

}  // namespace

std::string JournalStatements::SelectRows(const JournalTable& table, const RowScope& scope) {
  return "SELECT " + Columns(table, true, true) + " FROM " + std::string(table.name) +
         ScopeWhere(table, scope);
}

std::string JournalStatements::OrderByKey(const JournalTable& table) {
  return " ORDER BY " + Columns(table, true, false);
}

std::string JournalStatements::DeleteScope(const JournalTable& table, const RowScope& scope) {
  return "DELETE FROM " + std::string(table.name) + ScopeWhere(table, scope);
}

RowScope JournalStatements::ScopeOfKey(const JournalTable& table, const RowText::Fields& key) {
  RowScope scope;
  scope.table = table.name;
  auto field = [&](std::string_view column) -> std::optional<std::string> {
    const int i = table.KeyIndex(column);
    if (i < 0 || static_cast<size_t>(i) >= key.size()) return std::nullopt;
    return key[static_cast<size_t>(i)];
  };
  if (table.has_principal()) {
    const auto user = field(table.user_column);
    const auto group = field(table.group_column);
    if (user && IsInteger(*user)) {
      scope.principal = store::Principal::User(std::stoll(*user));
    } else if (group && IsInteger(*group)) {
      scope.principal = store::Principal::Group(std::stoll(*group));
    }
  }
  if (!table.company_column.empty()) {
    const auto company = field(table.company_column);
    if (company && IsInteger(*company)) {
      scope.Where(std::string(table.company_column), db::Value(std::stoll(*company)));
    }
  }
  if (!table.has_principal()) {
    // A settings row: read it alone.
    for (size_t i = 0; i < table.keys.size() && i < key.size(); ++i) {
      scope.Where(std::string(table.keys[i].name), key[i] ? db::Value(*key[i]) : db::Value::Null());
    }
  }
  return scope;
}

std::string JournalStatements::InsertRows(
    const JournalTable& table, std::span<const std::pair<RowText::Fields, RowText::Fields>> rows) {
  std::string s =
      "INSERT INTO " + std::string(table.name) + " (" + Columns(table, true, true) + ") VALUES ";
  bool first_row = true;
  for (const auto& [key, values] : rows) {
    s += first_row ? "(" : ", (";
    first_row = false;
    bool first = true;
    auto add = [&](const std::optional<std::string>& field, bool text) {
      if (!first) s += ", ";
      first = false;
      s += Literal(field, text);
    };
    for (size_t i = 0; i < table.keys.size(); ++i) {
      add(i < key.size() ? key[i] : std::nullopt, table.keys[i].text);
    }
    for (size_t i = 0; i < table.values.size(); ++i) {
      add(i < values.size() ? values[i] : std::nullopt, table.values[i].text);
    }
    s += ")";
  }
  return s;
}

std::string JournalStatements::DeleteRows(const JournalTable& table,
                                          std::span<const RowText::Fields> keys) {
  std::string s = "DELETE FROM " + std::string(table.name) + " WHERE ";
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) s += " OR ";
    s += "(" + KeyCondition(table, keys[i]) + ")";
  }
  return s;
}

std::string JournalStatements::UpdateRow(const JournalTable& table, const RowText::Fields& key,
                                         const RowText::Fields& values) {
  std::string s = "UPDATE " + std::string(table.name) + " SET ";
  for (size_t i = 0; i < table.values.size(); ++i) {
    if (i > 0) s += ", ";
    s += std::string(table.values[i].name) + " = " +
         Literal(i < values.size() ? values[i] : std::nullopt, table.values[i].text);
  }
  return s + " WHERE " + KeyCondition(table, key);
}

std::string JournalStatements::SelectProbe() {
  return "SELECT TOP 1 FW3J_ID, FW3K_ID_FW3J FROM FW3J_GIORNALEREVOKE "
         "LEFT JOIN FW3K_IMMAGINIREVOKE ON FW3K_ID_FW3J = FW3J_ID";
}

namespace {

constexpr std::string_view kInsertImages =
    "INSERT INTO FW3K_IMMAGINIREVOKE (FW3K_ID_FW3J, FW3K_PROG, FW3K_TABELLA, FW3K_NUMRIGHE, "
    "FW3K_IMMAGINI) VALUES ";

// "(entry, sequence, table, count, text)" of one page.
void AppendPage(std::string& s, std::string_view entry, int64_t sequence, const ImagePage& page) {
  s += '(';
  s += entry;
  s += ", ";
  s += std::to_string(sequence);
  s += ", ";
  s += db::SqlQuote(page.table);
  s += ", ";
  s += std::to_string(page.count);
  s += ", ";
  s += db::SqlQuote(page.text);
  s += ')';
}

// The insert of an entry's first page after the entry's own insert in one
// batch: the entry is the identity the batch made last (the pages' table
// has none of its own).
std::string InsertFirstPage(const ImagePage& page) {
  std::string s = "; ";
  s += kInsertImages;
  AppendPage(s, "SCOPE_IDENTITY()", 1, page);
  return s;
}

}  // namespace

std::string JournalStatements::InsertEntry(const JournalEntry& e, const ImagePage* page) {
  auto id_or_null = [](int64_t id) { return id == 0 ? std::string("NULL") : std::to_string(id); };
  return "INSERT INTO FW3J_GIORNALEREVOKE (FW3J_DATAORA, FW3J_LOGIN, FW3J_DITTA, FW3J_SEZIONE, "
         "FW3J_TIPOPRINC, FW3J_CODPRINC, FW3J_GESTO, FW3J_DESCR, FW3J_ID_ANNULLA, "
         "FW3J_ID_RIPETE, FW3J_STATO, FW3J_NUMRIGHE) VALUES (" +
         db::SqlQuote(e.when) + ", " + db::SqlQuote(e.login) + ", " + std::to_string(e.company) +
         ", " + std::to_string(e.section) + ", " + db::SqlQuote(e.principal_kind) + ", " +
         std::to_string(e.principal_id) + ", " + db::SqlQuote(GestureCode(e.kind)) + ", " +
         db::SqlQuote(e.summary) + ", " + id_or_null(e.undo_of) + ", " + id_or_null(e.redo_of) +
         ", " + (e.undone ? "1" : "0") + ", " + std::to_string(e.image_count) +
         "); SELECT SCOPE_IDENTITY() AS FW3J_ID" +
         (page == nullptr ? std::string() : InsertFirstPage(*page));
}

std::string JournalStatements::InsertImages(size_t pages) {
  std::string s(kInsertImages);
  for (size_t i = 0; i < pages; ++i) s += i > 0 ? ", (?, ?, ?, ?, ?)" : "(?, ?, ?, ?, ?)";
  return s;
}

void JournalStatements::AppendImageValues(std::vector<db::Value>& values, int64_t entry_id,
                                          int64_t sequence, ImagePage&& page) {
  values.emplace_back(entry_id);
  values.emplace_back(sequence);
  values.emplace_back(std::move(page.table));
  values.emplace_back(page.count);
  values.emplace_back(std::move(page.text));
}

std::string JournalStatements::SetUndone(int64_t entry_id, bool undone) {
  return "UPDATE FW3J_GIORNALEREVOKE SET FW3J_STATO = " + std::string(undone ? "1" : "0") +
         " WHERE FW3J_ID = " + std::to_string(entry_id);
}

std::string JournalStatements::SelectEntries(const JournalFilter& f) {
  std::string s = "SELECT ";
  if (f.limit > 0) s += "TOP " + std::to_string(f.limit) + " ";
  s += EntryColumns() + " FROM FW3J_GIORNALEREVOKE";
  std::string where;
  auto add = [&](const std::string& condition) {
    where += where.empty() ? " WHERE " : " AND ";
    where += condition;
  };
  if (!f.principal_kind.empty()) add("FW3J_TIPOPRINC = " + db::SqlQuote(f.principal_kind));
  if (f.principal_id) add("FW3J_CODPRINC = " + std::to_string(*f.principal_id));
  if (f.section) add("FW3J_SEZIONE = " + std::to_string(*f.section));
  if (!f.login.empty()) add("FW3J_LOGIN = " + db::SqlQuote(f.login));
  // Always with a time: a day alone would read as a number on an engine
  // that gives the column numeric affinity.
  if (!f.from.empty()) {
    add("FW3J_DATAORA >= " + db::SqlQuote(f.from.size() <= 8 ? f.from + " 00:00:00" : f.from));
  }
  if (!f.to.empty()) {
    // A day alone takes in the whole day.
    add("FW3J_DATAORA <= " + db::SqlQuote(f.to.size() <= 8 ? f.to + " 23:59:59" : f.to));
  }
  return s + where + " ORDER BY FW3J_ID DESC";
}

std::string JournalStatements::SelectEntry(int64_t entry_id) {
  return "SELECT " + EntryColumns() +
         " FROM FW3J_GIORNALEREVOKE WHERE FW3J_ID = " + std::to_string(entry_id);
}

std::string JournalStatements::SelectImages(int64_t entry_id) {
  return "SELECT FW3K_TABELLA, FW3K_IMMAGINI FROM FW3K_IMMAGINIREVOKE "
         "WHERE FW3K_ID_FW3J = " +
         std::to_string(entry_id) + " ORDER BY FW3K_PROG";
}

}  // namespace orv::journal
