#include "sections/clifor/clifor_tree.h"

#include <array>
#include <charconv>
#include <initializer_list>
#include <span>
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

using Parts = std::initializer_list<std::string_view>;

// `out` made the parts joined, in the storage it has.
void Join(std::string& out, Parts parts) {
  size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  out.clear();
  out.reserve(size);
  for (std::string_view part : parts) out += part;
}

std::string Upper(std::string_view s) { return db::AsciiUpper(s); }

// Sets `slot` to the parts joined, in the text it holds when it holds one.
void SetText(db::Value& slot, Parts parts) {
  if (slot.type() != db::Value::Type::kText) slot = db::Value(std::string());
  // The value owns its text: only its buffer is reused.
  Join(const_cast<std::string&>(slot.AsText()), parts);
}

void SetNull(db::Value& slot) {
  if (!slot.IsNull()) slot = db::Value::Null();
}

void Set(db::Value& slot, const db::Value& value) {
  if (value.type() == db::Value::Type::kText) {
    SetText(slot, {value.AsText()});
  } else {
    slot = value;
  }
}

// Appends the rows of the tree. Codes are taken from the result as stored.
class TreeWriter {
 public:
  TreeWriter(db::Recordset& tree, std::string company, std::vector<std::vector<db::Value>> spare)
      : tree_(tree), company_(std::move(company)), spare_(std::move(spare)) {}

  void Heading(std::string_view prefix, std::string_view text) {
    std::vector<db::Value> row = NewRow();
    SetNull(row[kPadreKey]);
    SetText(row[kKey], {prefix, company_});
    SetText(row[kText], {text});
    SetText(row[kImage], {"open"});
    for (int f = kTag; f < kFieldCount; ++f) SetNull(row[f]);
    tree_.AppendRow(std::move(row));
  }

  // One branch row; empty codes are left Null.
  void Branch(Parts parent, Parts key, Parts text, std::string_view checked, const db::Value& ditta,
              const db::Value& tipocf, const db::Value& macro, const db::Value& middle,
              const db::Value& ragg, std::string_view tiporagg) {
    std::vector<db::Value> row = NewRow();
    SetText(row[kPadreKey], parent);
    SetText(row[kKey], key);
    SetText(row[kText], text);
    SetText(row[kImage], {"Raggruppamento"});
    SetNull(row[kTag]);
    SetText(row[kChecked], {checked});
    SetText(row[kChecked2], {"1"});
    Set(row[kDitta], ditta);
    Set(row[kTipoCF], tipocf);
    const db::Value* codes[] = {&macro, &middle, &ragg};
    for (int c = 0; c < 3; ++c) {
      if (codes[c]->IsEmpty()) {
        SetNull(row[kCodMacro + c]);
      } else {
        Set(row[kCodMacro + c], *codes[c]);
      }
    }
    SetText(row[kTipoRagg], {tiporagg});
    SetNull(row[kCodice]);
    tree_.AppendRow(std::move(row));
  }

 private:
  // A row of kFieldCount values: a spare one, in the order they came, or new.
  std::vector<db::Value> NewRow() {
    std::vector<db::Value> row;
    if (next_spare_ < spare_.size()) row = std::move(spare_[next_spare_++]);
    row.resize(kFieldCount);
    return row;
  }

  db::Recordset& tree_;
  std::string company_;
  std::vector<std::vector<db::Value>> spare_;
  size_t next_spare_ = 0;
};

