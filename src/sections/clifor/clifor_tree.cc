#include "sections/clifor/clifor_tree.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/ascii.h"
#include "db/db_error.h"
#include "db/recordset.h"
#include "db/value.h"
#include "sections/clifor/clifor_section.h"

namespace orv::sections {

namespace {

// The fields of the tree rowset, in order.
enum TreeField : int {
  kPadreKey,
  kKey,
  kText,
  kImage,
  kTag,
  kChecked,
  kChecked2,
  kDitta,
  kTipoCF,
  kCodMacro,
  kCodMiddle,
  kCodRagg,
  kTipoRagg,
  kCodice,
  kFieldCount,
};

// The parts joined, sized once.
std::string Cat(std::initializer_list<std::string_view> parts) {
  size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  std::string out;
  out.reserve(size);
  for (std::string_view part : parts) out += part;
  return out;
}

std::string Upper(std::string_view s) { return db::AsciiUpper(s); }

// Appends the rows of the tree. Codes are taken from the result as stored.
class TreeWriter {
 public:
  TreeWriter(db::Recordset& tree, std::string company)
      : tree_(tree), company_(std::move(company)) {}

  void Heading(std::string_view prefix, std::string_view text) {
    std::vector<db::Value> row(kFieldCount, db::Value::Null());
    row[kKey] = db::Value(Cat({prefix, company_}));
    row[kText] = db::Value(text);
    row[kImage] = db::Value("open");
    tree_.AppendRow(std::move(row));
  }

  // One branch row; empty codes are left Null.
  void Branch(std::string parent, std::string key, std::string text, std::string_view checked,
              const db::Value& ditta, const db::Value& tipocf, const db::Value& macro,
              const db::Value& middle, const db::Value& ragg, std::string_view tiporagg) {
    std::vector<db::Value> row(kFieldCount, db::Value::Null());
    row[kPadreKey] = db::Value(std::move(parent));
    row[kKey] = db::Value(std::move(key));
    row[kText] = db::Value(std::move(text));
    row[kImage] = db::Value("Raggruppamento");
    row[kChecked] = db::Value(checked);
    row[kChecked2] = db::Value("1");
    row[kDitta] = ditta;
    row[kTipoCF] = tipocf;
    if (!macro.IsEmpty()) row[kCodMacro] = macro;
    if (!middle.IsEmpty()) row[kCodMiddle] = middle;
    if (!ragg.IsEmpty()) row[kCodRagg] = ragg;
    row[kTipoRagg] = db::Value(tiporagg);
    tree_.AppendRow(std::move(row));
  }

 private:
  db::Recordset& tree_;
  std::string company_;
};

// Column indices of one result, resolved once by name.
class Columns {
 public:
  Columns(const db::Recordset& rs, std::initializer_list<std::string_view> names)
      : Columns(rs, std::vector<std::string_view>(names)) {}
  template <typename Names>
  Columns(const db::Recordset& rs, const Names& names) : rs_(rs) {
    for (std::string_view name : names) {
      const int index = rs.FieldIndex(name);
      if (index < 0) {
        throw db::DbError(db::kErrItemNotFound,
                          "Item cannot be found in the collection corresponding to the requested "
                          "name or ordinal.");
      }
      index_.push_back(index);
    }
    scratch_.resize(index_.size());
  }
  const db::Value& operator[](size_t i) const { return rs_.Field(index_[i]); }
  // The value as the host language's "&" joins it (Null and Empty give ""):
  // text as stored, without a copy; valid until the next call for `i` or
  // the next row.
  std::string_view text(size_t i) const {
    const db::Value& value = (*this)[i];
    if (value.type() == db::Value::Type::kText) return value.AsText();
    scratch_[i] = value.IsNull() || value.IsEmpty() ? std::string() : value.ToText();
    return scratch_[i];
  }

