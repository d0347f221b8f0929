// Arbitrary bytes as recordset filter criteria: parsing must either succeed
// or throw DbError, and a parsed filter must evaluate on every row without
// failing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "db/db_error.h"
#include "db/filter_expression.h"
#include "db/recordset.h"

namespace {

std::unique_ptr<orv::db::Recordset> MakeRows() {
  using orv::db::DataType;
  using orv::db::Value;
  auto rs = std::make_unique<orv::db::Recordset>();
  rs->AppendField("CODICE", DataType::kChar, 8);
  rs->AppendField("N", DataType::kInteger);
  rs->AppendField("D", DataType::kDouble);
  rs->AppendField("B", DataType::kBoolean);
  rs->AppendField("T", DataType::kVariant);
  rs->Open();
  const Value rows[][5] = {
      {Value("A1"), Value(1), Value(1.5), Value(true), Value("l'uno")},
      {Value("b2"), Value(-7), Value(0.0), Value(false), Value::Null()},
      {Value(""), Value::Null(), Value(1e300), Value::Null(), Value("  42 ")},
      {Value("x*%"), Value(2147483647), Value(-2.5), Value(true), Value("9999999999999999999999")},
  };
  for (const auto& row : rows) {
    rs->AddNew();
    for (int i = 0; i < 5; ++i) rs->SetField(i, row[i]);
    rs->Update();
  }
  return rs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::unique_ptr<orv::db::Recordset> rs = MakeRows();
  const std::string_view criteria(reinterpret_cast<const char*>(data), size);
  try {
    // The parser on its own, then through a recordset (which also binds the
    // names to fields and treats blank criteria as "no filter").
    (void)orv::db::FilterExpression::Parse(criteria).DebugString();
  } catch (const orv::db::DbError&) {
    // rejected criteria are fine; anything else escapes and is reported
  }
  try {
    rs->SetFilter(criteria);
  } catch (const orv::db::DbError&) {
    return 0;
  }
  // Walk what passed and read it back, then leave the rows unfiltered.
  for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) rs->Field(0);
  rs->ClearFilter();
  return 0;
}