// Column indices of one result, resolved once by name, over the row being
// read (At).
class Columns {
 public:
  Columns(const db::Recordset& rs, std::initializer_list<std::string_view> names)
      : Columns(rs, std::vector<std::string_view>(names)) {}
  template <typename Names>
  Columns(const db::Recordset& rs, const Names& names) {
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
    digits_.resize(index_.size());
  }
  // The row read next: the result's values, as they are.
  void At(std::span<const db::Value> row) { row_ = row; }
  const db::Value& operator[](size_t i) const { return row_[static_cast<size_t>(index_[i])]; }
  // The value as the host language's "&" joins it (Null and Empty give ""):
  // text as stored, without a copy; valid until the next call for `i` or
  // the next row.
  std::string_view text(size_t i) const {
    const db::Value& value = (*this)[i];
    switch (value.type()) {
      case db::Value::Type::kText:
        return value.AsText();
      case db::Value::Type::kInt: {
        // As ToText writes it, without a string.
        std::array<char, 24>& digits = digits_[i];
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value.AsInt());
        return std::string_view(digits.data(), static_cast<size_t>(end.ptr - digits.data()));
      }
      case db::Value::Type::kNull:
      case db::Value::Type::kEmpty:
        return {};
      default:
        scratch_[i] = value.ToText();
        return scratch_[i];
    }
  }

 private:
  std::vector<int> index_;
  std::span<const db::Value> row_;
  mutable std::vector<std::string> scratch_;
  mutable std::vector<std::array<char, 24>> digits_;
};

// Walks every visible row of a result, each read in place (`f` on it).
template <typename Row>
void ForEachRow(const db::Recordset& rs, Columns& f, Row&& row) {
  if (!rs.IsOpen()) return;
  const int64_t count = rs.RecordCount();
  for (int64_t i = 0; i < count; ++i) {
    f.At(rs.RowAt(i));
    row();
  }
}

