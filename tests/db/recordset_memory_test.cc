// In-memory recordsets: appended fields, cursor, editing, filter, clones and
// bookmarks, without a database.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "db/db_error.h"
#include "db/recordset.h"
#include "db/recordset_text.h"

namespace orv::db {
namespace {

using testing::ErrorNumber;

// Codes of the visible rows from the first, as "a,b,c".
std::string Codes(Recordset& rs) {
  std::string out;
  if (rs.RecordCount() == 0) return out;
  for (rs.MoveFirst(); !rs.EOF_(); rs.MoveNext()) {
    if (!out.empty()) out += ',';
    out += Trim(rs.Field("CODICE").ToText());
  }
  return out;
}

class MemoryRecordsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rs_.AppendField("CODICE", DataType::kChar, 6);
    rs_.AppendField("Descrizione", DataType::kVarChar, 40);
    rs_.AppendField("ABILITATO", DataType::kInteger);
    rs_.Open();
  }
  void Add(const char* code, const char* description, int enabled) {
    rs_.AddNew();
    rs_.SetField("CODICE", Value(code));
    rs_.SetField("DESCRIZIONE", Value(description));
    rs_.SetField("abilitato", Value(enabled));
    rs_.Update();
  }
  void AddFive() {
    Add("A1", "Primo", 1);
    Add("B2", "Secondo", 0);
    Add("C3", "L'altro", 1);
    Add("D4", "Quarto", 0);
    Add("E5", "quinto", 1);
  }
  Recordset rs_;
};

TEST_F(MemoryRecordsetTest, EmptyRecordsetIsAtBofAndEof) {
  EXPECT_TRUE(rs_.BOF());
  EXPECT_TRUE(rs_.EOF_());
  EXPECT_EQ(rs_.RecordCount(), 0);
  EXPECT_EQ(ErrorNumber([&] { rs_.Field("CODICE"); }), kErrBofOrEof);
  EXPECT_EQ(ErrorNumber([&] { rs_.MoveNext(); }), kErrBofOrEof);
}

TEST_F(MemoryRecordsetTest, CursorWalksRowsAndFieldsAreFoundWithoutCase) {
  AddFive();
  EXPECT_EQ(rs_.RecordCount(), 5);
  rs_.MoveFirst();
  EXPECT_FALSE(rs_.BOF());
  EXPECT_EQ(rs_.AbsolutePosition(), 1);
  EXPECT_EQ(rs_.Field("codice"), Value("A1    "));  // fixed text padded
  EXPECT_EQ(rs_.Field("DESCRIZIONE"), Value("Primo"));
  EXPECT_EQ(rs_.Field(2), Value(1));
  rs_.MoveLast();
  EXPECT_EQ(rs_.AbsolutePosition(), 5);
  rs_.MoveNext();
  EXPECT_TRUE(rs_.EOF_());
  EXPECT_EQ(rs_.AbsolutePosition(), 0);
  rs_.MovePrevious();
  EXPECT_EQ(Trim(rs_.Field("CODICE").ToText()), "E5");
  rs_.MoveFirst();
  rs_.MovePrevious();
  EXPECT_TRUE(rs_.BOF());
  EXPECT_EQ(ErrorNumber([&] { rs_.MovePrevious(); }), kErrBofOrEof);
  EXPECT_EQ(ErrorNumber([&] { rs_.Field("NOPE"); }), kErrItemNotFound);
  EXPECT_EQ(rs_.FieldIndex("descrizione"), 1);
  EXPECT_FALSE(rs_.HasField("nope"));
  EXPECT_EQ(Codes(rs_), "A1,B2,C3,D4,E5");
}

TEST_F(MemoryRecordsetTest, AddNewStartsWithNullsAndMovingCommitsTheRow) {
  rs_.AddNew();
  EXPECT_TRUE(rs_.Field("ABILITATO").IsNull());
  rs_.SetField("CODICE", Value("X"));
  rs_.MoveFirst();  // commits, as ADO does when the cursor moves off an edited row
  rs_.CancelUpdate();
  EXPECT_EQ(rs_.RecordCount(), 1);
  EXPECT_EQ(rs_.Field("CODICE"), Value("X     "));
}

