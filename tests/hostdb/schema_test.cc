#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/db_error.h"
#include "db/sqlite/sqlite_driver.h"
#include "hostdb/host_database.h"
#include "hostdb/host_schema.h"
#include "hostdb/sql_file.h"
#include "hostdb/temporary_demo_database.h"
#include "hostdb_test_util.h"

namespace orv::hostdb {
namespace {

using testing::Exec;
using testing::Query;
using testing::Scalar;

TEST(HostSchemaTest, SplitBatchesCutsAtGoLinesOnly) {
  const std::string script =
      "-- heading comment\n"
      "CREATE TABLE A (X INT)\n"
      "GO\n"
      "  go  \n"
      "-- only a comment\n"
      "Go\n"
      "SELECT 'GO' AS GOAL\n"
      "GOTO_TABLE\n"
      "go\n"
      "SELECT 2";
  std::vector<std::string> batches = HostSchema::SplitBatches(script);
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(batches[0], "-- heading comment\nCREATE TABLE A (X INT)\n");
  EXPECT_EQ(batches[1], "SELECT 'GO' AS GOAL\nGOTO_TABLE\n");
  EXPECT_EQ(batches[2], "SELECT 2\n");
}

TEST(HostSchemaTest, ScriptsAreEmbeddedInOrder) {
  const auto& files = EmbeddedSqlFiles();
  ASSERT_GE(files.size(), 7u);
  for (size_t i = 1; i < files.size(); ++i) EXPECT_LT(files[i - 1].name, files[i].name);
  for (const SqlFile& f : files) EXPECT_FALSE(HostSchema::SplitBatches(f.text).empty()) << f.name;
}

class SchemaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("orv-schema-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    cn_ = HostDatabase::CreateEmpty((dir_ / "empty.db").string());
  }
  void TearDown() override {
    cn_->Close();
    std::filesystem::remove_all(dir_);
  }
  sqlite3* Raw() {
    auto* driver = dynamic_cast<db::sqlite::SqliteDriver*>(&cn_->driver());
    return driver ? driver->handle() : nullptr;
  }
  std::filesystem::path dir_;
  std::shared_ptr<db::Connection> cn_;
};

TEST_F(SchemaTest, EveryTableExistsAndStartsEmpty) {
  for (std::string_view table : HostSchema::Tables()) {
    EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM " + std::string(table)), "0") << table;
  }
}

TEST_F(SchemaTest, InstallingTwiceFailsAndChangesNothing) {
  EXPECT_THROW(HostSchema::Install(*cn_), db::DbError);
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW31_RVKPARAMETRI"), "0");
}

// Each revocation table with the other columns of a valid row, so that only
// the principal columns decide whether the insert is accepted.
struct RevocationCase {
  std::string table;
  std::string other_columns;
  std::string other_values;
};

const std::vector<RevocationCase>& RevocationCases() {
  static const std::vector<RevocationCase> cases = {
      {"FW31_RVKPARAMETRI",
       "FW31_INDTIPO, FW31_CODTIPO, FW31_DITTARAGG, FW31_FLGABILITATO, FW31_FLGMODIFICA, "
       "FW31_FLGELIMINA, FW31_FLGINSERISCI",
       "6, 'A', 1, 0, 0, 0, 0"},
      {"FW32_RVKCLIFOR",
       "FW32_DITTA, FW32_TIPOCF, FW32_CODMACRO, FW32_CODMIDDLE, FW32_CODRAGG, FW32_TIPORAGG, "
       "FW32_FLGABILITATO, FW32_FLGMODIFICA",
       "1, 0, 'NORD', '', '', 'AREA', 0, 0"},
      {"FW3H_RVKARTICOLI",
       "FW3H_DITTA, FW3H_CODMACRO, FW3H_CODMIDDLE, FW3H_CODRAGG, FW3H_TIPORAGG, "
       "FW3H_FLGABILITATO, FW3H_FLGMODIFICA, FW3H_FLGINSERIMENTO, FW3H_FLGELIMINA",
       "1, 'FERR', '', '', 'FAM', 1, 1, 1, 1"},
      {"FW3E_RVKDEPCOLL", "FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES", "1, '01', '02'"},
      {"FW3N_RVKNODI", "FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO", "1, '24001', '010'"},
  };
  return cases;
}

TEST_F(SchemaTest, EveryRevocationRowHasExactlyOnePrincipal) {
  ASSERT_EQ(RevocationCases().size(), HostSchema::RevocationTables().size());
  for (size_t i = 0; i < RevocationCases().size(); ++i) {
    const RevocationCase& c = RevocationCases()[i];
    const auto& t = HostSchema::RevocationTables()[i];
    ASSERT_EQ(c.table, t.table);
    auto insert = [&](const std::string& user, const std::string& group) {
      Exec(*cn_, "INSERT INTO " + c.table + " (" + std::string(t.user_column) + ", " +
                     std::string(t.group_column) + ", " + c.other_columns + ") VALUES (" + user +
                     ", " + group + ", " + c.other_values + ")");
    };
    EXPECT_THROW(insert("NULL", "NULL"), db::DbError) << c.table << ": no principal";
    EXPECT_THROW(insert("7", "3"), db::DbError) << c.table << ": two principals";
    EXPECT_NO_THROW(insert("7", "NULL")) << c.table << ": a user";
    EXPECT_NO_THROW(insert("NULL", "3")) << c.table << ": a group";
    EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM " + c.table), "2") << c.table;
    // An update may not break the rule either.
    EXPECT_THROW(Exec(*cn_, "UPDATE " + c.table + " SET " + std::string(t.group_column) + " = 4"),
                 db::DbError)
        << c.table;
    EXPECT_THROW(Exec(*cn_, "UPDATE " + c.table + " SET " + std::string(t.user_column) +
                                " = NULL WHERE " + std::string(t.user_column) + " = 7"),
                 db::DbError)
        << c.table;
  }
}

TEST_F(SchemaTest, RevocationTablesAreIndexedOnTheirKeyPrincipalFirst) {
  sqlite3* db = Raw();
  ASSERT_NE(db, nullptr);
  const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
      {"IX_FW31_CHIAVE",
       {"FW31_ID_FW07", "FW31_ID_FW06", "FW31_INDTIPO", "FW31_CODTIPO", "FW31_DITTARAGG"}},
      {"IX_FW32_CHIAVE",
       {"FW32_ID_FW07", "FW32_ID_FW06", "FW32_DITTA", "FW32_TIPOCF", "FW32_TIPORAGG",
        "FW32_CODMACRO", "FW32_CODMIDDLE", "FW32_CODRAGG"}},
      {"IX_FW3H_CHIAVE",
       {"FW3H_ID_FW07", "FW3H_ID_FW06", "FW3H_DITTA", "FW3H_TIPORAGG", "FW3H_CODMACRO",
        "FW3H_CODMIDDLE", "FW3H_CODRAGG"}},
      {"IX_FW3E_CHIAVE",
       {"FW3E_ID_FW07", "FW3E_ID_FW06", "FW3E_DITTA_CG18", "FW3E_CODDEP_ORI", "FW3E_CODDEP_DES"}},
      {"IX_FW3N_CHIAVE",
       {"FW3N_ID_FW07", "FW3N_ID_FW06", "FW3N_DITTA_CG18", "FW3N_CODPROG_PD68", "FW3N_CODNODO"}},
  };
  for (const auto& [index, columns] : expected) {
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db, ("PRAGMA index_info(" + index + ")").c_str(), -1, &stmt, nullptr),
        SQLITE_OK);
    std::vector<std::string> actual;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      actual.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
    }
    sqlite3_finalize(stmt);
    EXPECT_EQ(actual, columns) << index;
  }
}

