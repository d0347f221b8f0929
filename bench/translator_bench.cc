// Translation of the module's heaviest statements: the ten-SELECT batch of
// the customer/supplier tree and the project-node MERGE, first time (a new
// translator, nothing cached) and cached.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "db/sqlite/translator.h"

namespace {

using orv::db::sqlite::Translator;

struct Source {
  const char* select;
  const char* from;
  const char* join;
  const char* condition;
  const char* where;
  const char* order_by;
};

// The batch as the editor builds it for group 4 in company 1.
std::string CliforBatch() {
  const std::vector<Source> sources = {
      {" SELECT distinct P.MG07_DITTA_CG18, P.MG07_TIPOCF, P.MG07_MACROAREA, P.MG07_DESCRMACROAR, "
       "ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "        FROM MG07_MACROAREE FF cross apply dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, "
       "FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) P ",
       "        LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG07_TIPOCF AND FW32_DITTA = "
       "P.MG07_DITTA_CG18 ",
       "             AND P.MG07_MACROAREA = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' "
       "AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'AREA' ",
       "        WHERE P.MG07_DITTA_CG18 = ", " ORDER BY P.MG07_TIPOCF "},
      {" ; SELECT distinct P.MG08_DITTA_CG18, P.MG08_TIPOCF_MG07, P.MG08_MACROAREA_MG07, "
       "P.MG08_AREA, P.MG08_DESCRAREA, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG08_AREE FF cross apply dbo.FNMG08_AREE(FF.MG08_MACROAREA_MG07, "
       "FF.MG08_AREA, FF.MG08_DITTA_CG18, FF.MG08_TIPOCF_MG07) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG08_TIPOCF_MG07 AND FW32_DITTA = "
       "P.MG08_DITTA_CG18 AND P.MG08_MACROAREA_MG07 = FW32_CODMACRO ",
       "             AND FW32_CODMIDDLE = P.MG08_AREA AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND "
       "FW32_TIPORAGG = 'AREA' ",
       "          WHERE P.MG08_DITTA_CG18 = ", " ORDER BY P.MG08_TIPOCF_MG07 "},
      {" ; SELECT distinct P.MG09_DITTA_CG18, P.MG09_TIPOCF_MG08, P.MG09_MACROAREA_MG08, "
       "P.MG09_AREA_MG08, P.MG09_ZONA, P.MG09_DESCRZONA, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG09_ZONE FF cross apply dbo.FNMG09_ZONE(FF.MG09_MACROAREA_MG08, "
       "FF.MG09_AREA_MG08, FF.MG09_ZONA, FF.MG09_DITTA_CG18, FF.MG09_TIPOCF_MG08) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG09_TIPOCF_MG08 AND FW32_DITTA = "
       "P.MG09_DITTA_CG18 AND P.MG09_MACROAREA_MG08 = FW32_CODMACRO ",
       "             AND FW32_CODMIDDLE = P.MG09_AREA_MG08 AND P.MG09_ZONA = FW32_CODRAGG AND "
       "FW32_TIPORAGG = 'AREA' ",
       "          WHERE P.MG09_DITTA_CG18 = ", " ORDER BY P.MG09_TIPOCF_MG08 "},
      {" ; SELECT distinct P.MG10_DITTA_CG18, P.MG10_TIPOCF, P.MG10_MACROCAT, "
       "P.MG10_DESCRMACROCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG10_MACROCAT FF cross apply dbo.FNMG10_MACROCAT(FF.MG10_MACROCAT, "
       "FF.MG10_DITTA_CG18, FF.MG10_TIPOCF) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG10_TIPOCF AND FW32_DITTA = "
       "P.MG10_DITTA_CG18 AND ",
       "                 P.MG10_MACROCAT = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' AND "
       "RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'CAT' ",
       "          WHERE P.MG10_DITTA_CG18 = ", " ORDER BY MG10_TIPOCF "},
      {" ; SELECT distinct P.MG11_DITTA_CG18, P.MG11_TIPOCF_MG10, P.MG11_MACROCAT_MG10, "
       "P.MG11_CATEG, P.MG11_DESCRCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG11_CATEG FF cross apply dbo.FNMG11_CATEG(FF.MG11_MACROCAT_MG10, "
       "FF.MG11_CATEG, FF.MG11_DITTA_CG18, FF.MG11_TIPOCF_MG10) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG11_TIPOCF_MG10 AND FW32_DITTA = "
       "P.MG11_DITTA_CG18 AND P.MG11_MACROCAT_MG10 = FW32_CODMACRO ",
       "             AND FW32_CODMIDDLE = P.MG11_CATEG AND RTRIM(LTRIM(FW32_CODRAGG)) = '' AND "
       "FW32_TIPORAGG = 'CAT' ",
       "          WHERE P.MG11_DITTA_CG18 = ", " ORDER BY MG11_TIPOCF_MG10 "},
      {" ; SELECT P.MG12_DITTA_CG18, P.MG12_TIPOCF_MG11, P.MG12_MACROCAT_MG11, P.MG12_CATEG_MG11, "
       "P.MG12_SOTTCAT, P.MG12_DESCRSOTTOCAT, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG12_SOTTOCAT FF cross apply dbo.FNMG12_SOTTOCAT(FF.MG12_MACROCAT_MG11, "
       "FF.MG12_CATEG_MG11, FF.MG12_SOTTCAT, FF.MG12_DITTA_CG18, FF.MG12_TIPOCF_MG11) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG12_TIPOCF_MG11 AND FW32_DITTA = "
       "P.MG12_DITTA_CG18 AND P.MG12_MACROCAT_MG11 = FW32_CODMACRO ",
       "             AND FW32_CODMIDDLE = P.MG12_CATEG_MG11 AND P.MG12_SOTTCAT = FW32_CODRAGG AND "
       "FW32_TIPORAGG = 'CAT' ",
       "          WHERE P.MG12_DITTA_CG18 = ", " ORDER BY MG12_TIPOCF_MG11 "},
      {" ; SELECT distinct P.MG31_DITTA_CG18, P.MG31_TIPOCF, P.MG31_CODRAGGRCF1, "
       "P.MG31_DESCRAGGRCF1, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG31_RAGGRCF1 FF cross apply dbo.FNMG31_RAGGRCF1(FF.MG31_CODRAGGRCF1, "
       "FF.MG31_DITTA_CG18, FF.MG31_TIPOCF) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG31_TIPOCF AND FW32_DITTA = "
       "P.MG31_DITTA_CG18 ",
       "             AND P.MG31_CODRAGGRCF1 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG1' ",
       "          WHERE P.MG31_DITTA_CG18 = ", ""},
      {" ; SELECT distinct P.MG32_DITTA_CG18, P.MG32_TIPOCF, P.MG32_CODRAGGRCF2, "
       "P.MG32_DESCRAGGRCF2, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG32_RAGGRCF2 FF cross apply dbo.FNMG32_RAGGRCF2(FF.MG32_CODRAGGRCF2, "
       "FF.MG32_DITTA_CG18, FF.MG32_TIPOCF) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG32_TIPOCF AND FW32_DITTA = "
       "P.MG32_DITTA_CG18 ",
       "             AND P.MG32_CODRAGGRCF2 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG2' ",
       "          WHERE P.MG32_DITTA_CG18 = ", ""},
      {" ; SELECT distinct P.MG33_DITTA_CG18, P.MG33_TIPOCF, P.MG33_CODRAGGRCF3, "
       "P.MG33_DESCRAGGRCF3, ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM MG33_RAGGRCF3 FF cross apply dbo.FNMG33_RAGGRCF3(FF.MG33_CODRAGGRCF3, "
       "FF.MG33_DITTA_CG18, FF.MG33_TIPOCF) P ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG33_TIPOCF AND FW32_DITTA = "
       "P.MG33_DITTA_CG18 ",
       "             AND P.MG33_CODRAGGRCF3 = FW32_CODRAGG AND FW32_TIPORAGG = 'RAGG3' ",
       "          WHERE P.MG33_DITTA_CG18 = ", ""},
      {" ; SELECT distinct CG31_DITTA_CG18, CG31_CODICE, CG31_INDIRIZZO, "
       "ISNULL(FW32_FLGABILITATO, 1) AS CHECKED ",
       "          FROM CG31_ANADITTASEDI ",
       "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = -1 AND FW32_DITTA = CG31_DITTA_CG18 ",
       "             AND CG31_CODICE = FW32_CODRAGG AND FW32_TIPORAGG = 'SEDE' ",
       "          WHERE CG31_DITTA_CG18 = ", ""},
  };
  std::string batch;
  for (const Source& s : sources) {
    batch += std::string(s.select) + s.from + s.join + s.condition +
             " AND FW32_ID_FW07 IS NULL AND FW32_ID_FW06 =4" + s.where + "1" + s.order_by;
  }
  return batch;
}

std::string NodeMerge() {
  return " MERGE FW3N_RVKNODI AS target   \r\n"
         " USING (SELECT PROGETTO, CODICE, DITTARAG  \r\n"
         "         FROM ##tempT0123456789ABCDEF0123456789ABCDEF\r\n"
         "         where ABILITATO = 0) AS source (PROGETTO, CODICE, DITTARAG)   \r\n"
         " ON (target.FW3N_CODPROG_PD68 = source.PROGETTO \r\n"
         "     and target.FW3N_CODNODO = source.CODICE \r\n"
         "     and target.FW3N_DITTA_CG18 = source.DITTARAG \r\n"
         "     and target.FW3N_ID_FW06  =5\r\n"
         "     and target.FW3N_ID_FW07  IS NULL\r\n"
         "     ) \r\n"
         " WHEN NOT MATCHED BY SOURCE \r\n"
         "     and target.FW3N_DITTA_CG18 = 1\r\n"
         "     and target.FW3N_ID_FW06  =5\r\n"
         "     and target.FW3N_ID_FW07  IS NULL\r\n"
         "     THEN DELETE \r\n"
         " WHEN NOT MATCHED BY TARGET \r\n"
         "     THEN INSERT (FW3N_DITTA_CG18, FW3N_CODPROG_PD68, FW3N_CODNODO, FW3N_ID_FW06, "
         "FW3N_ID_FW07) VALUES (DITTARAG, PROGETTO, CODICE, 5,  NULL); \r\n";
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
