#include "journal/journal_report.h"

#include "journal/journal_summary.h"

namespace orv::journal {

std::vector<std::string_view> JournalReport::Header() {
  return {"N°",    "Data e ora", "Login",   "Ditta",  "Sezione",   "Utente/gruppo",
          "Gesto", "Righe",      "Annulla", "Ripete", "Annullata", "Descrizione"};
}

std::string JournalReport::Principal(const JournalEntry& e, const NameOf& name) {
  std::string principal = e.principal_kind;
  if (e.principal_kind == JournalEntry::kUser || e.principal_kind == JournalEntry::kGroup) {
    principal += " " + std::to_string(e.principal_id);
    const std::string named = name ? name(e) : std::string();
    if (!named.empty()) principal = named + " (" + principal + ")";
  }
  return principal;
}

std::vector<std::string> JournalReport::Fields(const JournalEntry& e, const NameOf& name) {
  const std::string principal = Principal(e, name);
  auto id = [](int64_t n) { return n == 0 ? std::string() : std::to_string(n); };
  return {std::to_string(e.id),
          e.when,
          e.login,
          std::to_string(e.company),
          e.section == 0 ? std::string() : JournalSummary::SectionTitle(e.section),
          principal,
          std::string(GestureLabel(e.kind)),
          std::to_string(e.image_count),
          id(e.undo_of),
          id(e.redo_of),
          e.undone ? "Si" : "No",
          e.summary};
}

std::string JournalReport::Text(const std::vector<JournalEntry>& entries, const NameOf& name) {
  std::string out;
  bool first = true;
  for (std::string_view h : Header()) {
    out += first ? "" : "\t";
    out += h;
    first = false;
  }
  out += "\n";
  for (const JournalEntry& e : entries) {
    first = true;
    for (const std::string& f : Fields(e, name)) {
      out += first ? "" : "\t";
      out += f;
      first = false;
    }
    out += "\n";
  }
  return out;
}

std::string JournalReport::CsvField(std::string_view field) {
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string JournalReport::Csv(const std::vector<JournalEntry>& entries, const NameOf& name) {
  std::string out;
  bool first = true;
  for (std::string_view h : Header()) {
    out += first ? "" : ",";
    out += CsvField(h);
    first = false;
  }
  out += "\r\n";
  for (const JournalEntry& e : entries) {
    first = true;
    for (const std::string& f : Fields(e, name)) {
      out += first ? "" : ",";
      out += CsvField(f);
      first = false;
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace orv::journal