TEST_F(SchemaTest, TransferRowWithoutFlagReadsRevokedAndCodesCompareLikeTheHost) {
  // The editor's own INSERT leaves FW3E_FLGABILITATO to its default.
  Exec(*cn_,
       "INSERT INTO FW3E_RVKDEPCOLL(FW3E_DITTA_CG18, FW3E_CODDEP_ORI, FW3E_CODDEP_DES, "
       "FW3E_ID_FW07, FW3E_ID_FW06) VALUES(1,'A ', 'dep 1',5,NULL)");
  EXPECT_EQ(Scalar(*cn_, "SELECT FW3E_FLGABILITATO FROM FW3E_RVKDEPCOLL"), "0");
  // Case and trailing blanks do not matter, leading blanks do.
  EXPECT_EQ(Scalar(*cn_,
                   "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_CODDEP_ORI = 'a' AND "
                   "FW3E_CODDEP_DES = 'DEP 1   '"),
            "1");
  EXPECT_EQ(Scalar(*cn_, "SELECT COUNT(*) FROM FW3E_RVKDEPCOLL WHERE FW3E_CODDEP_ORI = ' A'"), "0");
  // Keys of the catalogues follow the same rule: 'a' duplicates 'A'.
  Exec(*cn_, "INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP) VALUES (1, 'A')");
  EXPECT_THROW(
      Exec(*cn_, "INSERT INTO MG58_DEPOSITI (MG58_DITTA_CG18, MG58_CODDEP) VALUES (1, 'a ')"),
      db::DbError);
}

TEST_F(SchemaTest, ChangeLogNumbersItsEntries) {
  Exec(*cn_,
       "INSERT INTO FW90_LOGMODIFICHE (FW90_DATAORA, FW90_LOGIN, FW90_EVENTO, FW90_TESTO) "
       "VALUES ('2026-12-06 10:00:00', 'admin', 11, 'Attivo')");
  Exec(*cn_,
       "INSERT INTO FW90_LOGMODIFICHE (FW90_DATAORA, FW90_LOGIN, FW90_EVENTO, FW90_TESTO) "
       "VALUES ('2026-12-06 10:00:01', 'admin', 15, 'No')");
  EXPECT_EQ(Query(*cn_,
                  "SELECT FW90_ID, FW90_EVENTO, FW90_TESTO FROM FW90_LOGMODIFICHE ORDER BY "
                  "FW90_ID"),
            (testing::Rows{{"1", "11", "Attivo"}, {"2", "15", "No"}}));
}

TEST(HostDatabaseTest, CreateEmptyRefusesAnExistingFile) {
  TemporaryDemoDatabase demo;
  EXPECT_THROW(HostDatabase::CreateEmpty(demo.path()), std::runtime_error);
  EXPECT_THROW(HostDatabase::CreateDemo(demo.path()), std::runtime_error);
  // The demo is still intact.
  EXPECT_EQ(Scalar(*demo.Connect(), "SELECT COUNT(*) FROM FW07_APPUSER"), "11");
}

TEST(HostDatabaseTest, ConnectionStringsKeepPathsWhole) {
  EXPECT_EQ(HostDatabase::ConnectionStringFor("/tmp/a.db"), "Database=/tmp/a.db");
  EXPECT_EQ(HostDatabase::ConnectionStringFor("/tmp/a;b.db"), "Database={/tmp/a;b.db}");
}

}  // namespace
}  // namespace orv::hostdb
