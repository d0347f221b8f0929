// The profile layer on the scaled installation (scale 1: 1,000 principals,
// 1,000,000 parameter rows), each figure beside raw SQLite reading or
// writing the same rows in the same run:
//   - the effective profile of a user in 10 groups;
//   - the comparison of two principals with 10,000 rows each;
//   - where-used of one warehouse;
//   - export, import preview and import apply of a 100,000-row profile.
//
// The scaled database is built once into profile_scaled_1.db beside this
// program (ORV_PROFILE_BENCH_DB names another file); the set-up adds four
// groups (9001-9004) with their rows and puts user 500 in groups 2-11, each
// run afresh.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "bench_editor.h"
#include "db/connection.h"
#include "db/recordset.h"
#include "profile/effective_profile.h"
#include "profile/principal_directory.h"
#include "profile/profile_comparison.h"
#include "profile/profile_document.h"
#include "profile/profile_import.h"
#include "profile/profile_reader.h"
#include "profile/profile_statements.h"
#include "profile/where_used.h"

namespace {

using orv::profile::NamedPrincipal;
using orv::profile::ProfileRow;
using orv::profile::RevocationTable;
namespace profile = orv::profile;

constexpr int64_t kUser = 500;
constexpr int64_t kGroupA = 9001;       // 10,000 rows
constexpr int64_t kGroupB = 9002;       // 10,000 rows, half of them A's
constexpr int64_t kGroupBig = 9003;     // 100,000 rows
constexpr int64_t kGroupTarget = 9004;  // the import's target
constexpr size_t kBigRows = 100000;

// The host collation for raw connections: case folded, trailing blanks ignored.
int HostCi(void*, int n1, const void* p1, int n2, const void* p2) {
  const auto* a = static_cast<const unsigned char*>(p1);
  const auto* b = static_cast<const unsigned char*>(p2);
  while (n1 > 0 && a[n1 - 1] == ' ') --n1;
  while (n2 > 0 && b[n2 - 1] == ' ') --n2;
  for (int i = 0; i < n1 && i < n2; ++i) {
    const int d = std::toupper(a[i]) - std::toupper(b[i]);
    if (d != 0) return d;
  }
  return n1 - n2;
}

class Raw {
 public:
  explicit Raw(const std::string& path) {
    sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_create_collation(db_, "HOSTCI", SQLITE_UTF8, nullptr, HostCi);
  }
  ~Raw() { sqlite3_close(db_); }
  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      std::fprintf(stderr, "%s: %s\n", sql.c_str(), error);
      sqlite3_free(error);
      std::abort();
    }
  }
  // Steps through every row and column of the statement; returns the rows.
  int64_t Read(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr);
    int64_t rows = 0;
    size_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        if (sqlite3_column_type(stmt, i) == SQLITE_TEXT)
          bytes += sqlite3_column_bytes(stmt, i);
        else
          bytes += static_cast<size_t>(sqlite3_column_int(stmt, i));
      }
      ++rows;
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(bytes);
    return rows;
  }
  sqlite3* db() { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

std::string PrincipalTest(std::string_view prefix, bool group, int64_t id) {
  const std::string p(prefix);
  return group ? " WHERE " + p + "_ID_FW07 IS NULL AND " + p + "_ID_FW06 = " + std::to_string(id)
               : " WHERE " + p + "_ID_FW07 = " + std::to_string(id) + " AND " + p +
                     "_ID_FW06 IS NULL";
}

// The same rows as ProfileReader reads, in SQLite's own words.
int64_t RawProfile(Raw& raw, bool group, int64_t id) {
  int64_t rows = 0;
  for (const char* prefix : {"FW31", "FW32", "FW3H", "FW3E", "FW3N"}) {
    const std::string table = std::string(prefix) == "FW31"   ? "FW31_RVKPARAMETRI"
                              : std::string(prefix) == "FW32" ? "FW32_RVKCLIFOR"
                              : std::string(prefix) == "FW3H" ? "FW3H_RVKARTICOLI"
                              : std::string(prefix) == "FW3E" ? "FW3E_RVKDEPCOLL"
                                                              : "FW3N_RVKNODI";
    rows += raw.Read("SELECT * FROM " + table + PrincipalTest(prefix, group, id));
  }
  return rows;
}

struct Setup {
  std::string path;
  std::string connection_string;
  std::shared_ptr<orv::db::Connection> cn;
  std::vector<ProfileRow> big;
  std::string big_file;
  std::string warehouse;  // an item many principals revoke
};

std::vector<ProfileRow> CatalogueRows(orv::db::Connection& cn) {
  std::vector<ProfileRow> rows;
  auto add_parameters = [&](int32_t kind, const std::string& sql) {
    auto rs = cn.Execute(sql);
    for (; !rs->IsEof() && rows.size() < kBigRows; rs->MoveNext()) {
      ProfileRow row;
      row.table = RevocationTable::kParameters;
      row.company = rs->Field(0).ToInt32();
      row.kind = kind;
      row.code1 = rs->Field(1).ToText();
      rows.push_back(row);
    }
  };
  add_parameters(6, "SELECT MG58_DITTA_CG18, MG58_CODDEP FROM MG58_DEPOSITI");
  add_parameters(8, "SELECT PD68_DITTA_CG18, PD68_CODPROG FROM PD68_PROGETTI");
  add_parameters(15, "SELECT DISTINCT PD90_DITTA_CG18, PD90_SIMULAZIONE FROM PD90_SIMULMRP");
  add_parameters(30, "SELECT MG0F_DITTA_CG18, MG0F_CODPARAM FROM MG0F_BLMPARAM");
  auto nodes = cn.Execute("SELECT PD0C_DITTA_CG18, PD0C_CODPROG_PD68, PD0C_CODNODO FROM PD0C_NODO");
  for (; !nodes->IsEof() && rows.size() < kBigRows; nodes->MoveNext()) {
    ProfileRow row;
    row.table = RevocationTable::kNodes;
    row.company = nodes->Field(0).ToInt32();
    row.code1 = nodes->Field(1).ToText();
    row.code2 = nodes->Field(2).ToText();
    rows.push_back(row);
  }
  std::vector<std::string> warehouses;
  auto w = cn.Execute("SELECT MG58_CODDEP FROM MG58_DEPOSITI WHERE MG58_DITTA_CG18 = 1");
  for (; !w->IsEof(); w->MoveNext()) warehouses.push_back(w->Field(0).ToText());
  for (size_t i = 0; i < warehouses.size() && rows.size() < kBigRows; ++i) {
    for (size_t j = 0; j < warehouses.size() && rows.size() < kBigRows; ++j) {
      if (i == j) continue;
      ProfileRow row;
      row.table = RevocationTable::kTransfers;
      row.company = 1;
      row.code1 = warehouses[i];
      row.code2 = warehouses[j];
      rows.push_back(row);
    }
  }
  return rows;
}

void Put(orv::db::Connection& cn, int64_t group, const std::vector<ProfileRow>& rows) {
  const auto who = orv::store::Principal::Group(group);
  orv::db::Transaction transaction(cn);
  for (size_t start = 0; start < rows.size();) {
    size_t end = start + 1;
    while (end < rows.size() && end - start < 400 && rows[end].table == rows[start].table) ++end;
    cn.Execute(profile::ProfileStatements::InsertRows(
        rows[start].table, who, std::span<const ProfileRow>(rows).subspan(start, end - start)));
    start = end;
  }
  transaction.Commit();
}

Setup& Get() {
  static Setup* setup = [] {
    auto* s = new Setup;
    s->connection_string = orv::bench::ScaledInstallation("ORV_PROFILE_BENCH_DB", "profile", 1.0);
    const char* named = std::getenv("ORV_PROFILE_BENCH_DB");
    s->path = named ? named
                    : (std::filesystem::read_symlink("/proc/self/exe").parent_path() /
                       "profile_scaled_1.db")
                          .string();
    {
      Raw raw(s->path);
      for (int64_t g : {kGroupA, kGroupB, kGroupBig, kGroupTarget}) {
        raw.Exec("INSERT OR IGNORE INTO FW06_GROUPUSR (FW06_ID, FW06_CODICE, FW06_DESCR) VALUES (" +
                 std::to_string(g) + ", 'BENCH" + std::to_string(g) + "', 'Banco " +
                 std::to_string(g) + "')");
        for (const char* prefix : {"FW31", "FW32", "FW3H", "FW3E", "FW3N"}) {
          const std::string p(prefix);
          const std::string table = p == "FW31"   ? "FW31_RVKPARAMETRI"
                                    : p == "FW32" ? "FW32_RVKCLIFOR"
                                    : p == "FW3H" ? "FW3H_RVKARTICOLI"
                                    : p == "FW3E" ? "FW3E_RVKDEPCOLL"
                                                  : "FW3N_RVKNODI";
          raw.Exec("DELETE FROM " + table + PrincipalTest(prefix, true, g));
        }
      }
      for (int64_t g = 2; g <= 11; ++g) {
        raw.Exec("INSERT OR IGNORE INTO FW00_GRPUSRASSOC (FW00_ID_FW06, FW00_ID_FW07) VALUES (" +
                 std::to_string(g) + ", " + std::to_string(kUser) + ")");
      }
    }
    s->cn = orv::db::Connection::Create();
    s->cn->Open(s->connection_string);
    s->big = CatalogueRows(*s->cn);
    std::vector<ProfileRow> a(s->big.begin(), s->big.begin() + 10000);
    std::vector<ProfileRow> b(s->big.begin() + 5000, s->big.begin() + 15000);
    for (size_t i = 0; i < 1000; ++i) b[i].flags[1] = 1;  // same item, other flags
    Put(*s->cn, kGroupA, a);
    Put(*s->cn, kGroupB, b);
    Put(*s->cn, kGroupBig, s->big);
    s->big_file = profile::ProfileDocument::Of("group", "BENCH9003", "Banco", s->big).ToJson();
    auto w = s->cn->Execute(
        "SELECT TOP 1 FW31_CODTIPO FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 6 AND "
        "FW31_DITTARAGG = 2 AND FW31_ID_FW07 = 4");
    s->warehouse = w->IsEof() ? "W000001" : w->Field(0).ToText();
    return s;
  }();
  return *setup;
}

NamedPrincipal Group(int64_t id) { return profile::PrincipalDirectory(*Get().cn).Group(id); }

void BM_EffectiveProfileTenGroups(benchmark::State& state) {
  Setup& s = Get();
  const NamedPrincipal user = profile::PrincipalDirectory(*s.cn).User(kUser);
  size_t entries = 0;
  size_t groups = 0;
  for (auto _ : state) {
    const profile::EffectiveProfile p = profile::EffectiveProfile::Read(*s.cn, user);
    entries = p.entries.size();
    groups = p.groups.size();
  }
  state.counters["groups"] = static_cast<double>(groups);
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_EffectiveProfileTenGroups)->Unit(benchmark::kMillisecond);

void BM_EffectiveProfileTenGroupsRawSqlite(benchmark::State& state) {
  Setup& s = Get();
  Raw raw(s.path);
  int64_t rows = 0;
  for (auto _ : state) {
    rows = raw.Read("SELECT FW00_ID_FW06 FROM FW00_GRPUSRASSOC WHERE FW00_ID_FW07 = " +
                    std::to_string(kUser));
    rows = RawProfile(raw, false, kUser);
    for (int64_t g = 2; g <= 11; ++g) rows += RawProfile(raw, true, g);
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_EffectiveProfileTenGroupsRawSqlite)->Unit(benchmark::kMillisecond);

void BM_CompareTwoPrincipals10k(benchmark::State& state) {
  Setup& s = Get();
  const NamedPrincipal a = Group(kGroupA);
  const NamedPrincipal b = Group(kGroupB);
  profile::ProfileComparison c;
  for (auto _ : state) {
    c = profile::ProfileComparison::Compare(profile::ProfileReader::Read(*s.cn, a.principal),
                                            profile::ProfileReader::Read(*s.cn, b.principal));
  }
  state.counters["only_a"] = static_cast<double>(c.only_a.size());
  state.counters["only_b"] = static_cast<double>(c.only_b.size());
  state.counters["changed"] = static_cast<double>(c.changed.size());
}
BENCHMARK(BM_CompareTwoPrincipals10k)->Unit(benchmark::kMillisecond);

void BM_CompareTwoPrincipals10kRawSqlite(benchmark::State& state) {
  Raw raw(Get().path);
  int64_t rows = 0;
  for (auto _ : state) rows = RawProfile(raw, true, kGroupA) + RawProfile(raw, true, kGroupB);
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_CompareTwoPrincipals10kRawSqlite)->Unit(benchmark::kMillisecond);

void BM_WhereUsedWarehouse(benchmark::State& state) {
  Setup& s = Get();
  const auto item = profile::RevocationItem::Parse("warehouse:" + s.warehouse);
  size_t hits = 0;
  for (auto _ : state) hits = profile::WhereUsed::Find(*s.cn, item).size();
  state.counters["principals"] = static_cast<double>(hits);
}
BENCHMARK(BM_WhereUsedWarehouse)->Unit(benchmark::kMillisecond);

void BM_WhereUsedWarehouseRawSqlite(benchmark::State& state) {
  Setup& s = Get();
  Raw raw(s.path);
  int64_t rows = 0;
  for (auto _ : state) {
    rows = raw.Read("SELECT * FROM FW31_RVKPARAMETRI WHERE FW31_INDTIPO = 6 AND FW31_CODTIPO = '" +
                    s.warehouse + "'");
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_WhereUsedWarehouseRawSqlite)->Unit(benchmark::kMillisecond);

void BM_Export100k(benchmark::State& state) {
  Setup& s = Get();
  const NamedPrincipal big = Group(kGroupBig);
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = profile::ProfileDocument::Of("group", big.code, big.principal.name(),
                                         profile::ProfileReader::Read(*s.cn, big.principal))
                .ToJson()
                .size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Export100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Export100kRawSqlite(benchmark::State& state) {
  Raw raw(Get().path);
  int64_t rows = 0;
  for (auto _ : state) rows = RawProfile(raw, true, kGroupBig);
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_Export100kRawSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

// Empties the target (and the change log the imports wrote) between runs.
void ClearTarget(Raw& raw) {
  raw.Exec("DELETE FROM FW31_RVKPARAMETRI" + PrincipalTest("FW31", true, kGroupTarget));
  raw.Exec("DELETE FROM FW3E_RVKDEPCOLL" + PrincipalTest("FW3E", true, kGroupTarget));
  raw.Exec("DELETE FROM FW3N_RVKNODI" + PrincipalTest("FW3N", true, kGroupTarget));
  raw.Exec("DELETE FROM FW90_LOGMODIFICHE WHERE FW90_LOGIN = 'bench'");
}

void BM_Import100k(benchmark::State& state, bool apply) {
  Setup& s = Get();
  const NamedPrincipal target = Group(kGroupTarget);
  Raw raw(s.path);
  size_t added = 0;
  int log = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ClearTarget(raw);
    state.ResumeTiming();
    profile::ProfileImport import(*s.cn, target, profile::ProfileDocument::FromJson(s.big_file),
                                  {false, "bench"});
    const profile::ImportPlan plan = apply ? import.Apply() : import.Preview();
    added = plan.added.size();
    log = plan.change_log_entries;
  }
  state.counters["added"] = static_cast<double>(added);
  state.counters["change_log"] = log;
}
BENCHMARK_CAPTURE(BM_Import100k, preview, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Import100k, apply, true)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same 100,000 rows written by one prepared INSERT per table in one
// transaction, without checks or change log.
void BM_Import100kRawSqlite(benchmark::State& state) {
  Setup& s = Get();
  Raw raw(s.path);
  for (auto _ : state) {
    state.PauseTiming();
    ClearTarget(raw);
    state.ResumeTiming();
    raw.Exec("BEGIN");
    sqlite3_stmt* par = nullptr;
    sqlite3_stmt* node = nullptr;
    sqlite3_stmt* transfer = nullptr;
    sqlite3_prepare_v2(raw.db(),
                       "INSERT INTO FW31_RVKPARAMETRI (FW31_ID_FW06, FW31_DITTARAGG, FW31_INDTIPO,"
                       " FW31_CODTIPO) VALUES (9004, ?, ?, ?)",
                       -1, &par, nullptr);
    sqlite3_prepare_v2(raw.db(),
                       "INSERT INTO FW3N_RVKNODI (FW3N_ID_FW06, FW3N_DITTA_CG18, FW3N_CODPROG_PD68,"
                       " FW3N_CODNODO) VALUES (9004, ?, ?, ?)",
                       -1, &node, nullptr);
    sqlite3_prepare_v2(
        raw.db(),
        "INSERT INTO FW3E_RVKDEPCOLL (FW3E_ID_FW06, FW3E_DITTA_CG18, FW3E_CODDEP_ORI,"
        " FW3E_CODDEP_DES) VALUES (9004, ?, ?, ?)",
        -1, &transfer, nullptr);
    for (const ProfileRow& row : s.big) {
      sqlite3_stmt* stmt = row.table == RevocationTable::kParameters ? par
                           : row.table == RevocationTable::kNodes    ? node
                                                                     : transfer;
      sqlite3_bind_int(stmt, 1, row.company);
      if (stmt == par) {
        sqlite3_bind_int(stmt, 2, row.kind);
        sqlite3_bind_text(stmt, 3, row.code1.c_str(), -1, SQLITE_STATIC);
      } else {
        sqlite3_bind_text(stmt, 2, row.code1.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 3, row.code2.c_str(), -1, SQLITE_STATIC);
      }
      sqlite3_step(stmt);
      sqlite3_reset(stmt);
    }
    sqlite3_finalize(par);
    sqlite3_finalize(node);
    sqlite3_finalize(transfer);
    raw.Exec("COMMIT");
  }
  state.counters["rows"] = static_cast<double>(s.big.size());
}
BENCHMARK(BM_Import100kRawSqlite)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