TEST_F(MemoryRecordsetTest, CancelUpdateDropsAnAddNewAndRestoresAnEdit) {
  AddFive();
  rs_.MoveFirst();
  rs_.MoveNext();  // B2
  rs_.AddNew();
  rs_.SetField("CODICE", Value("ZZ"));
  rs_.CancelUpdate();
  EXPECT_EQ(rs_.RecordCount(), 5);
  EXPECT_EQ(Trim(rs_.Field("CODICE").ToText()), "B2");  // back where it was
  rs_.SetField("DESCRIZIONE", Value("cambiata"));
  rs_.CancelUpdate();
  EXPECT_EQ(rs_.Field("DESCRIZIONE"), Value("Secondo"));
}

TEST_F(MemoryRecordsetTest, BadValueLeavesTheRowUnchanged) {
  AddFive();
  rs_.MoveFirst();
  EXPECT_THROW(rs_.SetField("CODICE", Value("TOOLONG")), DbError);
  EXPECT_THROW(rs_.SetField("ABILITATO", Value("x")), ConversionError);
  EXPECT_EQ(rs_.Field("CODICE"), Value("A1    "));
  EXPECT_EQ(rs_.Field("ABILITATO"), Value(1));
}

TEST_F(MemoryRecordsetTest, DeleteHidesTheRowAndMoveNextGoesToTheFollowingOne) {
  AddFive();
  rs_.MoveFirst();
  rs_.MoveNext();  // B2
  rs_.Delete();
  EXPECT_EQ(ErrorNumber([&] { rs_.Field("CODICE"); }), kErrRecordDeleted);
  rs_.MoveNext();
  EXPECT_EQ(Trim(rs_.Field("CODICE").ToText()), "C3");
  EXPECT_EQ(rs_.RecordCount(), 4);
  EXPECT_EQ(Codes(rs_), "A1,C3,D4,E5");
  rs_.MoveLast();
  rs_.Delete();
  rs_.MoveNext();
  EXPECT_TRUE(rs_.EOF_());
}

TEST_F(MemoryRecordsetTest, FilterShowsMatchingRowsAndClearFilterShowsAll) {
  AddFive();
  rs_.SetFilter("ABILITATO = 1 AND (CODICE = 'a1' OR DESCRIZIONE LIKE 'Q*')");
  EXPECT_EQ(Codes(rs_), "A1,E5");
  EXPECT_EQ(rs_.Filter(), "ABILITATO = 1 AND (CODICE = 'a1' OR DESCRIZIONE LIKE 'Q*')");
  rs_.SetFilter("DESCRIZIONE = 'l''altro'");
  EXPECT_EQ(Codes(rs_), "C3");
  rs_.SetFilter("CODICE = 'none'");
  EXPECT_TRUE(rs_.EOF_());
  EXPECT_TRUE(rs_.BOF());
  rs_.ClearFilter();
  EXPECT_EQ(rs_.RecordCount(), 5);
  EXPECT_EQ(rs_.Filter(), "");
  rs_.SetFilter("ABILITATO = 0");
  rs_.SetFilter("");  // an empty filter clears, as in ADO
  EXPECT_EQ(rs_.RecordCount(), 5);
}

TEST_F(MemoryRecordsetTest, BadFilterKeepsThePreviousOne) {
  AddFive();
  rs_.SetFilter("ABILITATO = 0");
  EXPECT_EQ(ErrorNumber([&] { rs_.SetFilter("ABILITATO = = 1"); }), kErrBadArgument);
  EXPECT_EQ(ErrorNumber([&] { rs_.SetFilter("NOPE = 1"); }), kErrBadArgument);
  EXPECT_EQ(Codes(rs_), "B2,D4");
}

TEST_F(MemoryRecordsetTest, CloneSharesRowsWithItsOwnCursorAndFilter) {
  AddFive();
  rs_.SetFilter("ABILITATO = 1");
  auto clone = rs_.Clone();
  EXPECT_EQ(clone->Filter(), "");
  EXPECT_EQ(clone->RecordCount(), 5);
  // A change through the clone is seen by the original, and the reverse.
  clone->MoveLast();
  clone->SetField("DESCRIZIONE", Value("dal clone"));
  clone->Update();
  rs_.MoveLast();
  EXPECT_EQ(rs_.Field("DESCRIZIONE"), Value("dal clone"));
  // Rows added through one appear in the other, subject to its filter.
  clone->AddNew();
  clone->SetField("CODICE", Value("F6"));
  clone->SetField("ABILITATO", Value(1));
  clone->Update();
  rs_.SetFilter("ABILITATO = 1");
  EXPECT_EQ(Codes(rs_), "A1,C3,E5,F6");
  rs_.AddNew();
  rs_.SetField("CODICE", Value("G7"));
  rs_.SetField("ABILITATO", Value(0));
  rs_.Update();
  EXPECT_EQ(Codes(*clone), "A1,B2,C3,D4,E5,F6,G7");
  // The original's new row stays visible there until the filter is set again.
  EXPECT_EQ(Codes(rs_), "A1,C3,E5,F6,G7");
  // A delete through the clone disappears from the original.
  clone->MoveFirst();
  clone->Delete();
  EXPECT_EQ(Codes(rs_), "C3,E5,F6,G7");
}

