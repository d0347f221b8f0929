// The translator's output structure: steps, routines, the cache, and the
// errors it gives for what it does not understand.
#include "db/sqlite/translator.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "db/db_error.h"
#include "db/sqlite/token.h"

namespace orv::db::sqlite {
namespace {

std::string Sql(std::string_view tsql) {
  Translator translator;
  std::shared_ptr<const Translation> t = translator.Translate(tsql);
  EXPECT_EQ(t->steps.size(), 1u) << tsql;
  return t->steps.empty() ? "" : t->steps[0].sql;
}

std::string ErrorOf(std::string_view tsql) {
  Translator translator;
  try {
    translator.Translate(tsql);
  } catch (const DbError& e) {
    EXPECT_EQ(e.number(), kErrProvider);
    EXPECT_FALSE(e.messages().empty());
    if (!e.messages().empty()) {
      EXPECT_EQ(e.messages()[0].source, "Translator");
    }
    return e.description();
  }
  return "no error";
}

// The customer/supplier tree batch, two of its ten statements as the editor
// builds them for group 4 in company 1.
const char kCliforBatch[] =
    " SELECT distinct P.MG07_DITTA_CG18, P.MG07_TIPOCF, P.MG07_MACROAREA, P.MG07_DESCRMACROAR, "
    "ISNULL(FW32_FLGABILITATO, 1) AS CHECKED "
    "        FROM MG07_MACROAREE FF cross apply dbo.FNMG07_MACROAREE(FF.MG07_MACROAREA, "
    "FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) P "
    "        LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG07_TIPOCF AND FW32_DITTA = "
    "P.MG07_DITTA_CG18 "
    "             AND P.MG07_MACROAREA = FW32_CODMACRO AND RTRIM(LTRIM(FW32_CODMIDDLE)) = '' AND "
    "RTRIM(LTRIM(FW32_CODRAGG)) = '' AND FW32_TIPORAGG = 'AREA' "
    " AND FW32_ID_FW07 IS NULL AND FW32_ID_FW06 =4"
    "        WHERE P.MG07_DITTA_CG18 = 1"
    " ORDER BY P.MG07_TIPOCF "
    " ; SELECT distinct CG31_DITTA_CG18, CG31_CODICE, CG31_INDIRIZZO, ISNULL(FW32_FLGABILITATO, 1) "
    "AS CHECKED "
    "          FROM CG31_ANADITTASEDI "
    "          LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = -1 AND FW32_DITTA = CG31_DITTA_CG18 "
    "             AND CG31_CODICE = FW32_CODRAGG AND FW32_TIPORAGG = 'SEDE' "
    " AND FW32_ID_FW07 IS NULL AND FW32_ID_FW06 =4"
    "          WHERE CG31_DITTA_CG18 = 1";

TEST(TranslatorTest, CustomerSupplierBatchBecomesOneStepPerSelect) {
  Translator translator;
  std::shared_ptr<const Translation> t = translator.Translate(kCliforBatch);
  ASSERT_EQ(t->steps.size(), 2u);
  for (const Step& s : t->steps) {
    EXPECT_EQ(s.kind, Step::Kind::kStatement);
    EXPECT_TRUE(s.returns_rows);
  }
  EXPECT_EQ(t->steps[0].sql,
            "SELECT DISTINCT P.MG07_DITTA_CG18, P.MG07_TIPOCF, P.MG07_MACROAREA, "
            "P.MG07_DESCRMACROAR, ifnull(FW32_FLGABILITATO, 1) AS CHECKED FROM MG07_MACROAREE AS "
            "FF JOIN FNMG07_MACROAREE(FF.MG07_MACROAREA, FF.MG07_DITTA_CG18, FF.MG07_TIPOCF) AS P "
            "LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG07_TIPOCF AND FW32_DITTA = "
            "P.MG07_DITTA_CG18 AND P.MG07_MACROAREA = FW32_CODMACRO AND "
            "rtrim(ltrim(FW32_CODMIDDLE)) COLLATE HOSTCI = '' AND rtrim(ltrim(FW32_CODRAGG)) "
            "COLLATE HOSTCI = '' AND FW32_TIPORAGG COLLATE HOSTCI = 'AREA' AND FW32_ID_FW07 IS "
            "NULL AND FW32_ID_FW06 = 4 WHERE P.MG07_DITTA_CG18 = 1 ORDER BY P.MG07_TIPOCF");
}

// Serves table functions defined by host text, as the driver serves those
// stored in its database.
class FunctionCatalog : public Catalog {
 public:
  void Define(std::string_view create_function) {
    Translator translator;
    routines_.push_back(translator.Translate(create_function)->steps.at(0).routine);
  }
  void Column(const std::string& table, const std::string& column, const std::string& type) {
    columns_[table + "." + column] = type;
  }
  bool IsTableFunction(std::string_view name) const override { return TableFunction(name); }
  std::string ColumnType(std::string_view table, std::string_view column) const override {
    auto it = columns_.find(std::string(table) + "." + std::string(column));
    return it == columns_.end() ? "" : it->second;
  }
  const Step::Routine* TableFunction(std::string_view name) const override {
    for (const Step::Routine& r : routines_) {
      if (EqualsIgnoreCase(r.name, name)) return &r;
    }
    return nullptr;
  }
  // `columns` of `table` are a unique key and never NULL.
  void Key(const std::string& table, std::vector<std::string> columns) {
    keys_[table] = std::move(columns);
  }
  bool IsRowKey(std::string_view table, const std::vector<std::string>& columns) const override {
    auto it = keys_.find(std::string(table));
    if (it == keys_.end()) return false;
    for (const std::string& k : it->second) {
      bool found = false;
      for (const std::string& c : columns) found = found || EqualsIgnoreCase(c, k);
      if (!found) return false;
    }
    return true;
  }
  bool IsNotNull(std::string_view table, std::string_view column) const override {
    auto it = keys_.find(std::string(table));
    if (it == keys_.end()) return false;
    for (const std::string& k : it->second) {
      if (EqualsIgnoreCase(k, column)) return true;
    }
    return false;
  }

