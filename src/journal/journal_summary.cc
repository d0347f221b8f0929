#include "journal/journal_summary.h"

#include <set>

#include "journal/journal_table.h"
#include "journal/row_text.h"

namespace orv::journal {

std::string JournalSummary::SectionTitle(int32_t section) {
  switch (section) {
    case 6:
      return "Depositi";
    case 8:
      return "Progetti";
    case 15:
      return "Codici simulazione MRP";
    case 22:
      return "Copia revoche";
    case 24:
      return "Clienti/Fornitori";
    case 30:
      return "Mod. di blocco di merce";
    case 31:
      return "Famiglie articoli";
    case 32:
      return "Trasferimenti tra depositi";
    case 33:
      return "Nodi";
    default:
      return "Sezione " + std::to_string(section);
  }
}

std::string JournalSummary::PrincipalPhrase(const Gesture& gesture) {
  if (gesture.all_principals) return "per tutti gli utenti e i gruppi";
  const store::Principal& p = gesture.principal;
  if (p.IsNone()) return {};
  const std::string name =
      p.name().empty() ? (p.IsUser() ? p.user_id().ToText() : p.group_id().ToText()) : p.name();
  return (p.IsGroup() ? "per il gruppo " : "per l'utente ") + name;
}

std::string JournalSummary::ItemList(const std::vector<std::string>& items) {
  if (items.empty()) return {};
  if (items.size() > kItemsNamed) {
    std::string s;
    for (size_t i = 0; i < kItemsNamed; ++i) s += (i > 0 ? ", " : "") + items[i];
    return s + " e altri " + std::to_string(items.size() - kItemsNamed);
  }
  std::string s = items[0];
  for (size_t i = 1; i < items.size(); ++i) s += (i + 1 == items.size() ? " e " : ", ") + items[i];
  return s;
}

bool JournalSummary::Allowed(std::string_view table_name,
                             const std::optional<std::string>& values) {
  if (!values) return true;
  const JournalTable* table = JournalTable::Find(table_name);
  if (table == nullptr || table->allowed_flags.empty()) return false;
  const RowText::Fields fields = RowText::Split(*values);
  for (std::string_view flag : table->allowed_flags) {
    const int i = table->ValueIndex(flag);
    if (i < 0 || static_cast<size_t>(i) >= fields.size()) continue;
    const auto& f = fields[static_cast<size_t>(i)];
    if (!f || *f == "0") return false;
  }
  return true;
}

std::string JournalSummary::Item(std::string_view table_name, std::string_view key) {
  const JournalTable* table = JournalTable::Find(table_name);
  if (table == nullptr) return std::string(key);
  const RowText::Fields fields = RowText::Split(key);
  auto field = [&](std::string_view column) {
    const int i = table->KeyIndex(column);
    if (i < 0 || static_cast<size_t>(i) >= fields.size() || !fields[static_cast<size_t>(i)]) {
      return std::string();
    }
    std::string s = *fields[static_cast<size_t>(i)];
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  };
  if (table->name == JournalTable::kTransfers) {
    return field("FW3E_CODDEP_ORI") + " > " + field("FW3E_CODDEP_DES");
  }
  if (table->name == JournalTable::kNodes) {
    return field("FW3N_CODPROG_PD68") + "/" + field("FW3N_CODNODO");
  }
  // The most specific level that has a code.
  std::string item;
  for (std::string_view column : table->item_columns) {
    std::string code = field(column);
    if (!code.empty()) item = code;
  }
  return item;
}

std::string JournalSummary::Make(const Gesture& gesture, const std::vector<RowImage>& images) {
  if (!gesture.summary.empty()) return gesture.summary;
  std::string text = gesture.kind == GestureKind::kSwitch ? std::string("Abilitazione revoche")
                                                          : SectionTitle(gesture.section);
  text += ": ";
  if (!gesture.detail.empty()) text += gesture.detail + ", ";
  std::vector<std::string> revoked;
  std::vector<std::string> given_back;
  std::set<std::string> seen_revoked;
  std::set<std::string> seen_given;
  for (const RowImage& image : images) {
    if (image.table == JournalTable::kSettings) continue;
    const bool before = Allowed(image.table, image.before);
    const bool after = Allowed(image.table, image.after);
    if (before == after) continue;
    std::string item = Item(image.table, image.key);
    if (!after && seen_revoked.insert(item).second) revoked.push_back(std::move(item));
    if (after && seen_given.insert(item).second) given_back.push_back(std::move(item));
  }
  std::string changes;
  if (!revoked.empty()) changes = "revocati " + ItemList(revoked);
  if (!given_back.empty()) {
    changes += (changes.empty() ? "" : "; ") + std::string("abilitati ") + ItemList(given_back);
  }
  if (gesture.kind == GestureKind::kSwitch) {
    for (const RowImage& image : images) {
      if (image.table != JournalTable::kSettings || !image.after) continue;
      const RowText::Fields values = RowText::Split(*image.after);
      const bool on = values.size() > 1 && values[1] && *values[1] == "1";
      changes = on ? "attivata" : "disattivata";
    }
  }
  if (changes.empty())
    changes = "nessun cambio di revoca (" + std::to_string(images.size()) + " righe riscritte)";
  text += changes;
  const std::string who = PrincipalPhrase(gesture);
  if (!who.empty()) text += " " + who;
  return text;
}

}  // namespace orv::journal