TEST_F(MemoryRecordsetTest, BookmarksReturnToTheirRowAcrossClones) {
  AddFive();
  rs_.MoveFirst();
  rs_.MoveNext();
  rs_.MoveNext();
  const Recordset::Bookmark c3 = rs_.GetBookmark();
  rs_.MoveFirst();
  rs_.SetBookmark(c3);
  EXPECT_EQ(Trim(rs_.Field("CODICE").ToText()), "C3");
  auto clone = rs_.Clone();
  clone->SetBookmark(c3);
  EXPECT_EQ(Trim(clone->Field("CODICE").ToText()), "C3");
  rs_.SetFilter("ABILITATO = 0");
  EXPECT_EQ(ErrorNumber([&] { rs_.SetBookmark(c3); }), kErrBadBookmark);
  EXPECT_EQ(ErrorNumber([&] { rs_.SetBookmark(999); }), kErrBadBookmark);
  rs_.MoveLast();
  rs_.MoveNext();
  EXPECT_EQ(ErrorNumber([&] { rs_.GetBookmark(); }), kErrBofOrEof);
}

TEST_F(MemoryRecordsetTest, PendingChangesAreCounted) {
  AddFive();
  EXPECT_EQ(rs_.PendingCount(), 5);                                     // new rows
  EXPECT_EQ(ErrorNumber([&] { rs_.UpdateBatch(); }), kErrBadArgument);  // no table to write
  EXPECT_EQ(ErrorNumber([&] { rs_.Requery(); }), kErrBadArgument);
}

TEST_F(MemoryRecordsetTest, AppendRowsCopiesMappedColumnsAsSetFieldStoresThem) {
  AddFive();
  rs_.SetFilter("ABILITATO = 1");  // A1, C3, E5 visible
  Recordset work;
  work.AppendField("CODICE", DataType::kChar, 8, false);
  work.AppendField("ABILITATO", DataType::kVarChar, 5);
  work.AppendField("DESCRIZIONE", DataType::kVarChar, 40);
  work.AppendField("NOTE", DataType::kVarChar, 10);
  work.Open();
  work.AddNew();
  work.SetField("CODICE", Value("Z0"));
  work.Update();
  auto clone = work.Clone();
  // CODICE <- CODICE, ABILITATO <- ABILITATO (a number, stored as text),
  // DESCRIZIONE <- Descrizione; NOTE unmapped.
  rs_.MoveNext();  // C3
  work.AppendRows(rs_, {0, 2, 1, -1});
  EXPECT_EQ(work.RecordCount(), 4);
  EXPECT_EQ(Codes(*clone), "Z0,A1,C3,E5");  // the clone sees them as well
  work.MoveLast();
  EXPECT_EQ(work.Field("CODICE"), Value("E5      "));  // padded to the field's size
  EXPECT_EQ(work.Field("ABILITATO"), Value("1"));
  EXPECT_EQ(work.Field("DESCRIZIONE"), Value("quinto"));
  EXPECT_TRUE(work.Field("NOTE").IsNull());
  EXPECT_EQ(rs_.AbsolutePosition(), 2);  // the source's cursor did not move
  // Appended rows are contents: nothing is pending; AddNew'd rows are.
  EXPECT_EQ(work.PendingCount(), 1);
  // Appended rows follow the filter of the recordset that sees them.
  clone->SetFilter("ABILITATO = '0'");
  work.AppendRows(rs_, {0, 2});
  rs_.ClearFilter();
  work.AppendRows(rs_, {0, 2});
  EXPECT_EQ(Codes(*clone), "B2,D4");
  EXPECT_EQ(work.RecordCount(), 12);
}