 private:
  const db::Recordset& rs_;
  std::vector<int> index_;
  mutable std::vector<std::string> scratch_;
};

// Walks every row of a result.
template <typename Row>
void ForEachRow(db::Recordset& rs, Row&& row) {
  if (!rs.IsOpen() || rs.RecordCount() == 0) return;
  for (rs.MoveFirst(); !rs.IsEof(); rs.MoveNext()) row();
}

void FillRows(db::Recordset& tree, CliForTree::Results& results, const std::string& c) {
  TreeWriter out(tree, c);
  constexpr std::string_view dot = ".";
  const db::Value none;  // Empty: the code is left Null

  out.Heading("G.AREE_", "MacroArea/Area/Zona");
  {
    db::Recordset& rs = *results[0];
    Columns f(rs,
              {"MG07_DITTA_CG18", "MG07_TIPOCF", "MG07_MACROAREA", "MG07_DESCRMACROAR", "CHECKED"});
    const std::string parent = Cat({"G.AREE_", c});
    ForEachRow(rs, [&] {
      out.Branch(parent, Cat({"M_", f.text(0), dot, f.text(1), dot, Upper(f.text(2))}),
                 Cat({f.text(2), " - ", f.text(3), CliForSection::DescrTipoCF(f[1])}), f.text(4),
                 f[0], f[1], f[2], none, none, "AREA");
    });
  }
  {
    db::Recordset& rs = *results[1];
    Columns f(rs, {"MG08_DITTA_CG18", "MG08_TIPOCF_MG07", "MG08_MACROAREA_MG07", "MG08_AREA",
                   "MG08_DESCRAREA", "CHECKED"});
    ForEachRow(rs, [&] {
      const std::string parent = Cat({f.text(0), dot, f.text(1), dot, Upper(f.text(2))});
      out.Branch(Cat({"M_", parent}), Cat({"A_", parent, dot, Upper(f.text(3))}),
                 Cat({f.text(3), " - ", f.text(4), CliForSection::DescrTipoCF(f[1])}), f.text(5),
                 f[0], f[1], f[2], f[3], none, "AREA");
    });
  }
  {
    db::Recordset& rs = *results[2];
    Columns f(rs, {"MG09_DITTA_CG18", "MG09_TIPOCF_MG08", "MG09_MACROAREA_MG08", "MG09_AREA_MG08",
                   "MG09_ZONA", "MG09_DESCRZONA", "CHECKED"});
    ForEachRow(rs, [&] {
      const std::string parent =
          Cat({f.text(0), dot, f.text(1), dot, Upper(f.text(2)), dot, Upper(f.text(3))});
      out.Branch(Cat({"A_", parent}), Cat({"Z_", parent, dot, Upper(f.text(4))}),
                 Cat({f.text(4), " - ", f.text(5), CliForSection::DescrTipoCF(f[1])}), f.text(6),
                 f[0], f[1], f[2], f[3], f[4], "AREA");
    });
  }

  out.Heading("G.CATs_", "MacroCategoria/Categoria/ SottoCategoria");
  {
    db::Recordset& rs = *results[3];
    Columns f(rs,
              {"MG10_DITTA_CG18", "MG10_TIPOCF", "MG10_MACROCAT", "MG10_DESCRMACROCAT", "CHECKED"});
    const std::string parent = Cat({"G.CATs_", c});
    ForEachRow(rs, [&] {
      out.Branch(parent, Cat({"Y_", f.text(0), dot, f.text(1), dot, f.text(2)}),
                 Cat({f.text(2), " - ", f.text(3), CliForSection::DescrTipoCF(f[1])}), f.text(4),
                 f[0], f[1], f[2], none, none, "CAT");
    });
  }
  {
    db::Recordset& rs = *results[4];
    Columns f(rs, {"MG11_DITTA_CG18", "MG11_TIPOCF_MG10", "MG11_MACROCAT_MG10", "MG11_CATEG",
                   "MG11_DESCRCAT", "CHECKED"});
    ForEachRow(rs, [&] {
      const std::string parent = Cat({f.text(0), dot, f.text(1), dot, f.text(2)});
      out.Branch(Cat({"Y_", parent}), Cat({"C_", parent, dot, f.text(3)}),
                 Cat({f.text(3), " - ", f.text(4), CliForSection::DescrTipoCF(f[1])}), f.text(5),
                 f[0], f[1], f[2], f[3], none, "CAT");
    });
  }
  {
    db::Recordset& rs = *results[5];
    if (rs.IsOpen()) rs.SetFilter("MG12_DITTA_CG18 = " + c);
    Columns f(rs, {"MG12_DITTA_CG18", "MG12_TIPOCF_MG11", "MG12_MACROCAT_MG11", "MG12_CATEG_MG11",
                   "MG12_SOTTCAT", "MG12_DESCRSOTTOCAT", "CHECKED"});
    ForEachRow(rs, [&] {
      const std::string parent = Cat({f.text(0), dot, f.text(1), dot, f.text(2), dot, f.text(3)});
      out.Branch(Cat({"C_", parent}), Cat({"S_", parent, dot, f.text(4)}),
                 Cat({f.text(4), " - ", f.text(5), CliForSection::DescrTipoCF(f[1])}), f.text(6),
                 f[0], f[1], f[2], f[3], f[4], "CAT");
    });
  }

  // The three groupings: "1_"/" - ", "2_"/"-", "3_"/"-".
  struct Grouping {
    std::string_view heading_key, heading, key, separator, kind;
    std::array<std::string_view, 5> columns;
  };
  static constexpr std::array<Grouping, 3> kGroupings = {{
      {"G.RAG1_",
       "Raggruppamento 1",
       "1_",
       " - ",
       "RAGG1",
       {{"MG31_DITTA_CG18", "MG31_TIPOCF", "MG31_CODRAGGRCF1", "MG31_DESCRAGGRCF1", "CHECKED"}}},
      {"G.RAG2_",
       "Raggruppamento 2",
       "2_",
       "-",
       "RAGG2",
       {{"MG32_DITTA_CG18", "MG32_TIPOCF", "MG32_CODRAGGRCF2", "MG32_DESCRAGGRCF2", "CHECKED"}}},
      {"G.RAG3_",
       "Raggruppamento 3",
       "3_",
       "-",
       "RAGG3",
       {{"MG33_DITTA_CG18", "MG33_TIPOCF", "MG33_CODRAGGRCF3", "MG33_DESCRAGGRCF3", "CHECKED"}}},
  }};
  for (size_t g = 0; g < kGroupings.size(); ++g) {
    const Grouping& grouping = kGroupings[g];
    out.Heading(grouping.heading_key, grouping.heading);
    db::Recordset& rs = *results[6 + g];
    Columns f(rs, grouping.columns);
    const std::string parent = Cat({grouping.heading_key, c});
    ForEachRow(rs, [&] {
      out.Branch(parent, Cat({grouping.key, f.text(0), dot, f.text(1), dot, f.text(2)}),
                 Cat({f.text(2), grouping.separator, f.text(3), CliForSection::DescrTipoCF(f[1])}),
                 f.text(4), f[0], f[1], none, none, f[2], grouping.kind);
    });
  }

  out.Heading("G.SEDI_", "Sedi");
  {
    db::Recordset& rs = *results[9];
    Columns f(rs, {"CG31_DITTA_CG18", "CG31_CODICE", "CG31_INDIRIZZO", "CHECKED"});
    const std::string parent = Cat({"G.SEDI_", c});
    const db::Value site_kind(-1);
    ForEachRow(rs, [&] {
      const std::string_view address = f.text(2);
      std::string text =
          db::Trim(address).empty() ? std::string(f.text(1)) : Cat({f.text(1), "-", address});
      out.Branch(parent, Cat({"E_", f.text(0), dot, f.text(1)}), std::move(text), f.text(3), f[0],
                 site_kind, none, none, f[1], "SEDE");
    });
  }
}

}  // namespace

void CliForTree::Fill(db::Recordset& tree, Results& results, int64_t company) {
  try {
    FillRows(tree, results, std::to_string(company));
  } catch (...) {
    // As far as it got, the cursor on the last row made.
    if (tree.RecordCount() > 0) tree.MoveLast();
    throw;
  }
  if (tree.RecordCount() > 0) tree.MoveLast();
}

}  // namespace orv::sections
