// What a host sees of the module's values and rows through the public
// headers: host::Variant both ways, and a recordset as a host::RowSource.
#include "zere_orvelka/row_source.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "db/value_variant.h"

namespace orv::db {
namespace {

TEST(ValueVariantTest, EveryKindCrossesBothWaysUnchanged) {
  const std::vector<Value> values = {
      Value(),     Value::Null(), Value(0),   Value(-7),    Value(int64_t{1} << 40),
      Value(2.5),  Value(""),     Value("0"), Value("l'x"), Value(true),
      Value(false)};
  for (const Value& value : values) {
    const host::Variant variant = ToVariant(value);
    EXPECT_EQ(static_cast<int>(variant.type()), static_cast<int>(value.type()))
        << value.DebugString();
    EXPECT_EQ(FromVariant(variant), value) << value.DebugString();
  }
  // The kinds are told apart: text "1", the integer 1 and true differ.
  EXPECT_NE(ToVariant(Value("1")), ToVariant(Value(1)));
  EXPECT_NE(ToVariant(Value(1)), ToVariant(Value(true)));
  EXPECT_NE(ToVariant(Value()), ToVariant(Value::Null()));
  EXPECT_EQ(ToVariant(Value("abc")).AsText(), "abc");
  EXPECT_EQ(ToVariant(Value(12)).AsInt(), 12);
}

// A host grid walks the rows, reads a field, moves to a row and writes a
// check box, all through RowSource.
TEST(RecordsetRowSourceTest, AHostGridReadsMovesAndWritesThroughTheInterface) {
  auto recordset = std::make_shared<Recordset>();
  recordset->AppendField("CODICE", DataType::kVarChar, 10);
  recordset->AppendField("ABILITATO", DataType::kVarChar, 5);
  recordset->Open();
  for (const char* code : {"01", "02", "A"}) {
    recordset->AddNew();
    recordset->SetField("CODICE", Value(code));
    recordset->SetField("ABILITATO", Value("1"));
    recordset->Update();
  }
  recordset->SetFilter("CODICE <> '02'");
  std::shared_ptr<host::RowSource> rows = recordset;

  ASSERT_EQ(rows->FieldCount(), 2);
  EXPECT_EQ(rows->FieldName(1), "ABILITATO");
  EXPECT_EQ(rows->FieldIndex("abilitato"), 1);
  EXPECT_EQ(rows->FieldIndex("MISSING"), -1);
  EXPECT_EQ(rows->RecordCount(), 2);
  std::vector<std::string> codes;
  for (rows->MoveFirst(); !rows->IsEof(); rows->MoveNext()) {
    codes.push_back(rows->FieldValue(0).AsText());
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"01", "A"})) << "the filter holds for the host";

  rows->MoveFirst();
  rows->MoveNext();
  rows->SetFieldValue(1, host::Variant("0"));
  EXPECT_EQ(recordset->Field("CODICE"), Value("A"));
  EXPECT_EQ(recordset->Field("ABILITATO"), Value("0")) << "the module sees the host's write";
}

}  // namespace
}  // namespace orv::db