// Taking the rows of a recordset nothing else reads gives what copying
// gives; a recordset read through a clone, or a column taken twice, is copied.
TEST_F(MemoryRecordsetTest, AppendRowsTakingTheSourceGivesWhatCopyingGives) {
  AddFive();
  auto make = [] {
    auto work = std::make_unique<Recordset>();
    work->AppendField("CODICE", DataType::kChar, 8, false);
    work->AppendField("ABILITATO", DataType::kVarChar, 5);
    work->AppendField("DESCRIZIONE", DataType::kVarChar, 40);
    work->AppendField("COPIA", DataType::kVarChar, 40);
    work->Open();
    return work;
  };
  auto dump = [](Recordset& rs) {
    std::string out;
    for (rs.MoveFirst(); !rs.IsEof(); rs.MoveNext()) {
      for (int i = 0; i < rs.FieldCount(); ++i) out += rs.Field(i).DebugString() + "|";
      out += ";";
    }
    return out;
  };
  auto copied = make();
  copied->AppendRows(rs_, {0, 2, 1, -1});
  const std::string expected = dump(*copied);
  EXPECT_NE(expected.find("'A1      '|'1'|'Primo'|<null>|"), std::string::npos) << expected;

  auto clone = rs_.Clone();
  auto while_cloned = make();
  while_cloned->AppendRows(std::move(rs_), {0, 2, 1, -1});
  EXPECT_EQ(dump(*while_cloned), expected);
  EXPECT_EQ(Codes(*clone), "A1,B2,C3,D4,E5");
  clone->MoveFirst();
  EXPECT_EQ(clone->Field("DESCRIZIONE"), Value("Primo"));

  auto twice = make();
  clone.reset();
  twice->AppendRows(std::move(rs_), {0, 2, 1, 1});
  EXPECT_NE(dump(*twice).find("'A1      '|'1'|'Primo'|'Primo'|"), std::string::npos);

  auto taken = make();
  taken->AppendRows(std::move(rs_), {0, 2, 1, -1});
  EXPECT_EQ(dump(*taken), expected);
}

TEST_F(MemoryRecordsetTest, AppendRowsRefusesBadValuesAndAppendsNothing) {
  AddFive();
  Recordset work;
  work.AppendField("CODICE", DataType::kChar, 6, false);
  work.AppendField("N", DataType::kInteger);
  work.Open();
  // NULL into a field that does not allow it.
  EXPECT_EQ(ErrorNumber([&] { work.AppendRows(rs_, {-1, 2}); }), kErrFieldValue);
  // Every code fits (as read, padded to six) but one description does not;
  // nor would the padded codes fit a narrower field.
  Recordset wide;
  wide.AppendField("CODICE", DataType::kChar, 6, false);
  wide.AppendField("DESCRIZIONE", DataType::kChar, 6);
  wide.Open();
  EXPECT_EQ(ErrorNumber([&] { wide.AppendRows(rs_, {0, 1}); }), kErrFieldValue);  // "Secondo"
  EXPECT_EQ(wide.RecordCount(), 0);
  Recordset narrow;
  narrow.AppendField("CODICE", DataType::kChar, 2, false);
  narrow.Open();
  EXPECT_EQ(ErrorNumber([&] { narrow.AppendRows(rs_, {0}); }), kErrFieldValue);
  EXPECT_EQ(narrow.RecordCount(), 0);
  // Text that is not a number into a number field.
  EXPECT_THROW(work.AppendRows(rs_, {0, 1}), ConversionError);
  EXPECT_EQ(work.RecordCount(), 0);
  EXPECT_EQ(ErrorNumber([&] { work.AppendRows(rs_, {0, 3}); }), kErrBadArgument);  // no column 3
  work.AppendRows(rs_, {0, 2});
  EXPECT_EQ(work.RecordCount(), 5);
  Recordset closed;
  EXPECT_EQ(ErrorNumber([&] { work.AppendRows(closed, {0}); }), kErrClosed);
}

