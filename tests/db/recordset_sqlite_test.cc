// Recordsets opened on statements: Requery, Clone, bookmarks and batch
// updates written back through the connection.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/recordset_text.h"

namespace orv::db {
namespace {

using testing::ErrorNumber;
using testing::Rows;

class RecordsetSqliteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    connection_->Open("Driver=SQLite;Database=:memory:");
    // A revocation-like table: the key, the principal pair (one NULL), a flag.
    connection_->Execute(
        "CREATE TABLE rvk (id INTEGER PRIMARY KEY, id_fw07 INT, id_fw06 INT, "
        "codtipo VARCHAR(10), flg INT NOT NULL DEFAULT 1)");
    connection_->Execute(
        "INSERT INTO rvk (id, id_fw07, id_fw06, codtipo, flg) VALUES "
        "(1, 5, NULL, 'MAG1', 0), (2, NULL, 3, 'MAG1', 0), (3, 5, NULL, 'l''uno', 1)");
    // A table without a key: rows are found by all their original values.
    connection_->Execute("CREATE TABLE nodi (codice VARCHAR(10), incl INT)");
    connection_->Execute("INSERT INTO nodi VALUES ('N1', 0), ('N2', NULL), ('N1', 0)");
  }

  std::string Query(const std::string& sql) { return Rows(*connection_->Execute(sql)); }

  std::shared_ptr<Connection> connection_ = Connection::Create();
};

TEST_F(RecordsetSqliteTest, OpenFilterAndFieldsOfAStatement) {
  Recordset rs;
  rs.Open("SELECT * FROM rvk ORDER BY id", connection_);
  EXPECT_EQ(rs.Source(), "SELECT * FROM rvk ORDER BY id");
  EXPECT_EQ(rs.RecordCount(), 3);
  EXPECT_TRUE(rs.FieldAt(0).key);
  // The principal look-up as the editor writes it.
  rs.SetFilter(" ID_FW07 =  NULL AND ID_FW06 = 3 AND CODTIPO = 'mag1'");
  ASSERT_EQ(rs.RecordCount(), 1);
  EXPECT_EQ(rs.Field("id"), Value(2));
  rs.SetFilter("CODTIPO = 'L''UNO' AND ID_FW07 = 5");
  EXPECT_EQ(Rows(rs), "3|5|<null>|l'uno|1");
  rs.SetFilter("ID_FW07 = 6");
  EXPECT_TRUE(rs.EOF_());
}

// Rows read from a statement taken over by a wider in-memory recordset
// (their storage kept) hold what copying them gives; a value refused part
// way leaves the work rows as they were and the statement's rows readable.
TEST_F(RecordsetSqliteTest, AppendRowsTakingReadRowsGivesWhatCopyingGives) {
  const std::string sql = "SELECT codtipo, id, flg FROM rvk ORDER BY id";
  // Four fields: as many as a read row of three columns has room for.
  auto make = [](int code_size, bool copy = false) {
    auto work = std::make_unique<Recordset>();
    work->AppendField("CODICE", DataType::kChar, code_size, false);
    work->AppendField("ID", DataType::kDecimal);
    work->AppendField("FLAG", DataType::kVarChar, 5);
    work->AppendField("NOTE", DataType::kVarChar, 10);
    if (copy) work->AppendField("COPIA", DataType::kInteger);
    work->Open();
    return work;
  };
  const std::vector<int> columns = {0, 1, 2, -1, 1};
  auto copied = make(8, true);
  copied->AppendRows(*connection_->Execute(sql), columns);
  const std::string expected = Rows(*copied);
  EXPECT_EQ(expected, "MAG1    |1|0|<null>|1;MAG1    |2|0|<null>|2;l'uno   |3|1|<null>|3");
  auto taken = make(8);
  taken->AppendRows(std::move(*connection_->Execute(sql)), {0, 1, 2, -1});
  taken->MoveFirst();
  EXPECT_EQ(taken->Field("ID"), Value(1.0));
  EXPECT_EQ(Rows(*taken), "MAG1    |1|0|<null>;MAG1    |2|0|<null>;l'uno   |3|1|<null>");

  // "l'uno" does not fit four characters: nothing appended, and the
  // statement's rows can still be walked and filtered.
  auto narrow = make(4);
  std::shared_ptr<Recordset> read = connection_->Execute(sql);
  EXPECT_EQ(ErrorNumber([&] { narrow->AppendRows(std::move(*read), {0, 1, 2}); }), kErrFieldValue);
  EXPECT_EQ(narrow->RecordCount(), 0);
  EXPECT_EQ(read->RecordCount(), 3);
  read->SetFilter("ID = 3");
  EXPECT_EQ(read->RecordCount(), 1);
  EXPECT_EQ(read->FieldCount(), 3);
  for (read->MoveFirst(); !read->EOF_(); read->MoveNext()) {
    for (int i = 0; i < read->FieldCount(); ++i) (void)read->Field(i);
  }
}

