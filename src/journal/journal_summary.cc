#include "journal/journal_summary.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "journal/journal_table.h"
#include "journal/row_text.h"

namespace orv::journal {

namespace {

// Field `index` of a RowText as written (escapes kept); a null view when
// the text has fewer fields.
std::string_view RawField(std::string_view text, size_t index) {
  size_t at = 0;
  for (size_t i = 0; i < index; ++i) {
    while (at < text.size() && text[at] != '|') at += text[at] == '\\' ? 2 : 1;
    if (at >= text.size()) return {};
    ++at;
  }
  size_t end = at;
  while (end < text.size() && text[end] != '|') end += text[end] == '\\' ? 2 : 1;
  return text.substr(at, std::min(end, text.size()) - at);
}

// Key field `index` as Item() reads it: the field's text without its
// trailing blanks, "" for NULL or a missing field.
std::string ItemField(std::string_view key, int index) {
  if (index < 0) return {};
  const std::string_view raw = RawField(key, static_cast<size_t>(index));
  std::string s;
  if (raw.data() == nullptr) return s;
  if (raw.find('\\') == std::string_view::npos) {
    s = std::string(raw);
  } else {
    std::optional<std::string> field = RowText::Field(key, static_cast<size_t>(index));
    if (!field) return s;
    s = std::move(*field);
  }
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// ItemField appended to `out`, read where it is when it holds no escape.
void AppendItemField(std::string& out, std::string_view key, int index) {
  if (index < 0) return;
  std::string_view raw = RawField(key, static_cast<size_t>(index));
  if (raw.data() == nullptr) return;
  if (raw.find('\\') != std::string_view::npos) {
    out += ItemField(key, index);
    return;
  }
  while (!raw.empty() && raw.back() == ' ') raw.remove_suffix(1);
  out += raw;
}

// Drops the trailing blanks, as Item() does.
std::string_view Trimmed(std::string_view code) {
  while (!code.empty() && code.back() == ' ') code.remove_suffix(1);
  return code;
}

}  // namespace

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
  // The items of the images in their order; named each once: the first
  // kItemsNamed distinct ones, then how many distinct ones are left (counted
  // by sorting, which a gesture of 250,000 rows needs more than a set).
  struct Named {
    std::vector<std::string> items;
    void Add(std::string item) { items.push_back(std::move(item)); }
    std::string List() const {
      std::vector<std::string> first;
      for (const std::string& item : items) {
        if (std::find(first.begin(), first.end(), item) == first.end()) first.push_back(item);
        if (first.size() > kItemsNamed) break;
      }
      if (first.size() <= kItemsNamed) return ItemList(first);
      // Items that come in order (a gesture's images in the order of the
      // key) are counted as they are; others are sorted first.
      size_t distinct = 0;
      if (std::is_sorted(items.begin(), items.end())) {
        distinct = 1;
        for (size_t i = 1; i < items.size(); ++i) distinct += items[i] != items[i - 1] ? 1 : 0;
      } else {
        std::vector<std::string_view> sorted(items.begin(), items.end());
        std::sort(sorted.begin(), sorted.end());
        distinct = static_cast<size_t>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
      }
      std::string s;
      for (size_t i = 0; i < kItemsNamed; ++i) s += (i > 0 ? ", " : "") + first[i];
      return s + " e altri " + std::to_string(distinct - kItemsNamed);
    }
  };
  Named revoked;
  Named given_back;
  // A gesture over many rows (250,000 pairs) has its images table by table:
  // the table and its flags' positions are looked up once per run.
  std::string_view table_name;
  const JournalTable* table = nullptr;
  std::vector<size_t> flags;
  std::vector<int> item_at;   // key positions of the table's item columns
  int pair_at[2] = {-1, -1};  // of a pair's two codes (transfers, nodes)
  auto allowed = [&](const std::optional<std::string>& values) {
    if (!values) return true;
    if (table == nullptr || table->allowed_flags.empty()) return false;
    for (size_t i : flags) {
      const std::string_view raw = RawField(*values, i);
      if (raw.data() == nullptr) continue;  // not in the text
      if (raw == "0" || raw == "\\N") return false;
    }
    return true;
  };
  for (const RowImage& image : images) {
    if (image.table == JournalTable::kSettings) continue;
    if (image.table != table_name) {
      table_name = image.table;
      table = JournalTable::Find(table_name);
      flags.clear();
      item_at.clear();
      if (table != nullptr) {
        for (std::string_view flag : table->allowed_flags) {
          const int i = table->ValueIndex(flag);
          if (i >= 0) flags.push_back(static_cast<size_t>(i));
        }
        for (std::string_view column : table->item_columns) {
          item_at.push_back(table->KeyIndex(column));
        }
        if (table->name == JournalTable::kTransfers) {
          pair_at[0] = table->KeyIndex("FW3E_CODDEP_ORI");
          pair_at[1] = table->KeyIndex("FW3E_CODDEP_DES");
        } else if (table->name == JournalTable::kNodes) {
          pair_at[0] = table->KeyIndex("FW3N_CODPROG_PD68");
          pair_at[1] = table->KeyIndex("FW3N_CODNODO");
        }
      }
    }
    const bool before = allowed(image.before);
    const bool after = allowed(image.after);
    if (before == after) continue;
    // As Item() names it, read without splitting the whole key.
    std::string item;
    if (table == nullptr) {
      item = image.key;
    } else if (table->name == JournalTable::kTransfers || table->name == JournalTable::kNodes) {
      AppendItemField(item, image.key, pair_at[0]);
      item += table->name == JournalTable::kTransfers ? " > " : "/";
      AppendItemField(item, image.key, pair_at[1]);
    } else {
      for (int at : item_at) {
        std::string code = ItemField(image.key, at);
        if (!code.empty()) item = std::move(code);
      }
    }
    (after ? given_back : revoked).Add(std::move(item));
  }
  std::string changes;
  if (!revoked.items.empty()) changes = "revocati " + revoked.List();
  if (!given_back.items.empty()) {
    changes += (changes.empty() ? "" : "; ") + std::string("abilitati ") + given_back.List();
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

std::optional<std::string> JournalSummary::MakeForPairs(const Gesture& gesture,
                                                        std::string_view table_name,
                                                        const PairRows& pairs,
                                                        const std::vector<bool>& present,
                                                        size_t added) {
  if (!gesture.summary.empty()) return gesture.summary;
  if (gesture.kind == GestureKind::kSwitch) return std::nullopt;
  const JournalTable* table = JournalTable::Find(table_name);
  if (table == nullptr) return std::nullopt;
  std::string_view separator;
  int pair_at = -1;
  if (table->name == JournalTable::kTransfers) {
    separator = " > ";
    pair_at = table->KeyIndex("FW3E_CODDEP_ORI");
    if (table->KeyIndex("FW3E_CODDEP_DES") != pair_at + 1) return std::nullopt;
  } else if (table->name == JournalTable::kNodes) {
    separator = "/";
    pair_at = table->KeyIndex("FW3N_CODPROG_PD68");
    if (table->KeyIndex("FW3N_CODNODO") != pair_at + 1) return std::nullopt;
  } else {
    return std::nullopt;
  }
  if (pair_at < 0 || pairs.prefix_fields() != static_cast<size_t>(pair_at)) return std::nullopt;
  std::string text = SectionTitle(gesture.section) + ": ";
  if (!gesture.detail.empty()) text += gesture.detail + ", ";
  std::string changes;
  if (Allowed(table->name, pairs.values())) {
    // Absent reads allowed too: no item changed.
    changes = "nessun cambio di revoca (" + std::to_string(added) + " righe riscritte)";
  } else if (added > 0) {
    // Each pair an item of its own when no two codes read alike and none
    // holds the separator's mark: then the items are as many as the pairs.
    const char mark = separator == "/" ? '/' : '>';
    std::unordered_set<std::string_view> seen;
    seen.reserve(pairs.codes());
    for (size_t i = 0; i < pairs.codes(); ++i) {
      const std::string_view code = Trimmed(pairs.code(i));
      if (code.find(mark) != std::string_view::npos || !seen.insert(code).second) {
        return std::nullopt;
      }
    }
    std::vector<std::string> first;
    for (size_t i = 0; i < pairs.size() && first.size() < kItemsNamed; ++i) {
      if (!present.empty() && present[i]) continue;
      std::string item(Trimmed(pairs.code(i / pairs.codes())));
      item += separator;
      item += Trimmed(pairs.code(i % pairs.codes()));
      first.push_back(std::move(item));
    }
    changes = "revocati ";
    if (added <= kItemsNamed) {
      changes += ItemList(first);
    } else {
      for (size_t i = 0; i < kItemsNamed; ++i) changes += (i > 0 ? ", " : "") + first[i];
      changes += " e altri " + std::to_string(added - kItemsNamed);
    }
  } else {
    changes = "nessun cambio di revoca (0 righe riscritte)";
  }
  text += changes;
  const std::string who = PrincipalPhrase(gesture);
  if (!who.empty()) text += " " + who;
  return text;
}

}  // namespace orv::journal