// A row appended whole is stored as SetField stores each value, is content
// (not pending) and leaves the cursor where it was.
TEST_F(MemoryRecordsetTest, AppendRowStoresValuesAsSetFieldDoes) {
  Recordset tree;
  tree.AppendField("KEY", DataType::kChar, 8, false);
  tree.AppendField("TEXT", DataType::kVarChar, 40);
  tree.AppendField("DITTA", DataType::kInteger);
  tree.AppendField("PESO", DataType::kDecimal);
  tree.AppendField("NOTE", DataType::kVarChar, 10);
  tree.Open();
  tree.AppendRow({Value("A1"), Value("Perché no"), Value("12"), Value(2)});
  const std::string long_text(35, 'x');
  tree.AppendRow({Value("Città"), Value(long_text), Value::Null(), Value("1.5"), Value()});
  EXPECT_EQ(tree.RecordCount(), 2);
  EXPECT_EQ(tree.PendingCount(), 0);
  EXPECT_TRUE(tree.BOF());  // appended before the first move: the cursor stays put
  tree.MoveFirst();
  EXPECT_EQ(tree.Field("KEY"), Value("A1      "));
  EXPECT_EQ(tree.Field("TEXT"), Value("Perché no"));
  EXPECT_EQ(tree.Field("DITTA"), Value(12));  // text converted as the field's type
  EXPECT_EQ(tree.Field("PESO"), Value(2.0));
  EXPECT_TRUE(tree.Field("NOTE").IsNull());  // past the values given
  tree.MoveNext();
  // Padded to eight characters, not eight bytes.
  EXPECT_EQ(tree.Field("KEY"), Value("Città   "));
  EXPECT_EQ(tree.Field("TEXT"), Value(long_text));
  EXPECT_TRUE(tree.Field("DITTA").IsNull());
  EXPECT_EQ(tree.Field("PESO"), Value(1.5));
  EXPECT_TRUE(tree.Field("NOTE").IsNull());  // Empty is stored as NULL
  // An edit of an appended row is pending as an edit of a row read.
  tree.SetField("NOTE", Value("nota"));
  tree.Update();
  EXPECT_EQ(tree.PendingCount(), 1);

  // Refused values append nothing.
  EXPECT_EQ(ErrorNumber([&] { tree.AppendRow({Value::Null()}); }), kErrFieldValue);
  EXPECT_EQ(ErrorNumber([&] { tree.AppendRow({Value("troppo lungo")}); }), kErrFieldValue);
  EXPECT_EQ(ErrorNumber([&] {
              tree.AppendRow({Value("B"), Value(std::string(41, 'y'))});
            }),
            kErrFieldValue);
  EXPECT_THROW(tree.AppendRow({Value("B"), Value(), Value("dodici")}), ConversionError);
  EXPECT_EQ(ErrorNumber([&] {
              tree.AppendRow({Value("B"), Value(), Value(), Value(), Value(), Value()});
            }),
            kErrBadArgument);  // six values, five fields
  EXPECT_EQ(tree.RecordCount(), 2);
  EXPECT_EQ(tree.AbsolutePosition(), 2);

  // A filter applies to appended rows; the clone sees them.
  auto clone = tree.Clone();
  tree.SetFilter("DITTA = 7");
  tree.AppendRow({Value("C"), Value(), Value(7)});
  tree.AppendRow({Value("D"), Value(), Value(8)});
  EXPECT_EQ(tree.RecordCount(), 1);
  EXPECT_EQ(clone->RecordCount(), 4);

  Recordset closed;
  EXPECT_EQ(ErrorNumber([&] { closed.AppendRow({Value("A")}); }), kErrClosed);
}