// The fields as text: name, type, size, key.
std::string Fields(const Recordset& rs) {
  std::string out;
  for (int i = 0; i < rs.FieldCount(); ++i) {
    const FieldInfo& f = rs.FieldAt(i);
    out += f.name + ":" + std::to_string(static_cast<int>(f.type)) + ":" +
           std::to_string(f.defined_size) + (f.key ? ":key" : "") + " ";
  }
  return out;
}

// A recordset that reads its rows straight from the driver, over the
// storage of rows it replaces, is the recordset Open makes: fields (a
// computed column's type as its values make it), rows, and batch updates.
TEST_F(RecordsetSqliteTest, OpenReadingStraightFromTheDriverGivesWhatOpenGives) {
  const std::string sql =
      "SELECT id, codtipo, flg, codtipo + '-' + codtipo AS joined, id * 1.5 AS half FROM rvk "
      "ORDER BY id";
  Recordset opened;
  opened.Open(sql, connection_);
  // Spare rows of another shape (narrower, other types, longer texts).
  Recordset before;
  before.Open("SELECT 'un testo lungo più di sedici byte' AS a, 7 AS b FROM rvk", connection_);
  std::vector<std::vector<Value>> spare = before.ReleaseRows();
  ASSERT_EQ(spare.size(), 3u);
  Recordset streamed;
  streamed.Open(sql, connection_, std::move(spare));
  EXPECT_EQ(Fields(streamed), Fields(opened));
  EXPECT_EQ(Rows(streamed), Rows(opened));
  EXPECT_EQ(Rows(streamed), "1|MAG1|0|MAG1-MAG1|1.5;2|MAG1|0|MAG1-MAG1|3;3|l'uno|1|l'uno-l'uno|4.5");
  EXPECT_EQ(streamed.Source(), sql);

  // Written back by key like any recordset opened on the table.
  Recordset table;
  table.Open("SELECT * FROM rvk ORDER BY id", connection_, {});
  table.SetFilter("ID = 2");
  table.SetField("FLG", Value(1));
  table.Update();
  table.UpdateBatch();
  EXPECT_EQ(Query("SELECT flg FROM rvk WHERE id = 2"), "1");

  // A statement without rows opens nothing.
  Recordset none;
  EXPECT_EQ(ErrorNumber([&] { none.Open("UPDATE rvk SET flg = 0", connection_, {}); }),
            kErrBadArgument);
  EXPECT_FALSE(none.IsOpen());
}

