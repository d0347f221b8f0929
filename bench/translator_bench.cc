// Translation of the module's heaviest statements: the ten-SELECT batch of
// the customer/supplier tree and the project-node MERGE, first time (a new
// translator, nothing cached) and cached.
#include <benchmark/benchmark.h>

#include <string>

#include "db/sqlite/translator.h"
#include "db/value.h"
#include "sections/clifor/clifor_statements.h"
#include "sections/nodes/node_statements.h"
#include "store/principal.h"

namespace {

using orv::db::sqlite::Translator;

// The batch as the editor builds it for group 4 in company 1.
std::string CliforBatch() {
  return orv::sections::CliForStatements::TreeBatch(orv::store::Principal::Group(4), 1);
}

// The MERGE as the node section builds it for group 5 in company 1.
std::string NodeMerge() {
  return orv::sections::NodeStatements::Merge("##tempT0123456789ABCDEF0123456789ABCDEF",
                                              orv::db::Value::Null(), orv::db::Value(5), 1);
}

void TranslateFirstTime(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    Translator translator;
    benchmark::DoNotOptimize(translator.Translate(text));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void TranslateCached(benchmark::State& state, const std::string& text) {
  Translator translator;
  translator.Translate(text);
  for (auto _ : state) benchmark::DoNotOptimize(translator.Translate(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_CliforBatchFirstTime(benchmark::State& state) { TranslateFirstTime(state, CliforBatch()); }
void BM_CliforBatchCached(benchmark::State& state) { TranslateCached(state, CliforBatch()); }
void BM_NodeMergeFirstTime(benchmark::State& state) { TranslateFirstTime(state, NodeMerge()); }
void BM_NodeMergeCached(benchmark::State& state) { TranslateCached(state, NodeMerge()); }

BENCHMARK(BM_CliforBatchFirstTime);
BENCHMARK(BM_CliforBatchCached);
BENCHMARK(BM_NodeMergeFirstTime);
BENCHMARK(BM_NodeMergeCached);

}  // namespace

BENCHMARK_MAIN();