// AppendRow converts most values where they stand, and the form that reads
// from a buffer writes them over storage of an earlier row; what either
// stores, or refuses, must be what SetField does with the same value.
TEST_F(MemoryRecordsetTest, AppendRowStoresOrRefusesEachValueAsSetFieldDoes) {
  struct Field {
    DataType type;
    int32_t size;
  };
  const std::vector<Field> fields = {
      {DataType::kVarChar, 3}, {DataType::kVarChar, 0}, {DataType::kChar, 4},
      {DataType::kDecimal, 0}, {DataType::kInteger, 0}, {DataType::kSmallInt, 0},
      {DataType::kDouble, 0},  {DataType::kVariant, 0}, {DataType::kBoolean, 0},
  };
  const std::vector<Value> values = {
      Value(7),
      Value(-12),
      Value(1234),
      Value(int64_t{1} << 40),
      Value(2.5),
      Value("ab"),
      Value("abcd"),
      Value("Città"),
      Value("abcde"),
      Value(true),
      Value::Null(),
      Value(),
      Value(" 42 "),
      Value(int64_t{-70000}),
      Value(std::string(20, 'z')),
      Value(0),
      Value(10),
      Value(-3),
  };
  // What the storage lent to a row held before: another row's values.
  const std::vector<Value> earlier = {Value("123456789012345678901234567890"),
                                      Value("9"),
                                      Value(5),
                                      Value(0.25),
                                      Value::Null(),
                                      Value(false)};
  for (size_t f = 0; f < fields.size(); ++f) {
    for (const Value& value : values) {
      Recordset appended;
      Recordset set;
      for (Recordset* rs : {&appended, &set}) {
        rs->AppendField("F", fields[f].type, fields[f].size);
        rs->Open();
      }
      // What a field holds after `store`, or the failure it gave.
      auto outcome = [](Recordset& rs, const std::function<void()>& store) -> std::string {
        try {
          store();
          rs.MoveFirst();
          return rs.Field(0).DebugString();
        } catch (const ConversionError&) {
          return "ConversionError";
        } catch (const DbError& e) {
          return "DbError " + std::to_string(e.number());
        }
      };
      const std::string by_append = outcome(appended, [&] { appended.AppendRow({value}); });
      const std::string by_set = outcome(set, [&] {
        set.AddNew();
        set.SetField(0, value);
        set.Update();
      });
      EXPECT_EQ(by_append, by_set) << "field " << f << ", value " << value.DebugString();
      for (const Value& before : earlier) {
        Recordset read;
        read.AppendField("F", fields[f].type, fields[f].size);
        read.Open();
        std::vector<Value> buffer = {Value("other column"), value};
        const std::vector<int> columns = {1};
        const std::string by_buffer = outcome(read, [&] {
          read.AppendRow(buffer, columns, std::vector<Value>{before, Value(1)});
        });
        EXPECT_EQ(by_buffer, by_set) << "field " << f << ", value " << value.DebugString()
                                     << ", over " << before.DebugString();
      }
    }
  }
}

TEST_F(MemoryRecordsetTest, AppendRowFromABufferMapsColumnsAndChecksLikeAppendRow) {
  Recordset work;
  work.AppendField("CODICE", DataType::kChar, 6, false);
  work.AppendField("FLAG", DataType::kVarChar, 5);
  work.AppendField("DITTA", DataType::kDecimal);
  work.AppendField("NOTE", DataType::kVarChar, 10);
  work.Open();
  // Result columns in another order, one the recordset does not take.
  std::vector<Value> buffer = {Value(1), Value("ignored"), Value("A1"), Value(int64_t{7})};
  const std::vector<int> columns = {2, 0, 3, -1};
  std::vector<Value> storage = {Value("old code"), Value("0"), Value(3.0), Value("old note"),
                                Value("one more")};
  work.AppendRow(buffer, columns, std::move(storage));
  // The buffer is read into again for the next row; the row kept its values.
  buffer = {Value(0), Value(), Value("B22"), Value::Null()};
  work.AppendRow(buffer, columns, {});
  // Columns past the map, or past the buffer, are NULL.
  work.AppendRow(buffer, std::vector<int>{2, 0, 9}, {});
  EXPECT_EQ(work.RecordCount(), 3);
  EXPECT_EQ(work.PendingCount(), 0);
  work.MoveFirst();
  EXPECT_EQ(work.Field("CODICE"), Value("A1    "));
  EXPECT_EQ(work.Field("FLAG"), Value("1"));
  EXPECT_EQ(work.Field("DITTA"), Value(7.0));
  EXPECT_TRUE(work.Field("NOTE").IsNull());
  work.MoveNext();
  EXPECT_EQ(work.Field("CODICE"), Value("B22   "));
  EXPECT_EQ(work.Field("FLAG"), Value("0"));
  EXPECT_TRUE(work.Field("DITTA").IsNull());
  work.MoveNext();
  EXPECT_EQ(work.Field("FLAG"), Value("0"));
  EXPECT_TRUE(work.Field("DITTA").IsNull());

  // A value a field cannot hold appends nothing; a NULL key is refused.
  buffer = {Value(123456), Value(), Value("C3"), Value()};
  EXPECT_EQ(ErrorNumber([&] { work.AppendRow(buffer, columns, {}); }), kErrFieldValue);
  buffer = {Value(1), Value(), Value::Null(), Value()};
  EXPECT_EQ(ErrorNumber([&] { work.AppendRow(buffer, columns, {}); }), kErrFieldValue);
  EXPECT_EQ(work.RecordCount(), 3);

  Recordset closed;
  EXPECT_EQ(ErrorNumber([&] { closed.AppendRow(buffer, columns, {}); }), kErrClosed);
}

