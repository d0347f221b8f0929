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
void SetText(db::Value& slot, Parts parts) { Join(slot.TextInPlace(), parts); }

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

// The columns each result is read by, in the batch's order.
using Names = std::vector<std::string_view>;
const std::array<Names, 10>& ResultColumns() {
  static const std::array<Names, 10> kColumns = {{
      {"MG07_DITTA_CG18", "MG07_TIPOCF", "MG07_MACROAREA", "MG07_DESCRMACROAR", "CHECKED"},
      {"MG08_DITTA_CG18", "MG08_TIPOCF_MG07", "MG08_MACROAREA_MG07", "MG08_AREA",
       "MG08_DESCRAREA", "CHECKED"},
      {"MG09_DITTA_CG18", "MG09_TIPOCF_MG08", "MG09_MACROAREA_MG08", "MG09_AREA_MG08", "MG09_ZONA",
       "MG09_DESCRZONA", "CHECKED"},
      {"MG10_DITTA_CG18", "MG10_TIPOCF", "MG10_MACROCAT", "MG10_DESCRMACROCAT", "CHECKED"},
      {"MG11_DITTA_CG18", "MG11_TIPOCF_MG10", "MG11_MACROCAT_MG10", "MG11_CATEG", "MG11_DESCRCAT",
       "CHECKED"},
      {"MG12_DITTA_CG18", "MG12_TIPOCF_MG11", "MG12_MACROCAT_MG11", "MG12_CATEG_MG11",
       "MG12_SOTTCAT", "MG12_DESCRSOTTOCAT", "CHECKED"},
      {"MG31_DITTA_CG18", "MG31_TIPOCF", "MG31_CODRAGGRCF1", "MG31_DESCRAGGRCF1", "CHECKED"},
      {"MG32_DITTA_CG18", "MG32_TIPOCF", "MG32_CODRAGGRCF2", "MG32_DESCRAGGRCF2", "CHECKED"},
      {"MG33_DITTA_CG18", "MG33_TIPOCF", "MG33_CODRAGGRCF3", "MG33_DESCRAGGRCF3", "CHECKED"},
      {"CG31_DITTA_CG18", "CG31_CODICE", "CG31_INDIRIZZO", "CHECKED"},
  }};
  return kColumns;
}

// The three groupings (results 6 to 8): "1_"/" - ", "2_"/"-", "3_"/"-".
struct Grouping {
  std::string_view heading_key, heading, key, separator, kind;
};
constexpr std::array<Grouping, 3> kGroupings = {{
    {"G.RAG1_", "Raggruppamento 1", "1_", " - ", "RAGG1"},
    {"G.RAG2_", "Raggruppamento 2", "2_", "-", "RAGG2"},
    {"G.RAG3_", "Raggruppamento 3", "3_", "-", "RAGG3"},
}};

constexpr std::string_view kDot = ".";

}  // namespace

// Appends the rows of the tree. Codes are taken from the result as stored.
class CliForTree::Writer {
 public:
  Writer(db::Recordset& tree, std::string_view company, std::vector<std::vector<db::Value>> spare)
      : tree_(tree), company_(company), spare_(std::move(spare)) {}

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
  std::string_view company_;
  std::vector<std::vector<db::Value>> spare_;
  size_t next_spare_ = 0;
};