void FillRows(db::Recordset& tree, CliForTree::Results& results, const std::string& c,
              std::vector<std::vector<db::Value>> spare) {
  TreeWriter out(tree, c, std::move(spare));
  constexpr std::string_view dot = ".";
  const db::Value none;  // Empty: the code is left Null

  out.Heading("G.AREE_", "MacroArea/Area/Zona");
  {
    db::Recordset& rs = *results[0];
    Columns f(rs,
              {"MG07_DITTA_CG18", "MG07_TIPOCF", "MG07_MACROAREA", "MG07_DESCRMACROAR", "CHECKED"});
    const std::string parent = "G.AREE_" + c;
    ForEachRow(rs, f, [&] {
      out.Branch({parent}, {"M_", f.text(0), dot, f.text(1), dot, Upper(f.text(2))},
                 {f.text(2), " - ", f.text(3), CliForSection::DescrTipoCF(f[1])}, f.text(4), f[0],
                 f[1], f[2], none, none, "AREA");
    });
  }
  {
    db::Recordset& rs = *results[1];
    Columns f(rs, {"MG08_DITTA_CG18", "MG08_TIPOCF_MG07", "MG08_MACROAREA_MG07", "MG08_AREA",
                   "MG08_DESCRAREA", "CHECKED"});
    std::string parent;
    ForEachRow(rs, f, [&] {
      Join(parent, {f.text(0), dot, f.text(1), dot, Upper(f.text(2))});
      out.Branch({"M_", parent}, {"A_", parent, dot, Upper(f.text(3))},
                 {f.text(3), " - ", f.text(4), CliForSection::DescrTipoCF(f[1])}, f.text(5), f[0],
                 f[1], f[2], f[3], none, "AREA");
    });
  }
  {
    db::Recordset& rs = *results[2];
    Columns f(rs, {"MG09_DITTA_CG18", "MG09_TIPOCF_MG08", "MG09_MACROAREA_MG08", "MG09_AREA_MG08",
                   "MG09_ZONA", "MG09_DESCRZONA", "CHECKED"});
    std::string parent;
    ForEachRow(rs, f, [&] {
      Join(parent, {f.text(0), dot, f.text(1), dot, Upper(f.text(2)), dot, Upper(f.text(3))});
      out.Branch({"A_", parent}, {"Z_", parent, dot, Upper(f.text(4))},
                 {f.text(4), " - ", f.text(5), CliForSection::DescrTipoCF(f[1])}, f.text(6), f[0],
                 f[1], f[2], f[3], f[4], "AREA");
    });
  }

  out.Heading("G.CATs_", "MacroCategoria/Categoria/ SottoCategoria");
  {
    db::Recordset& rs = *results[3];
    Columns f(rs,
              {"MG10_DITTA_CG18", "MG10_TIPOCF", "MG10_MACROCAT", "MG10_DESCRMACROCAT", "CHECKED"});
    const std::string parent = "G.CATs_" + c;
    ForEachRow(rs, f, [&] {
      out.Branch({parent}, {"Y_", f.text(0), dot, f.text(1), dot, f.text(2)},
                 {f.text(2), " - ", f.text(3), CliForSection::DescrTipoCF(f[1])}, f.text(4), f[0],
                 f[1], f[2], none, none, "CAT");
    });
  }
  {
    db::Recordset& rs = *results[4];
    Columns f(rs, {"MG11_DITTA_CG18", "MG11_TIPOCF_MG10", "MG11_MACROCAT_MG10", "MG11_CATEG",
                   "MG11_DESCRCAT", "CHECKED"});
    std::string parent;
    ForEachRow(rs, f, [&] {
      Join(parent, {f.text(0), dot, f.text(1), dot, f.text(2)});
      out.Branch({"Y_", parent}, {"C_", parent, dot, f.text(3)},
                 {f.text(3), " - ", f.text(4), CliForSection::DescrTipoCF(f[1])}, f.text(5), f[0],
                 f[1], f[2], f[3], none, "CAT");
    });
  }
  {
    db::Recordset& rs = *results[5];
    if (rs.IsOpen()) rs.SetFilter("MG12_DITTA_CG18 = " + c);
    Columns f(rs, {"MG12_DITTA_CG18", "MG12_TIPOCF_MG11", "MG12_MACROCAT_MG11", "MG12_CATEG_MG11",
                   "MG12_SOTTCAT", "MG12_DESCRSOTTOCAT", "CHECKED"});
    std::string parent;
    ForEachRow(rs, f, [&] {
      Join(parent, {f.text(0), dot, f.text(1), dot, f.text(2), dot, f.text(3)});
      out.Branch({"C_", parent}, {"S_", parent, dot, f.text(4)},
                 {f.text(4), " - ", f.text(5), CliForSection::DescrTipoCF(f[1])}, f.text(6), f[0],
                 f[1], f[2], f[3], f[4], "CAT");
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
    const std::string parent = std::string(grouping.heading_key) + c;
    ForEachRow(rs, f, [&] {
      out.Branch({parent}, {grouping.key, f.text(0), dot, f.text(1), dot, f.text(2)},
                 {f.text(2), grouping.separator, f.text(3), CliForSection::DescrTipoCF(f[1])},
                 f.text(4), f[0], f[1], none, none, f[2], grouping.kind);
    });
  }

  out.Heading("G.SEDI_", "Sedi");
  {
    db::Recordset& rs = *results[9];
    Columns f(rs, {"CG31_DITTA_CG18", "CG31_CODICE", "CG31_INDIRIZZO", "CHECKED"});
    const std::string parent = "G.SEDI_" + c;
    const db::Value site_kind(-1);
    ForEachRow(rs, f, [&] {
      const std::string_view address = f.text(2);
      const std::string_view code = f.text(1);
      const bool blank = address.find_first_not_of(' ') == std::string_view::npos;
      out.Branch({parent}, {"E_", f.text(0), dot, code},
                 {code, blank ? "" : "-", blank ? std::string_view() : address}, f.text(3), f[0],
                 site_kind, none, none, f[1], "SEDE");
    });
  }
}

}  // namespace

void CliForTree::Fill(db::Recordset& tree, Results& results, int64_t company,
                      std::vector<std::vector<db::Value>> spare) {
  try {
    FillRows(tree, results, std::to_string(company), std::move(spare));
  } catch (...) {
    // As far as it got, the cursor on the last row made.
    if (tree.RecordCount() > 0) tree.MoveLast();
    throw;
  }
  if (tree.RecordCount() > 0) tree.MoveLast();
}

}  // namespace orv::sections