TEST_F(MemoryRecordsetTest, ReleaseRowsHandsBackTheValuesOfRowsNothingElseReads) {
  AddFive();
  {
    // A clone reads the rows: nothing is handed back, nothing changes.
    auto clone = rs_.Clone();
    EXPECT_TRUE(rs_.ReleaseRows().empty());
    EXPECT_EQ(Codes(*clone), "A1,B2,C3,D4,E5");
  }
  rs_.SetFilter("ABILITATO = 1");
  rs_.MoveFirst();
  rs_.MoveNext();
  std::vector<std::vector<Value>> rows = rs_.ReleaseRows();
  // Every row, filtered out or not, in row order, as stored.
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1], (std::vector<Value>{Value("B2    "), Value("Secondo"), Value(0)}));
  EXPECT_EQ(rows[4][1], Value("quinto"));
  // Open and empty; rows appended next are read as any others.
  EXPECT_TRUE(rs_.IsOpen());
  EXPECT_EQ(rs_.RecordCount(), 0);
  EXPECT_TRUE(rs_.BOF() && rs_.EOF_());
  rows[2][0] = Value("Z9");
  rs_.AppendRow(std::move(rows[2]));
  rs_.AppendRow({Value("Y8"), Value("Nuovo"), Value(0)});
  EXPECT_EQ(Codes(rs_), "Z9");  // under the filter
  rs_.ClearFilter();
  EXPECT_EQ(Codes(rs_), "Z9,Y8");
  EXPECT_EQ(rs_.PendingCount(), 0);

  Recordset closed;
  EXPECT_TRUE(closed.ReleaseRows().empty());
}

TEST_F(MemoryRecordsetTest, RowAtReadsTheVisibleRowsWithoutMovingTheCursor) {
  AddFive();
  rs_.MoveFirst();
  rs_.MoveNext();  // B2
  rs_.SetFilter("ABILITATO = 1");
  rs_.MoveLast();  // E5
  // The visible rows, in cursor order, as stored.
  ASSERT_EQ(rs_.RecordCount(), 3);
  const std::span<const Value> first = rs_.RowAt(0);
  EXPECT_EQ(std::vector<Value>(first.begin(), first.end()),
            (std::vector<Value>{Value("A1    "), Value("Primo"), Value(1)}));
  EXPECT_EQ(rs_.RowAt(1)[1], Value("L'altro"));
  EXPECT_EQ(rs_.RowAt(2)[0], Value("E5    "));
  EXPECT_EQ(rs_.AbsolutePosition(), 3);
  EXPECT_EQ(ErrorNumber([&] { rs_.RowAt(3); }), kErrBofOrEof);
  EXPECT_EQ(ErrorNumber([&] { rs_.RowAt(-1); }), kErrBofOrEof);
  // Rows deleted or appended through a clone are seen.
  auto clone = rs_.Clone();
  clone->MoveFirst();
  clone->Delete();  // A1
  clone->AddNew();
  clone->SetField("CODICE", Value("F6"));
  clone->SetField("ABILITATO", Value(1));
  clone->Update();
  ASSERT_EQ(rs_.RecordCount(), 3);
  EXPECT_EQ(rs_.RowAt(0)[0], Value("C3    "));
  EXPECT_EQ(rs_.RowAt(2)[0], Value("F6    "));
  EXPECT_TRUE(rs_.RowAt(2)[1].IsNull());

  Recordset closed;
  EXPECT_EQ(ErrorNumber([&] { closed.RowAt(0); }), kErrClosed);
}