// Column indices of one result, resolved once by name (without regard to
// case), over the row being read (At).
class CliForTree::Columns {
 public:
  Columns(const std::vector<db::FieldInfo>& fields, const Names& names) {
    for (std::string_view name : names) index_.push_back(db::FieldPosition(fields, name));
    scratch_.resize(index_.size());
    digits_.resize(index_.size());
  }
  // The row read next: the result's values, as they are.
  void At(std::span<const db::Value> row) { row_ = row; }
  const db::Value& operator[](size_t i) const {
    static const db::Value kNull = db::Value::Null();
    const auto index = static_cast<size_t>(index_[i]);
    return index < row_.size() ? row_[index] : kNull;
  }
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

CliForTree::CliForTree(db::Recordset& tree, int64_t company,
                       std::vector<std::vector<db::Value>> spare)
    : tree_(tree), company_(std::to_string(company)) {
  out_ = std::make_unique<Writer>(tree_, company_, std::move(spare));
}

CliForTree::~CliForTree() = default;

void CliForTree::BeginResult(const std::vector<db::FieldInfo>& fields, int64_t) {
  ++result_;
  columns_.reset();
  filter_.reset();
  if (result_ >= static_cast<int>(ResultColumns().size())) return;  // not the tree's
  switch (result_) {
    case 0:
      out_->Heading("G.AREE_", "MacroArea/Area/Zona");
      parent_ = "G.AREE_" + company_;
      break;
    case 3:
      out_->Heading("G.CATs_", "MacroCategoria/Categoria/ SottoCategoria");
      parent_ = "G.CATs_" + company_;
      break;
    case 6:
    case 7:
    case 8: {
      const Grouping& grouping = kGroupings[static_cast<size_t>(result_ - 6)];
      out_->Heading(grouping.heading_key, grouping.heading);
      parent_ = std::string(grouping.heading_key) + company_;
      break;
    }
    case 9:
      out_->Heading("G.SEDI_", "Sedi");
      parent_ = "G.SEDI_" + company_;
      break;
    default:
      break;
  }
  columns_ = std::make_unique<Columns>(fields, ResultColumns()[static_cast<size_t>(result_)]);
  if (result_ == 5) {
    // The sub-categories of the company alone.
    filter_ = db::FilterExpression::Parse("MG12_DITTA_CG18 = " + company_);
    filter_->Bind(fields);
  }
}

void CliForTree::Row(std::span<db::Value> values) {
  if (!columns_) return;
  if (filter_ && !filter_->Matches(values)) return;
  Columns& f = *columns_;
  f.At(values);
  const db::Value none;  // Empty: the code is left Null
  switch (result_) {
    case 0:
      out_->Branch({parent_}, {"M_", f.text(0), kDot, f.text(1), kDot, Upper(f.text(2))},
                   {f.text(2), " - ", f.text(3), CliForSection::DescrTipoCF(f[1])}, f.text(4),
                   f[0], f[1], f[2], none, none, "AREA");
      break;
    case 1:
      Join(parent_, {f.text(0), kDot, f.text(1), kDot, Upper(f.text(2))});
      out_->Branch({"M_", parent_}, {"A_", parent_, kDot, Upper(f.text(3))},
                   {f.text(3), " - ", f.text(4), CliForSection::DescrTipoCF(f[1])}, f.text(5),
                   f[0], f[1], f[2], f[3], none, "AREA");
      break;
    case 2:
      Join(parent_,
           {f.text(0), kDot, f.text(1), kDot, Upper(f.text(2)), kDot, Upper(f.text(3))});
      out_->Branch({"A_", parent_}, {"Z_", parent_, kDot, Upper(f.text(4))},
                   {f.text(4), " - ", f.text(5), CliForSection::DescrTipoCF(f[1])}, f.text(6),
                   f[0], f[1], f[2], f[3], f[4], "AREA");
      break;
    case 3:
      out_->Branch({parent_}, {"Y_", f.text(0), kDot, f.text(1), kDot, f.text(2)},
                   {f.text(2), " - ", f.text(3), CliForSection::DescrTipoCF(f[1])}, f.text(4),
                   f[0], f[1], f[2], none, none, "CAT");
      break;
    case 4:
      Join(parent_, {f.text(0), kDot, f.text(1), kDot, f.text(2)});
      out_->Branch({"Y_", parent_}, {"C_", parent_, kDot, f.text(3)},
                   {f.text(3), " - ", f.text(4), CliForSection::DescrTipoCF(f[1])}, f.text(5),
                   f[0], f[1], f[2], f[3], none, "CAT");
      break;
    case 5:
      Join(parent_, {f.text(0), kDot, f.text(1), kDot, f.text(2), kDot, f.text(3)});
      out_->Branch({"C_", parent_}, {"S_", parent_, kDot, f.text(4)},
                   {f.text(4), " - ", f.text(5), CliForSection::DescrTipoCF(f[1])}, f.text(6),
                   f[0], f[1], f[2], f[3], f[4], "CAT");
      break;
    case 6:
    case 7:
    case 8: {
      const Grouping& grouping = kGroupings[static_cast<size_t>(result_ - 6)];
      out_->Branch({parent_}, {grouping.key, f.text(0), kDot, f.text(1), kDot, f.text(2)},
                   {f.text(2), grouping.separator, f.text(3), CliForSection::DescrTipoCF(f[1])},
                   f.text(4), f[0], f[1], none, none, f[2], grouping.kind);
      break;
    }
    case 9: {
      static const db::Value kSiteKind(-1);
      const std::string_view address = f.text(2);
      const std::string_view code = f.text(1);
      const bool blank = address.find_first_not_of(' ') == std::string_view::npos;
      out_->Branch({parent_}, {"E_", f.text(0), kDot, code},
                   {code, blank ? "" : "-", blank ? std::string_view() : address}, f.text(3), f[0],
                   kSiteKind, none, none, f[1], "SEDE");
      break;
    }
    default:
      break;
  }
}

void CliForTree::Finish() {
  if (tree_.RecordCount() > 0) tree_.MoveLast();
  if (result_ + 1 < static_cast<int>(ResultColumns().size())) {
    throw db::DbError(db::kErrBadArgument, "Missing result of the classification batch");
  }
}

}  // namespace orv::sections
