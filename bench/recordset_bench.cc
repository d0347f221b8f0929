// Client-side recordset work as the editor does it: the look-up filter over a
// whole revocation table read into memory, and reading fields by name.
#include <benchmark/benchmark.h>

#include <string>

#include "db/filter_expression.h"
#include "db/recordset.h"

namespace {

using orv::db::DataType;
using orv::db::Recordset;
using orv::db::Value;

// A revocation table's rows: principals, kinds and codes, a NULL per row.
void Fill(Recordset& rs, int rows) {
  rs.AppendField("FW31_ID_FW07", DataType::kInteger);
  rs.AppendField("FW31_ID_FW06", DataType::kInteger);
  rs.AppendField("FW31_INDTIPO", DataType::kInteger);
  rs.AppendField("FW31_CODTIPO", DataType::kVarChar, 25);
  rs.AppendField("FW31_DITTARAGG", DataType::kInteger);
  rs.Open();
  for (int i = 0; i < rows; ++i) {
    rs.AddNew();
    const bool user = i % 2 == 0;
    rs.SetField(0, user ? Value(i % 50) : Value::Null());
    rs.SetField(1, user ? Value::Null() : Value(i % 20));
    rs.SetField(2, Value(i % 4 == 0 ? 6 : 8));
    rs.SetField(3, Value("COD" + std::to_string(i)));
    rs.SetField(4, Value(1));
  }
  rs.Update();
}

void BM_LookupFilter(benchmark::State& state) {
  Recordset rs;
  Fill(rs, static_cast<int>(state.range(0)));
  const std::string criteria =
      " FW31_ID_FW07 = 10 AND FW31_ID_FW06 =  NULL AND FW31_INDTIPO = 6 AND FW31_CODTIPO = "
      "'COD1000' AND FW31_DITTARAGG = 1";
  for (auto _ : state) {
    rs.SetFilter(criteria);
    benchmark::DoNotOptimize(rs.EOF_());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LookupFilter)->Arg(1000)->Arg(20000);

void BM_ParseCriteria(benchmark::State& state) {
  const std::string criteria =
      "FW32_DITTA = 1 AND FW32_ID_FW07 = 5 AND FW32_ID_FW06 =  NULL AND FW32_TIPOCF = 0 AND "
      "FW32_CODMACRO = 'A''B' AND FW32_CODMIDDLE = 'X' AND FW32_CODRAGG = '' AND FW32_TIPORAGG = "
      "'AREA'";
  for (auto _ : state) {
    benchmark::DoNotOptimize(orv::db::FilterExpression::Parse(criteria));
  }
}
BENCHMARK(BM_ParseCriteria);

void BM_WalkReadingFieldsByName(benchmark::State& state) {
  Recordset rs;
  Fill(rs, 10000);
  for (auto _ : state) {
    int64_t sum = 0;
    for (rs.MoveFirst(); !rs.EOF_(); rs.MoveNext()) {
      sum += rs.Field("fw31_indtipo").AsInt() + rs.Field("FW31_DittaRagg").AsInt();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_WalkReadingFieldsByName);

}  // namespace

BENCHMARK_MAIN();