// Fields set in bulk are stored as SetField stores them, as contents: no
// row becomes pending, no cursor moves, and a refusal changes nothing.
TEST_F(MemoryRecordsetTest, SetContentsStoresValuesAsSetFieldWithoutPendingChanges) {
  Recordset m;
  m.AppendField("CODICE", DataType::kChar, 4, false);
  m.AppendField("A", DataType::kVarChar, 5);
  m.AppendField("B", DataType::kVarChar, 5);
  m.AppendField("N", DataType::kInteger);
  m.Open();
  for (const char* code : {"R1", "R2", "R3", "R4"}) m.AppendRow({Value(code), Value("x")});
  std::vector<Recordset::Bookmark> rows;
  for (m.MoveFirst(); !m.EOF_(); m.MoveNext()) rows.push_back(m.GetBookmark());
  m.MoveFirst();
  m.MoveNext();  // on R2
  auto clone = m.Clone();

  m.SetContents({rows[0], rows[2]}, {1, 2}, Value(0));
  EXPECT_EQ(m.PendingCount(), 0);
  EXPECT_EQ(m.AbsolutePosition(), 2);
  EXPECT_EQ(m.Field("CODICE"), Value("R2  "));
  EXPECT_EQ(m.Field("A"), Value("x"));  // a row not named keeps its values
  // The value as SetField stores it in the same field.
  m.SetField("A", Value(0));
  m.Update();
  const Value stored = m.Field("A");
  EXPECT_EQ(m.PendingCount(), 1);
  clone->MoveFirst();
  EXPECT_EQ(clone->Field("A"), stored);
  EXPECT_EQ(clone->Field("B"), stored);
  clone->MoveNext();
  clone->MoveNext();
  EXPECT_EQ(clone->Field("A"), stored);
  clone->MoveNext();
  EXPECT_EQ(clone->Field("A"), Value("x"));
  EXPECT_TRUE(clone->Field("B").IsNull());
  // A pending row stays the one pending change.
  m.SetContents({rows[1], rows[3]}, {2}, Value("1"));
  EXPECT_EQ(m.PendingCount(), 1);
  EXPECT_EQ(m.Field("B"), Value("1"));

  // Refused: nothing changes, not even the fields or rows named first.
  auto unchanged = [&] {
    clone->MoveFirst();
    return clone->Field("A") == stored && clone->Field("B") == stored && clone->Field("N").IsNull();
  };
  EXPECT_EQ(ErrorNumber([&] {
              m.SetContents({rows[0]}, {1, 2}, Value("troppo"));
            }),
            kErrFieldValue);
  EXPECT_THROW(m.SetContents({rows[0]}, {1, 3}, Value("due")), ConversionError);
  EXPECT_EQ(ErrorNumber([&] { m.SetContents({rows[0]}, {1, 4}, Value(7)); }), kErrItemNotFound);
  EXPECT_EQ(ErrorNumber([&] { m.SetContents({rows[0], 99}, {1, 3}, Value(7)); }), kErrBadBookmark);
  EXPECT_EQ(ErrorNumber([&] { m.SetContents({rows[0], 0}, {3}, Value(7)); }), kErrBadBookmark);
  EXPECT_TRUE(unchanged());
  m.MoveLast();
  m.Delete();
  EXPECT_EQ(ErrorNumber([&] {
              m.SetContents({rows[0], rows[3]}, {3}, Value(7));
            }),
            kErrBadBookmark);
  EXPECT_TRUE(unchanged());
  m.SetContents({rows[0]}, {3}, Value("12"));
  clone->MoveFirst();
  EXPECT_EQ(clone->Field("N"), Value(12));  // converted as the field's type

  Recordset closed;
  EXPECT_EQ(ErrorNumber([&] { closed.SetContents({1}, {0}, Value(1)); }), kErrClosed);
}

TEST(RecordsetTest, ClosedAndMisusedRecordsetsFail) {
  Recordset rs;
  EXPECT_EQ(ErrorNumber([&] { rs.Open(); }), kErrBadArgument);  // no field
  EXPECT_EQ(ErrorNumber([&] { rs.MoveFirst(); }), kErrClosed);
  EXPECT_EQ(ErrorNumber([&] { rs.EOF_(); }), kErrClosed);
  rs.AppendField("A", DataType::kInteger);
  EXPECT_EQ(ErrorNumber([&] { rs.AppendField("a", DataType::kInteger); }), kErrBadArgument);
  rs.Open();
  EXPECT_TRUE(rs.IsOpen());
  EXPECT_EQ(ErrorNumber([&] { rs.AppendField("B", DataType::kInteger); }), kErrBadArgument);
  rs.Close();
  EXPECT_FALSE(rs.IsOpen());
  EXPECT_EQ(ErrorNumber([&] { rs.RecordCount(); }), kErrClosed);
}

}  // namespace
}  // namespace orv::db