 private:
  std::vector<Step::Routine> routines_;
  std::map<std::string, std::string> columns_;
  std::map<std::string, std::vector<std::string>> keys_;
};

TEST(TranslatorTest, AFunctionReadingItsCallersOwnRowIsReadFromThatRow) {
  FunctionCatalog catalog;
  catalog.Key("T", {"K", "D"});
  catalog.Define(
      "CREATE FUNCTION FNK (@k INT, @d INT) RETURNS TABLE AS RETURN SELECT K, D, NAME FROM T "
      "WHERE K = @k AND D = @d AND OLD = 0");
  catalog.Define(
      "CREATE FUNCTION FNK3 (@k INT, @d INT, @o INT) RETURNS TABLE AS RETURN SELECT K, NAME "
      "FROM T WHERE K = @k AND D = @d AND OLD = @o");
  catalog.Define(
      "CREATE FUNCTION FNKEY (@k INT, @d INT) RETURNS TABLE AS RETURN SELECT NAME "
      "FROM T WHERE D = @d AND K = @k");
  Translator translator(&catalog);
  auto sql = [&](std::string_view tsql) { return translator.Translate(tsql)->steps.at(0).sql; };

  // The function's row is the caller's: its columns are the caller's, its
  // other terms join the WHERE, and the ORDER BY names the caller's row too.
  EXPECT_EQ(sql("SELECT DISTINCT P.NAME, FF.K FROM T FF cross apply dbo.FNK(FF.K, FF.D) P "
                "LEFT JOIN X ON X.K = P.K WHERE P.D = 1 OR X.V = P.K ORDER BY P.K"),
            "SELECT DISTINCT FF.NAME, FF.K FROM T AS FF LEFT JOIN X ON X.K = FF.K WHERE "
            "(FF.OLD = 0) AND (FF.D = 1 OR X.V = FF.K) ORDER BY FF.K");
  EXPECT_EQ(sql("SELECT P.NAME FROM T FF cross apply dbo.FNK(FF.K, FF.D) P ORDER BY NAME"),
            "SELECT FF.NAME FROM T AS FF WHERE (FF.OLD = 0) ORDER BY FF.NAME");
  // Nothing left of its WHERE; a sub-select sees the row under the
  // function's name, and its own P is its own.
  EXPECT_EQ(sql("SELECT P.NAME, (SELECT MAX(Y.V) FROM Y WHERE Y.K = P.K) AS M FROM T FF "
                "cross apply dbo.FNKEY(FF.K, FF.D) P WHERE EXISTS (SELECT 1 FROM Y P WHERE "
                "P.K = FF.K)"),
            "SELECT FF.NAME, (SELECT max(Y.V) FROM Y WHERE Y.K = FF.K) AS M FROM T AS FF WHERE "
            "EXISTS (SELECT 1 FROM Y AS P WHERE P.K = FF.K)");

  // Where the two could differ, the function's row stays a row of its own.
  const char* const kJoinedByRowId[] = {
      // the caller's row may be NULLs: the function gives no row then
      "SELECT P.NAME FROM X LEFT JOIN T FF ON FF.K = X.K cross apply dbo.FNK(FF.K, FF.D) P",
      // a later outer join may give the caller's row NULLs too
      "SELECT P.NAME FROM T FF cross apply dbo.FNK(FF.K, FF.D) P RIGHT JOIN X ON X.K = P.K",
      "SELECT P.NAME FROM T FF cross apply dbo.FNK(FF.K, FF.D) P FULL JOIN X ON X.K = P.K",
      // an argument that is no column of the row
      "SELECT P.NAME FROM T FF cross apply dbo.FNK3(FF.K, FF.D, 0) P",
      // a "*" in the select list
      "SELECT P.NAME, COUNT(*) FROM T FF cross apply dbo.FNK(FF.K, FF.D) P GROUP BY P.NAME",
  };
  for (const char* tsql : kJoinedByRowId) {
    const std::string out = sql(tsql);
    EXPECT_NE(out.find("CROSS JOIN T AS P ON (P.rowid = FF.rowid"), std::string::npos)
        << tsql << " -> " << out;
  }
  const char* const kNotTheSameRow[] = {
      // the key's columns from two rows
      "SELECT P.NAME FROM T FF JOIN T G ON G.K = FF.D cross apply dbo.FNK(FF.K, G.D) P",
      // crosswise
      "SELECT P.NAME FROM T FF cross apply dbo.FNK(FF.D, FF.K) P",
      // another table with the same columns, or a sub-select
      "SELECT P.NAME FROM U FF cross apply dbo.FNK(FF.K, FF.D) P",
      "SELECT P.NAME FROM (SELECT K, D FROM T) FF cross apply dbo.FNK(FF.K, FF.D) P",
  };
  for (const char* tsql : kNotTheSameRow) {
    const std::string out = sql(tsql);
    EXPECT_NE(out.find("CROSS JOIN T AS P ON (P.K = coalesce("), std::string::npos)
        << tsql << " -> " << out;
  }
}

TEST(TranslatorTest, SimpleTableFunctionsAppliedBecomeJoinsInTheSameOrder) {
  FunctionCatalog catalog;
  catalog.Define(
      "CREATE FUNCTION dbo.FNMG07_MACROAREE (@MACROAREA VARCHAR(10), @DITTA INT, @TIPOCF "
      "SMALLINT) RETURNS TABLE AS RETURN ( SELECT MG07_DITTA_CG18, MG07_TIPOCF, MG07_MACROAREA, "
      "MG07_DESCRMACROAR FROM MG07_MACROAREE WHERE MG07_MACROAREA = @MACROAREA AND "
      "MG07_DITTA_CG18 = @DITTA AND MG07_TIPOCF = @TIPOCF AND MG07_FLGOBSOLETO = 0 )");
  Translator translator(&catalog);
  std::shared_ptr<const Translation> t = translator.Translate(kCliforBatch);
  ASSERT_EQ(t->steps.size(), 2u);
  EXPECT_EQ(t->steps[0].sql,
            "SELECT DISTINCT P.MG07_DITTA_CG18, P.MG07_TIPOCF, P.MG07_MACROAREA, "
            "P.MG07_DESCRMACROAR, ifnull(FW32_FLGABILITATO, 1) AS CHECKED FROM MG07_MACROAREE AS "
            "FF CROSS JOIN MG07_MACROAREE AS P ON (P.MG07_MACROAREA = "
            "coalesce(FF.MG07_MACROAREA, NULL) AND P.MG07_DITTA_CG18 = "
            "coalesce(FF.MG07_DITTA_CG18, NULL) AND P.MG07_TIPOCF = coalesce(FF.MG07_TIPOCF, NULL) "
            "AND P.MG07_FLGOBSOLETO = 0) "
            "LEFT JOIN FW32_RVKCLIFOR ON FW32_TIPOCF = P.MG07_TIPOCF AND FW32_DITTA = "
            "P.MG07_DITTA_CG18 AND P.MG07_MACROAREA = FW32_CODMACRO AND "
            "rtrim(ltrim(FW32_CODMIDDLE)) COLLATE HOSTCI = '' AND rtrim(ltrim(FW32_CODRAGG)) "
            "COLLATE HOSTCI = '' AND FW32_TIPORAGG COLLATE HOSTCI = 'AREA' AND FW32_ID_FW07 IS "
            "NULL AND FW32_ID_FW06 = 4 WHERE P.MG07_DITTA_CG18 = 1 ORDER BY P.MG07_TIPOCF");
  // Without an alias the function's name qualifies its columns.
  EXPECT_EQ(translator
                .Translate("SELECT FNMG07_MACROAREE.MG07_TIPOCF FROM X CROSS APPLY "
                           "dbo.FNMG07_MACROAREE(X.A, 1, X.T)")
                ->steps[0]
                .sql,
            "SELECT FNMG07_MACROAREE.MG07_TIPOCF FROM X CROSS JOIN MG07_MACROAREE AS "
            "FNMG07_MACROAREE ON (FNMG07_MACROAREE.MG07_MACROAREA = coalesce(X.A, NULL) AND "
            "FNMG07_MACROAREE.MG07_DITTA_CG18 = coalesce(1, NULL) AND "
            "FNMG07_MACROAREE.MG07_TIPOCF = coalesce(X.T, NULL) AND "
            "FNMG07_MACROAREE.MG07_FLGOBSOLETO = 0)");

  // Anything the join could not reproduce exactly keeps the function as a table.
  const char* const kKept[] = {
      // the select list takes every column: the join would add the table's others
      "SELECT * FROM X CROSS APPLY dbo.FN(X.A) P",
      "SELECT P.* FROM X CROSS APPLY dbo.FN(X.A) P",
      // a body that is more than plain columns of one table with a WHERE
      "SELECT X.A FROM X CROSS APPLY dbo.FNEXPR(X.A) P",
      "SELECT X.A FROM X CROSS APPLY dbo.FNTOP(X.A) P",
      "SELECT X.A FROM X CROSS APPLY dbo.FNSUB(X.A) P",
      "SELECT X.A FROM X CROSS APPLY dbo.FNQUAL(X.A) P",
      "SELECT X.A FROM X CROSS APPLY dbo.FNORDER(X.A) P",
      // fewer arguments than parameters
      "SELECT X.A FROM X CROSS APPLY dbo.FNTWO(X.A) P",
  };
  catalog.Define(
      "CREATE FUNCTION FN (@a INT) RETURNS TABLE AS RETURN SELECT B FROM Y WHERE A = @a");
  catalog.Define(
      "CREATE FUNCTION FNEXPR (@a INT) RETURNS TABLE AS RETURN SELECT B + 1 AS C FROM Y WHERE A = "
      "@a");
  catalog.Define("CREATE FUNCTION FNTOP (@a INT) RETURNS TABLE AS RETURN SELECT TOP 1 B FROM Y");
  catalog.Define(
      "CREATE FUNCTION FNSUB (@a INT) RETURNS TABLE AS RETURN SELECT B FROM Y WHERE A IN (SELECT "
      "A FROM Z WHERE Z.K = @a)");
  catalog.Define(
      "CREATE FUNCTION FNQUAL (@a INT) RETURNS TABLE AS RETURN SELECT B FROM Y WHERE Y.A = @a");
  catalog.Define(
      "CREATE FUNCTION FNORDER (@a INT) RETURNS TABLE AS RETURN SELECT B FROM Y WHERE A = @a "
      "ORDER BY B");
  catalog.Define(
      "CREATE FUNCTION FNTWO (@a INT, @b INT) RETURNS TABLE AS RETURN SELECT B FROM Y WHERE A = "
      "@a AND B = @b");
  for (const char* sql : kKept) {
    const std::string out = translator.Translate(sql)->steps.at(0).sql;
    EXPECT_EQ(out.find("CROSS JOIN"), std::string::npos) << sql << " -> " << out;
    EXPECT_NE(out.find(" JOIN FN"), std::string::npos) << sql << " -> " << out;
  }
}

TEST(TranslatorTest, ConversionsToTextFollowTheDeclaredTypeOfTheColumn) {
  FunctionCatalog catalog;
  catalog.Column("P", "CODE", "VARCHAR(25)");
  catalog.Column("P", "LONG", "NVARCHAR(40)");
  catalog.Column("P", "FIXED", "CHAR(5)");
  catalog.Column("P", "N", "INT");
  catalog.Column("F", "CODE", "VARCHAR(25)");
  catalog.Column("F", "N", "SMALLINT");
  const std::string kAny =
      "CASE WHEN typeof(%) = 'real' AND % = CAST(% AS INTEGER) THEN CAST(CAST(% AS INTEGER) AS "
      "TEXT) ELSE CAST(% AS TEXT) END";
  auto any = [&](const std::string& v) {
    std::string out;
    for (char c : kAny) out += c == '%' ? v : std::string(1, c);
    return out;
  };
  struct Case {
    std::string tsql;
    std::string sql;
  };
  const Case cases[] = {
      // text no longer than the target: nothing to do
      {"SELECT X.A FROM P X LEFT JOIN F ON convert(varchar(25), X.CODE) = F.CODE",
       "SELECT X.A FROM P AS X LEFT JOIN F ON X.CODE COLLATE HOSTCI = F.CODE"},
      {"SELECT CONVERT(NVARCHAR(MAX), LONG) AS L FROM P", "SELECT LONG COLLATE HOSTCI AS L FROM P"},
      // longer text is cut, fixed-length text and unknown columns as before
      {"SELECT CONVERT(VARCHAR(30), LONG) AS L FROM P",
       "SELECT substr(LONG, 1, 30) COLLATE HOSTCI AS L FROM P"},
      {"SELECT CONVERT(VARCHAR(10), LONG) AS L FROM P",
       "SELECT substr(LONG, 1, 10) COLLATE HOSTCI AS L FROM P"},
      {"SELECT CONVERT(VARCHAR(10), FIXED) AS L FROM P",
       "SELECT substr(" + any("FIXED") + ", 1, 10) COLLATE HOSTCI AS L FROM P"},
      {"SELECT CONVERT(VARCHAR(10), OTHER) AS L FROM P",
       "SELECT substr(" + any("OTHER") + ", 1, 10) COLLATE HOSTCI AS L FROM P"},
      // an integer column prints as its integer
      {"SELECT CONVERT(VARCHAR(10), P.N) AS L FROM P JOIN F ON F.N = P.N",
       "SELECT substr(CAST(P.N AS TEXT), 1, 10) COLLATE HOSTCI AS L FROM P JOIN F ON F.N = P.N"},
      // a bare name two tables have, or a table whose columns are not known
      {"SELECT CONVERT(VARCHAR(25), CODE) AS L FROM P, F",
       "SELECT substr(" + any("CODE") + ", 1, 25) COLLATE HOSTCI AS L FROM P, F"},
      {"SELECT CONVERT(VARCHAR(25), CODE) AS L FROM ##P",
       "SELECT substr(" + any("CODE") + ", 1, 25) COLLATE HOSTCI AS L FROM tempdb.\"##P\""},
      {"SELECT CONVERT(VARCHAR(25), CODE) AS L FROM P, (SELECT 1 AS CODE) S",
       "SELECT substr(" + any("CODE") +
           ", 1, 25) COLLATE HOSTCI AS L FROM P, (SELECT 1 AS CODE) "
           "AS S"},
      // the inner query's tables first
      {"SELECT (SELECT CONVERT(VARCHAR(25), CODE) FROM F) AS L FROM P",
       "SELECT (SELECT CODE COLLATE HOSTCI FROM F) AS L FROM P"},
  };
  Translator translator(&catalog);
  for (const Case& c : cases) {
    EXPECT_EQ(translator.Translate(c.tsql)->steps.at(0).sql, c.sql) << c.tsql;
  }
}

// '+' between texts is SQLite's '||'; a column counts as text when it is
// declared as text, since SQLite then stores every value of it as text.
TEST(TranslatorTest, TextColumnsConcatenateWithoutAHostCall) {
  FunctionCatalog catalog;
  catalog.Column("P", "CODE", "VARCHAR(25)");
  catalog.Column("P", "FIXED", "NCHAR(5)");
  catalog.Column("P", "N", "INT");
  Translator translator(&catalog);
  auto sql = [&](const std::string& tsql) { return translator.Translate(tsql)->steps.at(0).sql; };
  EXPECT_EQ(sql("SELECT CONVERT(VARCHAR(10), N) + ' - ' + CODE AS L FROM P"),
            "SELECT (substr(CAST(N AS TEXT), 1, 10) || ' - ' || CODE) COLLATE HOSTCI AS L FROM P");
  EXPECT_EQ(sql("SELECT P.FIXED + CODE FROM P"), "SELECT (P.FIXED || CODE) COLLATE HOSTCI FROM P");
  // A number, a column of unknown type or of a table not known: the host's
  // rules at run time.
  EXPECT_EQ(sql("SELECT CODE + N FROM P"), "SELECT tsql_add(CODE, N) FROM P");
  EXPECT_EQ(sql("SELECT 'x' + OTHER FROM P"), "SELECT tsql_add('x', OTHER) COLLATE HOSTCI FROM P");
  EXPECT_EQ(sql("SELECT 'x' + CODE FROM ##P"),
            "SELECT tsql_add('x', CODE) COLLATE HOSTCI FROM tempdb.\"##P\"");
}

TEST(TranslatorTest, RewritesOfNamesAndFunctions) {
  EXPECT_EQ(Sql("select [a b], \"c\", dbo.T.x, dbo.T.*, T.* from dbo.T"),
            "SELECT \"a b\", c, T.x, T.*, T.* FROM T");
  EXPECT_EQ(Sql("SELECT TOP 1 1 FROM FW3E_RVKDEPCOLL  WHERE FW3E_ID_FW07 IS NULL"),
            "SELECT 1 FROM FW3E_RVKDEPCOLL WHERE FW3E_ID_FW07 IS NULL LIMIT 1");
  EXPECT_EQ(Sql("SELECT NEWID()"), "SELECT tsql_newid() COLLATE HOSTCI");
  EXPECT_EQ(
      Sql("select * from ##tempTAB where INCLUSA=1 order by PROGETTO, CODICE"),
      "SELECT * FROM tempdb.\"##tempTAB\" WHERE INCLUSA = 1 ORDER BY PROGETTO COLLATE HOSTCI, "
      "CODICE COLLATE HOSTCI");
  // A SQLite keyword used as a host name is quoted.
  EXPECT_EQ(Sql("SELECT [order], abort FROM t"), "SELECT \"order\", \"abort\" FROM t");
  // Arithmetic on numbers stays plain '+', unknown operands go through tsql_add.
  EXPECT_EQ(Sql("SELECT 1 + 2 * 3, a + 1, 'x' + 'y', - -1"),
            "SELECT 1 + 2 * 3, tsql_add(a, 1), ('x' || 'y') COLLATE HOSTCI, -(-1)");
}

TEST(TranslatorTest, ProceduresAndTableFunctionsKeepTheirHostBody) {
  Translator translator;
  std::shared_ptr<const Translation> p = translator.Translate(
      "CREATE PROCEDURE dbo.SPFW_ReloadListaCFRevocatiGruppo @idgruppo INT, @nome VARCHAR(10)\r\n"
      "AS\r\nBEGIN\r\n  SET NOCOUNT ON;\r\n  DELETE FROM X WHERE G = @idgruppo\r\nEND\r\n");
  ASSERT_EQ(p->steps.size(), 1u);
  const Step& s = p->steps[0];
  EXPECT_EQ(s.kind, Step::Kind::kCreateRoutine);
  EXPECT_EQ(s.routine.type, Step::Routine::Type::kProcedure);
  EXPECT_EQ(s.routine.name, "SPFW_ReloadListaCFRevocatiGruppo");
  EXPECT_EQ(s.routine.params, (std::vector<std::string>{"@idgruppo", "@nome"}));
  EXPECT_EQ(s.routine.param_types, (std::vector<std::string>{"INT", "VARCHAR(10)"}));
  EXPECT_EQ(s.routine.body, "SET NOCOUNT ON;\r\n  DELETE FROM X WHERE G = @idgruppo");

  std::shared_ptr<const Translation> f = translator.Translate(
      "CREATE FUNCTION dbo.FNMG07_MACROAREE (@macro VARCHAR(10), @ditta INT, @tipo SMALLINT) "
      "RETURNS TABLE AS RETURN (SELECT * FROM MG07_MACROAREE WHERE MG07_MACROAREA = @macro)");
  ASSERT_EQ(f->steps.size(), 1u);
  EXPECT_EQ(f->steps[0].routine.type, Step::Routine::Type::kTableFunction);
  EXPECT_EQ(f->steps[0].routine.name, "FNMG07_MACROAREE");
  EXPECT_EQ(f->steps[0].routine.params.size(), 3u);
  EXPECT_EQ(f->steps[0].routine.body, "SELECT * FROM MG07_MACROAREE WHERE MG07_MACROAREA = @macro");
  // The body is checked when the routine is created.
  EXPECT_EQ(ErrorOf("CREATE PROCEDURE P AS\n  SELECT 1 FROM t WHERE x ^ 1 = 0"),
            "Translator: unsupported construct bitwise exclusive or '^' at line 2, column 27");

  std::shared_ptr<const Translation> e =
      translator.Translate("EXEC SPFW_ReloadListaCFRevocatiUtente @idutente = 12, 'x' + 'y'");
  ASSERT_EQ(e->steps.size(), 1u);
  EXPECT_EQ(e->steps[0].kind, Step::Kind::kExecProcedure);
  EXPECT_EQ(e->steps[0].exec_name, "SPFW_ReloadListaCFRevocatiUtente");
  EXPECT_EQ(e->steps[0].exec_arg_names, (std::vector<std::string>{"@idutente", ""}));
  EXPECT_EQ(e->steps[0].exec_arg_sql, (std::vector<std::string>{"12", "'x' || 'y'"}));
}

TEST(TranslatorTest, TableDefinitionsKeepHostTypesWithTheHostCollation) {
  EXPECT_EQ(
      Sql("CREATE TABLE [dbo].[FW95_SETTINGS] ([FW95_ID] [int] IDENTITY(1,1) NOT NULL, "
          "[FW95_CODICE] [varchar](50) NOT NULL, FW95_VALORE NVARCHAR(MAX) NULL "
          "DEFAULT (''), FW95_N DECIMAL(18, 2) DEFAULT ((0)), FW95_D DATETIME DEFAULT "
          "GETDATE(), FW95_F FLOAT, CONSTRAINT [PK_FW95] PRIMARY KEY CLUSTERED ([FW95_ID] "
          "ASC) WITH (PAD_INDEX = OFF) ON [PRIMARY], CONSTRAINT UQ UNIQUE (FW95_CODICE), "
          "CHECK (FW95_N >= 0)) ON [PRIMARY]"),
      "CREATE TABLE FW95_SETTINGS (FW95_ID INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, "
      "FW95_CODICE VARCHAR(50) COLLATE HOSTCI CONSTRAINT \"truncated:FW95_SETTINGS.FW95_CODICE\" "
      "CHECK (length(rtrim(FW95_CODICE, ' ')) <= 50) NOT NULL, FW95_VALORE CLOB COLLATE HOSTCI "
      "DEFAULT (''), FW95_N DECIMAL(18,2) DEFAULT ((0)), FW95_D DATETIME DEFAULT "
      "(strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')), FW95_F FLOAT, CONSTRAINT UQ "
      "UNIQUE (FW95_CODICE), CHECK (FW95_N >= 0))");
  // A key refuses NULL as on the host; an INT key is no rowid (INTEGER would be).
  // Text longer than its declared length is refused, trailing blanks aside.
  EXPECT_EQ(Sql("CREATE TABLE ##w (A INT PRIMARY KEY, B CHAR(3))"),
            "CREATE TABLE tempdb.\"##w\" (A INT PRIMARY KEY NOT NULL, B CHAR(3) COLLATE HOSTCI "
            "CONSTRAINT \"truncated:##w.B\" CHECK (length(rtrim(B, ' ')) <= 3))");
  EXPECT_EQ(
      Sql("CREATE TABLE T (A integer NOT NULL, B SmallInt, C tinyint, D bigint, E bit, "
          "F nchar(2), G nvarchar(40), H sysname, I text, J ntext, K uniqueidentifier, "
          "L numeric(5), M money, N real, O date, P datetime2(3), Q time, R varbinary(max), "
          "CONSTRAINT PK_T PRIMARY KEY (A, [b]))"),
      "CREATE TABLE T (A INT NOT NULL, B SMALLINT NOT NULL, C TINYINT, D BIGINT, E BIT, "
      "F NCHAR(2) COLLATE HOSTCI CONSTRAINT \"truncated:T.F\" CHECK (length(rtrim(F, ' ')) <= "
      "2), G NVARCHAR(40) COLLATE HOSTCI CONSTRAINT \"truncated:T.G\" CHECK "
      "(length(rtrim(G, ' ')) <= 40), H NVARCHAR(128) COLLATE "
      "HOSTCI, I TEXT COLLATE HOSTCI, J NTEXT COLLATE HOSTCI, K UNIQUEIDENTIFIER COLLATE "
      "HOSTCI, L NUMERIC(5), M MONEY, N REAL, O DATE, P DATETIME2(3), Q TIME, R BLOB, "
      "CONSTRAINT PK_T PRIMARY KEY (A, b))");
  EXPECT_EQ(Sql("CREATE INDEX IX_A ON ##w (B DESC, A) INCLUDE (C)"),
            "CREATE INDEX tempdb.IX_A ON \"##w\" (B DESC, A)");
}

TEST(TranslatorTest, OrderByNameOfAQualifiedSelectColumnNamesThatColumn) {
  // Both FF and P have TIPO: the host sorts by the select-list column.
  EXPECT_EQ(Sql("SELECT P.TIPO, FF.ID AS K FROM FF cross apply dbo.FN(FF.ID) P ORDER BY tipo DESC, "
                "K, FF.TIPO, 2, LEN(TIPO)"),
            "SELECT P.TIPO, FF.ID AS K FROM FF JOIN FN(FF.ID) AS P ORDER BY P.TIPO DESC, K, "
            "FF.TIPO, 2, length(rtrim(TIPO))");
  // dbo.T.X, [quoted] names; a column not in the list stays as written.
  EXPECT_EQ(Sql("SELECT dbo.A.[X Y], A.Z FROM A JOIN B ON A.K = B.K ORDER BY [x y], W"),
            "SELECT A.\"X Y\", A.Z FROM A JOIN B ON A.K = B.K ORDER BY A.\"X Y\", W");
  // A compound is sorted by its first SELECT's columns.
  EXPECT_EQ(Sql("SELECT A.X FROM A JOIN B ON A.K = B.K UNION SELECT C.Y FROM C ORDER BY X"),
            "SELECT A.X FROM A JOIN B ON A.K = B.K UNION SELECT C.Y FROM C ORDER BY A.X");
  EXPECT_EQ(Sql("SELECT X FROM A UNION SELECT C.Y FROM C ORDER BY Y"),
            "SELECT X FROM A UNION SELECT C.Y FROM C ORDER BY Y");
  // Over a temporary table the column keeps the host's collation.
  EXPECT_EQ(Sql("SELECT T.C FROM ##t T ORDER BY C"),
            "SELECT T.C FROM tempdb.\"##t\" AS T ORDER BY T.C COLLATE HOSTCI");
}

TEST(TranslatorTest, UnknownConstructsAreNamedWithTheirPosition) {
  struct Case {
    const char* tsql;
    const char* message;
  };
  const Case cases[] = {
      {"SELECT a FROM t OUTER APPLY dbo.F(t.x) P",
       "unsupported construct OUTER APPLY at line 1, column 17"},
      {"SELECT a\r\nFROM t\r\nWHERE SOUNDEX(a) = 1",
       "unsupported construct function SOUNDEX at line 3, column 7"},
      {"DECLARE @x INT", "unsupported construct DECLARE at line 1, column 1"},
      {"SELECT TOP 10 PERCENT a FROM t",
       "unsupported construct TOP ... PERCENT at line 1, column 8"},
      {"SELECT CONVERT(VARCHAR(10), d, 103) FROM t",
       "unsupported construct CONVERT with a style at line 1, column 30"},
      {"SELECT a FROM t WHERE a LIKE '[a-c]%'",
       "unsupported construct LIKE pattern with [ ] character classes at line 1, column 30"},
      {"SELECT a FROM", "expected a table name at end of text at line 1, column 14"},
      {"SELECT a FROM t WHERE", "expected an expression at end of text at line 1, column 22"},
      {"UPDATE t SET a = 1 FROM t JOIN u ON u.k = t.k",
       "unsupported construct UPDATE whose target also appears in its FROM clause at line 1, "
       "column 1"},
      {"DELETE t FROM t JOIN u ON u.k = t.k",
       "unsupported construct DELETE with a FROM clause (join delete) at line 1, column 10"},
      {" if object_id('tempdb..') is not null  BEGIN  DROP TABLE  END ",
       "OBJECT_ID without an object name near 'object_id' at line 1, column 5"},
      {"SELECT a FROM x.y.t", "unknown schema y near 'x' at line 1, column 15"},
      {"MERGE t USING s AS x ON t.a = x.a WHEN MATCHED THEN UPDATE SET a = 1 "
       "WHEN MATCHED THEN DELETE;",
       "unsupported construct two MERGE clauses of the same kind at line 1, column 70"},
      {"SELECT a b c FROM t", "expected a statement near 'c' at line 1, column 12"},
      {"CREATE TABLE t (a GEOGRAPHY)",
       "unsupported construct column type GEOGRAPHY at line 1, column 17"},
      {"SELECT 1 = 1",
       "a condition cannot be a select-list column at end of text at line 1, column 13"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorOf(c.tsql), "Translator: " + std::string(c.message)) << c.tsql;
  }
}

TEST(TranslatorTest, HostileTextFailsCleanly) {
  // Deep nesting ends in an error, not in a stack overflow.
  std::string deep = "SELECT " + std::string(5000, '(') + "1" + std::string(5000, ')');
  EXPECT_NE(ErrorOf(deep).find("statement nested too deeply"), std::string::npos);
  std::string nots = "SELECT 1 WHERE ";
  for (int i = 0; i < 5000; ++i) nots += "NOT ";
  EXPECT_NE(ErrorOf(nots + "1 = 1").find("statement nested too deeply"), std::string::npos);
  // SQLite would cut the text at a NUL byte.
  EXPECT_EQ(ErrorOf(std::string("SELECT 'a\0b'", 13)),
            "Translator: NUL character in a string literal at line 1, column 10");
  // Moderate nesting, as real statements have, is fine.
  EXPECT_EQ(Sql("SELECT ((((1 + 2)))) WHERE NOT NOT (1 = 1)"),
            "SELECT ((((1 + 2)))) WHERE NOT NOT (1 = 1)");
}

TEST(TranslatorTest, CacheReturnsTheSameTranslationAndIsBounded) {
  Translator translator;
  auto first = translator.Translate("SELECT 1");
  auto again = translator.Translate("SELECT 1");
  EXPECT_EQ(first.get(), again.get());
  EXPECT_EQ(translator.cache_hits(), 1u);
  EXPECT_EQ(translator.cache_size(), 1u);
  for (int i = 0; i < 600; ++i) translator.Translate("SELECT " + std::to_string(i));
  EXPECT_EQ(translator.cache_size(), 512u);
  // "SELECT 1" was pushed out long ago; the most recent ones stay.
  size_t hits = translator.cache_hits();
  translator.Translate("SELECT 599");
  EXPECT_EQ(translator.cache_hits(), hits + 1);
  translator.Translate("SELECT 2");
  EXPECT_EQ(translator.cache_hits(), hits + 1);
  // A failed translation is not cached.
  EXPECT_THROW(translator.Translate("SELECT FROM"), DbError);
  EXPECT_THROW(translator.Translate("SELECT FROM"), DbError);
}

// The literals of a shared translation as "i:5" and "t:x".
std::string LiteralsText(const std::vector<Literal>& literals) {
  std::string out;
  for (const Literal& l : literals) {
    out +=
        (out.empty() ? "" : " ") + (l.is_text ? "t:" + l.text : "i:" + std::to_string(l.integer));
  }
  return out;
}

TEST(TranslatorTest, SharedTranslationsTakeValueConstantsAsParameters) {
  struct Case {
    const char* tsql;
    const char* sql;  // null: as the text translates on its own
    const char* literals;
  };
  const Case cases[] = {
      {"INSERT INTO T (A, B, C) VALUES (12, 'it''s', NULL)",
       "INSERT INTO T (A, B, C) VALUES (?1, ?2, NULL)", "i:12 t:it's"},
      {"UPDATE T SET A = -3, B = 'x' WHERE C = 'y' AND D IN (1, 2)",
       "UPDATE T SET A = -?1, B = ?2 WHERE C COLLATE HOSTCI = ?3 AND D IN (?4, ?5)",
       "i:3 t:x t:y i:1 i:2"},
      // decimals and TOP counts stay; an aliased column takes a parameter
      {"SELECT TOP 5 1.5 AS X, 7 AS Y FROM T WHERE A = 2.25",
       "SELECT 1.5 AS X, ?1 AS Y FROM T WHERE A = 2.25 LIMIT 5", "i:7"},
      // a column without an alias is named after its text; positions stay
      {"SELECT 1, A + 2 FROM T GROUP BY 2 ORDER BY 1, 'z'",
       "SELECT 1, tsql_add(A, 2) FROM T GROUP BY 2 ORDER BY 1, 'z' COLLATE HOSTCI", ""},
      // a LIKE pattern stays as checked
      {"DELETE FROM T WHERE A LIKE 'a%' AND B = 4", "DELETE FROM T WHERE A LIKE 'a%' AND B = ?1",
       "i:4"},
      // definitions and SELECT ... INTO keep their constants
      {"SELECT 3 AS N INTO ##t FROM T WHERE A = 'k'",
       "CREATE TABLE tempdb.\"##t\" AS SELECT 3 AS N FROM T WHERE A COLLATE HOSTCI = 'k'", ""},
      {"CREATE TABLE T (A INT DEFAULT 0)", nullptr, ""},
  };
  for (const Case& c : cases) {
    Translator translator;
    std::vector<Literal> literals;
    std::shared_ptr<const Translation> t = translator.TranslateShared(c.tsql, &literals);
    ASSERT_EQ(t->steps.size(), 1u) << c.tsql;
    EXPECT_EQ(t->steps[0].sql, c.sql ? c.sql : Sql(c.tsql)) << c.tsql;
    EXPECT_EQ(LiteralsText(literals), c.literals) << c.tsql;
  }
  Translator plain;
  EXPECT_EQ(plain.Translate("UPDATE T SET A = 1")->steps[0].sql, "UPDATE T SET A = 1");
}

TEST(TranslatorTest, TextsDifferingInConstantsShareOneTranslation) {
  Translator translator;
  std::vector<Literal> first;
  std::vector<Literal> second;
  auto a = translator.TranslateShared("UPDATE T SET F = 0 WHERE U = 7 AND C = 'A1'", &first);
  auto b = translator.TranslateShared("UPDATE T SET F = 1 WHERE U = 8 AND C = 'B''2'", &second);
  EXPECT_EQ(a.get(), b.get());
  EXPECT_EQ(LiteralsText(first), "i:0 i:7 t:A1");
  EXPECT_EQ(LiteralsText(second), "i:1 i:8 t:B'2");
  // Another kept constant (here the position sorted by) is another translation.
  auto c = translator.TranslateShared("SELECT A, B FROM T WHERE C = 1 ORDER BY 1", &first);
  auto d = translator.TranslateShared("SELECT A, B FROM T WHERE C = 2 ORDER BY 2", &second);
  EXPECT_NE(c.get(), d.get());
  EXPECT_EQ(d->steps[0].sql, "SELECT A, B FROM T WHERE C = ?1 ORDER BY 2");
  EXPECT_EQ(LiteralsText(second), "i:2");
  // A number where there was a text is another shape.
  auto e = translator.TranslateShared("UPDATE T SET F = 'x' WHERE U = 7 AND C = 'A1'", &first);
  EXPECT_NE(a.get(), e.get());
}

}  // namespace
}  // namespace orv::db::sqlite