TEST_F(RecordsetSqliteTest, RequeryReloadsAndClonesKeepTheOldRows) {
  Recordset rs;
  rs.Open("SELECT id, flg FROM rvk ORDER BY id", connection_);
  rs.SetFilter("FLG = 0");
  auto clone = rs.Clone();
  connection_->Execute("INSERT INTO rvk (id, codtipo, flg) VALUES (4, 'X', 0)");
  connection_->Execute("DELETE FROM rvk WHERE id = 1");
  EXPECT_EQ(Rows(rs), "1|0;2|0");  // still what was read
  rs.Requery();
  EXPECT_EQ(rs.Filter(), "FLG = 0");  // the filter stays
  EXPECT_EQ(Rows(rs), "2|0;4|0");
  EXPECT_EQ(Rows(*clone), "1|0;2|0;3|1");
  // After the source table changes shape, a filter on a lost column fails.
  Recordset narrow;
  narrow.Open("SELECT codice FROM nodi", connection_);
  EXPECT_EQ(ErrorNumber([&] { narrow.SetFilter("FLG = 0"); }), kErrBadArgument);
}

TEST_F(RecordsetSqliteTest, BookmarksSurviveFiltersOnTheSameRows) {
  Recordset rs;
  rs.Open("SELECT id, codtipo FROM rvk ORDER BY id", connection_);
  rs.MoveLast();
  const auto last = rs.GetBookmark();
  rs.SetFilter("CODTIPO LIKE 'l*'");
  rs.SetBookmark(last);
  EXPECT_EQ(rs.Field("ID"), Value(3));
  rs.ClearFilter();
  rs.MoveFirst();
  rs.SetBookmark(last);
  EXPECT_EQ(rs.AbsolutePosition(), 3);
  auto clone = rs.Clone();
  clone->SetBookmark(last);
  EXPECT_EQ(clone->Field("ID"), Value(3));
  rs.Requery();  // new rows, old bookmarks: the row is found again by position only
  EXPECT_EQ(ErrorNumber([&] { rs.SetBookmark(99); }), kErrBadBookmark);
}

TEST_F(RecordsetSqliteTest, UpdateBatchWritesInsertsUpdatesAndDeletesByKey) {
  Recordset rs;
  rs.Open("SELECT * FROM rvk ORDER BY id", connection_);
  rs.MoveFirst();
  rs.SetField("FLG", Value(1));
  rs.SetField("CODTIPO", Value("it's"));
  rs.Update();
  rs.MoveNext();
  rs.Delete();
  rs.AddNew();
  rs.SetField("ID", Value(10));
  rs.SetField("ID_FW06", Value(3));
  rs.SetField("CODTIPO", Value("O'Neil"));
  rs.Update();  // FLG left unset: the table's default
  EXPECT_EQ(rs.PendingCount(), 3);
  EXPECT_EQ(Query("SELECT count(*) FROM rvk"), "3");  // nothing written yet
  rs.UpdateBatch();
  EXPECT_EQ(rs.PendingCount(), 0);
  EXPECT_EQ(Query("SELECT id, id_fw07, id_fw06, codtipo, flg FROM rvk ORDER BY id"),
            "1|5|<null>|it's|1;3|5|<null>|l'uno|1;10|<null>|3|O'Neil|1");
  // The rows read again are the rows written, and a second batch is empty.
  rs.UpdateBatch();
  rs.Requery();
  EXPECT_EQ(rs.RecordCount(), 3);
}

TEST_F(RecordsetSqliteTest, EditsAfterABatchAreKeyedOnTheWrittenValues) {
  Recordset rs;
  rs.Open("SELECT * FROM rvk ORDER BY id", connection_);
  rs.MoveFirst();
  rs.SetField("ID", Value(11));
  rs.SetField("ID", Value(12));  // the key stays the value as read
  rs.MoveNext();
  rs.Delete();  // found by its key as read
  rs.UpdateBatch();
  EXPECT_EQ(Query("SELECT id, flg FROM rvk ORDER BY id"), "3|1;12|0");
  rs.MoveFirst();
  ASSERT_EQ(rs.Field("ID"), Value(12));
  rs.SetField("FLG", Value(9));
  rs.UpdateBatch();  // keyed on 12 as written, not on 1 as first read
  EXPECT_EQ(Query("SELECT id, flg FROM rvk ORDER BY id"), "3|1;12|9");
  EXPECT_EQ(rs.PendingCount(), 0);
  // Rows cannot be appended to a recordset that writes to a table.
  Recordset memory;
  memory.AppendField("CODICE", DataType::kVarChar, 10);
  memory.Open();
  EXPECT_EQ(ErrorNumber([&] { rs.AppendRows(memory, {0, -1}); }), kErrBadArgument);
}

TEST_F(RecordsetSqliteTest, UpdateBatchWithoutKeyMatchesAllOriginalValuesIncludingNull) {
  Recordset rs;
  rs.Open("SELECT codice, incl FROM nodi", connection_);
  rs.SetFilter("INCL = NULL");
  ASSERT_EQ(rs.RecordCount(), 1);
  rs.SetField("INCL", Value(1));
  rs.UpdateBatch();
  EXPECT_EQ(Query("SELECT codice, incl FROM nodi ORDER BY rowid"), "N1|0;N2|1;N1|0");
}

TEST_F(RecordsetSqliteTest, UpdateBatchIsAllOrNothing) {
  Recordset rs;
  rs.Open("SELECT * FROM rvk ORDER BY id", connection_);
  rs.MoveFirst();
  rs.SetField("FLG", Value(7));
  rs.MoveNext();
  rs.SetField("FLG", Value(8));
  rs.Update();
  // Someone else removes the second row: its UPDATE finds nothing.
  connection_->Execute("DELETE FROM rvk WHERE id = 2");
  EXPECT_EQ(ErrorNumber([&] { rs.UpdateBatch(); }), kErrRowNotFound);
  EXPECT_EQ(Query("SELECT flg FROM rvk WHERE id = 1"), "0");  // first UPDATE rolled back
  EXPECT_EQ(rs.PendingCount(), 2);                            // still pending
  EXPECT_FALSE(connection_->driver().InTransaction());

  // NULL in a NOT NULL column is refused at once; a duplicate key only by
  // the database, and then the batch's other insert is undone too.
  Recordset other;
  other.Open("SELECT * FROM rvk", connection_);
  other.AddNew();
  EXPECT_EQ(ErrorNumber([&] { other.SetField("FLG", Value::Null()); }), kErrFieldValue);
  other.SetField("ID", Value(20));
  other.AddNew();
  other.SetField("ID", Value(3));
  EXPECT_NE(ErrorNumber([&] { other.UpdateBatch(); }), 0);
  EXPECT_FALSE(connection_->Errors().empty());
  EXPECT_EQ(Query("SELECT count(*) FROM rvk WHERE id = 20"), "0");
}

TEST_F(RecordsetSqliteTest, UpdateBatchNeedsOneTable) {
  Recordset rs;
  rs.Open("SELECT r.id, n.codice FROM rvk r JOIN nodi n ON n.codice = r.codtipo", connection_);
  rs.AddNew();
  rs.SetField("ID", Value(30));
  EXPECT_EQ(ErrorNumber([&] { rs.UpdateBatch(); }), kErrBadArgument);
}

TEST_F(RecordsetSqliteTest, FileDatabaseKeepsWhatTheBatchWrote) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("orv_rs_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                    "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "host.db").string();
  {
    auto connection = Connection::Create();
    connection->Open("Driver=SQLite;Database=" + path + ";Create=yes");
    connection->Execute("CREATE TABLE t (k VARCHAR(5) PRIMARY KEY, v INT)");
    Recordset rs;
    rs.Open("SELECT * FROM t", connection);
    for (int i = 0; i < 3; ++i) {
      rs.AddNew();
      rs.SetField("K", Value("k" + std::to_string(i)));
      rs.SetField("V", Value(i));
    }
    rs.UpdateBatch();
  }
  auto reopened = Connection::Create();
  reopened->Open("Database=" + path);
  EXPECT_EQ(Rows(*reopened->Execute("SELECT k, v FROM t ORDER BY k")), "k0|0;k1|1;k2|2");
  reopened->Close();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orv::db
