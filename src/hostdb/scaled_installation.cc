#include "hostdb/scaled_installation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "db/command.h"
#include "hostdb/bulk_inserter.h"
#include "hostdb/random.h"

namespace orv::hostdb {
namespace {

constexpr std::array kCities = {"Milano",  "Torino",  "Brescia", "Bergamo", "Verona", "Padova",
                                "Bologna", "Firenze", "Roma",    "Napoli",  "Bari",   "Palermo",
                                "Genova",  "Venezia", "Trieste", "Parma",   "Modena", "Perugia",
                                "Ancona",  "Pescara", "Lecce",   "Como",    "Varese", "Cremona",
                                "Mantova", "Vicenza", "Treviso", "Udine",   "Trento", "Cagliari"};
constexpr std::array kSurnames = {
    "Rossi",   "Russo",     "Ferrari",  "Esposito",  "Bianchi",   "Romano",  "Colombo",
    "Ricci",   "Marino",    "Greco",    "Bruno",     "Gallo",     "Conti",   "De Luca",
    "Mancini", "Costa",     "Giordano", "Rizzo",     "Lombardi",  "Moretti", "Barbieri",
    "Fontana", "Santoro",   "Mariani",  "Rinaldi",   "Caruso",    "Ferrara", "Galli",
    "Martini", "Leone",     "D'Angelo", "Longo",     "Gentile",   "Vitale",  "Serra",
    "Coppola", "De Santis", "D'Amico",  "Marchetti", "Martinelli"};
constexpr std::array kFirstNames = {"Marco",  "Giulia",    "Luca",   "Francesca",  "Andrea",
                                    "Sara",   "Matteo",    "Chiara", "Alessandro", "Elena",
                                    "Davide", "Valentina", "Simone", "Martina",    "Federico",
                                    "Silvia", "Stefano",   "Paola",  "Roberto",    "Anna"};
constexpr std::array kTrades = {"Meccanica", "Carpenteria", "Utensileria", "Ferramenta",
                                "Impianti",  "Trasporti",   "Costruzioni", "Elettronica",
                                "Plastica",  "Alimentari",  "Tessile",     "Arredamenti",
                                "Vernici",   "Idraulica",   "Logistica"};
constexpr std::array kLegalForms = {"S.r.l.", "S.p.A.", "S.n.c.", "S.a.s."};
constexpr std::array kWorks = {"Ampliamento",   "Revamping",     "Fornitura", "Manutenzione",
                               "Installazione", "Progettazione", "Collaudo",  "Ristrutturazione"};
constexpr std::array kObjects = {
    "impianto",    "linea di produzione", "capannone",        "magazzino automatico",
    "rete idrica", "cabina elettrica",    "centrale termica", "reparto verniciatura"};
constexpr std::array kPhases = {
    "Progettazione", "Approvvigionamento", "Montaggio",  "Collaudo",
    "Consegna",      "Documentazione",     "Avviamento", "Formazione del personale"};
constexpr std::array kDepartments = {"Vendite",     "Acquisti",  "Magazzino",    "Produzione",
                                     "Qualita'",    "Logistica", "Contabilita'", "Tecnico",
                                     "Commerciale", "Direzione"};
constexpr std::array kProjectTypes = {"INT", "EST", "RIC"};
constexpr std::array kProjectStates = {"APE", "SOS", "CHI"};
constexpr std::array kClassA = {"NORD", "SUD"};
constexpr std::array kClassB = {"STD", "PRI"};
constexpr std::array kClassC = {"PUB", "PRV"};
constexpr std::array kGoods = {"Viti",       "Bulloni",     "Staffe",   "Piastre",   "Tubi",
                               "Raccordi",   "Guarnizioni", "Cavi",     "Profilati", "Lamiere",
                               "Cuscinetti", "Molle",       "Rondelle", "Valvole",   "Filtri"};

template <typename A>
const char* Pick(Random& r, const A& items) {
  return items[r.Below(items.size())];
}

std::string Pad(int64_t value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::string Base36(int64_t value, int width) {
  static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string out(width, '0');
  for (int i = width - 1; i >= 0 && value > 0; --i) {
    out[i] = kDigits[value % 36];
    value /= 36;
  }
  return out;
}

std::string Lower(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c >= 'A' && c <= 'Z')
      out.push_back(static_cast<char>(c - 'A' + 'a'));
    else if (c >= 'a' && c <= 'z')
      out.push_back(c);
  }
  return out;
}

int64_t Scaled(double scale, int64_t base, int64_t minimum) {
  return std::max<int64_t>(minimum, std::llround(static_cast<double>(base) * scale));
}

// A classification row the generator keeps to build children and customers.
struct Branch {
  int type;
  std::string macro;
  std::string middle;
  std::string code;
};

struct ParameterItem {
  int kind;
  std::string code;
  int company;
};

class Generator {
 public:
  Generator(db::Connection& cn, const ScaleOptions& options, const Progress& progress)
      : cn_(cn), rnd_(options.seed), n_(ScaleCounts::For(options.scale)), progress_(progress) {
    planned_ = n_.principals * 3 + n_.projects + n_.nodes + n_.simulations * 2 + n_.block_params +
               n_.matrix_warehouses + n_.other_warehouses + n_.families + n_.source_rows * 10 +
               n_.clifor + n_.parameter_rows + n_.principals * 20;
  }

  void Run() {
    {
      db::Transaction transaction(cn_);
      Principals();
      Companies();
      Catalogues();
      Classification();
      Customers();
      ParameterRevocations();
      OtherRevocations();
      transaction.Commit();
    }
    Report("SPFW_ReloadListaCFRevocati", 95);
    db::Command reload;
    reload.ActiveConnection = cn_.shared_from_this();
    reload.CommandType = db::kAdCmdStoredProc;
    reload.CommandTimeout = 0;
    reload.CommandText = "SPFW_ReloadListaCFRevocati";
    reload.Execute(nullptr, db::kAdExecuteNoRecords);
    Report("completato", 100);
  }

 private:
  // Adds a row and reports progress now and then.
  void Emit(BulkInserter& table, std::initializer_list<SqlValue> values, std::string_view step) {
    table.Add(values);
    if (++done_ % 4096 == 0) {
      Report(step,
             static_cast<int>(std::min<int64_t>(94, done_ * 95 / std::max<int64_t>(1, planned_))));
    }
  }

  void Report(std::string_view step, int percent) {
    if (!progress_ || percent <= last_percent_) return;
    last_percent_ = percent;
    progress_(step, percent);
  }

  int64_t users() const { return n_.principals - n_.groups; }

  void Principals() {
    const std::string_view step = "FW07_APPUSER";
    BulkInserter u(cn_, "FW07_APPUSER",
                   {"FW07_ID", "FW07_LOGIN", "FW07_NOMEUTENTE", "FW07_EMAIL", "FW07_FLGADMIN",
                    "FW07_FLGATTIVO"});
    Emit(u, {1, "admin", "Amministratore di sistema", "amministratore@ditta.example", 1, 1}, step);
    Emit(u, {2, "supervisore", "Supervisore di sistema", nullptr, 1, 1}, step);
    Emit(u, {3, "ospite", "Utente ospite", nullptr, 0, 1}, step);
    for (int64_t id = 4; id <= users(); ++id) {
      std::string first = Pick(rnd_, kFirstNames);
      std::string last = Pick(rnd_, kSurnames);
      std::string login = Lower(first.substr(0, 1)) + Lower(last) + std::to_string(id);
      Emit(u,
           {id, login, first + " " + last, login + "@ditta.example", rnd_.Chance(1) ? 1 : 0,
            rnd_.Chance(5) ? 0 : 1},
           step);
    }
    u.Flush();

    BulkInserter g(cn_, "FW06_GROUPUSR", {"FW06_ID", "FW06_CODICE", "FW06_DESCR"});
    Emit(g, {1, "CORVSA", "Super amministratori"}, step);
    for (int64_t id = 2; id <= n_.groups; ++id) {
      Emit(g,
           {id, "GRP" + Pad(id, 4),
            std::string("Gruppo ") + Pick(rnd_, kDepartments) + " " + Pick(rnd_, kCities)},
           step);
    }
    g.Flush();

    // User 1 is in CORVSA and group 2, user 2 only in CORVSA, user 3 in no
    // group; the others in one to three ordinary groups, a few also in CORVSA.
    BulkInserter m(cn_, "FW00_GRPUSRASSOC", {"FW00_ID_FW06", "FW00_ID_FW07"});
    Emit(m, {1, 1}, step);
    Emit(m, {2, 1}, step);
    Emit(m, {1, 2}, step);
    for (int64_t id = 4; id <= users(); ++id) {
      std::set<int64_t> groups;
      const int64_t count = rnd_.Between(1, 3);
      for (int64_t k = 0; k < count; ++k) groups.insert(rnd_.Between(2, n_.groups));
      if (rnd_.Chance(1)) groups.insert(1);
      for (int64_t group : groups) Emit(m, {group, id}, step);
    }
    m.Flush();

    BulkInserter s(cn_, "FW95_SETTINGS", {"FW95_CODICE", "FW95_DESCR", "FW95_VALORE"});
    s.Add({"AUT_RVKENABLED", "Abilitazione Revoke", "1"});
    s.Flush();
  }

  void Companies() {
    BulkInserter g(cn_, "CG16_ANAGGEN",
                   {"CG16_CODICE", "CG16_RAGSOANAG", "CG16_PARTIVA", "CG16_INDIRIZZO",
                    "CG16_LOCALITA", "CG16_PROVINCIA"});
    g.Add({101, "Grande Industria Lombarda S.p.A.", "01234560987", "Via dell'Industria 1", "Milano",
           "MI"});
    g.Add({102, "Logistica Padana S.r.l.", "02345670156", "Via Emilia 200", "Piacenza", "PC"});
    g.Add({103, "Piccola Officina S.n.c.", "03456780281", "Via Roma 1", "Lecco", "LC"});
    g.Flush();
    BulkInserter c(cn_, "CG18_ANADITTABASE", {"CG18_DITTA", "CG18_CODICE_CG16"});
    c.Add({1, 101});
    c.Add({2, 102});
    c.Add({3, 103});
    c.Flush();
  }

  void Catalogues() {
    std::string_view step = "MG58_DEPOSITI";
    BulkInserter d(cn_, "MG58_DEPOSITI", {"MG58_DITTA_CG18", "MG58_CODDEP", "MG58_DESCRDEP"});
    for (int64_t i = 0; i < n_.matrix_warehouses; ++i) {
      std::string code = i == 0 ? "A" : i == 1 ? "D 01" : "D" + Pad(i, 4);
      matrix_codes_.push_back(code);
      parameters_.push_back({6, code, 1});
      std::optional<std::string> descr;
      if (!rnd_.Chance(5)) descr = std::string("Deposito ") + Pick(rnd_, kCities) + " " + Pad(i, 3);
      Emit(d, {1, code, descr}, step);
    }
    for (int64_t i = 0; i < n_.other_warehouses; ++i) {
      std::string code = "W" + Pad(i, 6);
      parameters_.push_back({6, code, 2});
      Emit(d, {2, code, std::string("Magazzino ") + Pick(rnd_, kCities) + " " + Pad(i, 4)}, step);
    }
    Emit(d, {3, "01", "Magazzino unico"}, step);
    d.Flush();

    BulkInserter t(cn_, "PD1D_TIPIPROG", {"PD1D_CODICE", "PD1D_DESCR"});
    t.Add({"INT", "Commessa interna"});
    t.Add({"EST", "Commessa esterna"});
    t.Add({"RIC", "Ricerca e sviluppo"});
    t.Flush();
    BulkInserter st(cn_, "PD1E_STATIPROG", {"PD1E_CODICE", "PD1E_DESCR"});
    st.Add({"APE", "Aperto"});
    st.Add({"SOS", "Sospeso"});
    st.Add({"CHI", "Chiuso"});
    st.Flush();
    BulkInserter ca(cn_, "PD1F_CLASSEA", {"PD1F_CODICE", "PD1F_DESCR"});
    ca.Add({"NORD", "Area nord"});
    ca.Add({"SUD", "Area sud"});
    ca.Flush();
    BulkInserter cb(cn_, "PD1G_CLASSEB", {"PD1G_CODICE", "PD1G_DESCR"});
    cb.Add({"STD", "Priorita' standard"});
    cb.Add({"PRI", "Prioritario"});
    cb.Flush();
    BulkInserter cc(cn_, "PD1H_CLASSEC", {"PD1H_CODICE", "PD1H_DESCR"});
    cc.Add({"PUB", "Committente pubblico"});
    cc.Add({"PRV", "Committente privato"});
    cc.Flush();

    step = "PD68_PROGETTI";
    BulkInserter p(
        cn_, "PD68_PROGETTI",
        {"PD68_DITTA_CG18", "PD68_CODPROG", "PD68_DESCRPROG", "PD68_TIPO_PD1D", "PD68_STATO_PD1E",
         "PD68_CLASSEA_PD1F", "PD68_CLASSEB_PD1G", "PD68_CLASSEC_PD1H", "PD68_DATAINIZIO"});
    for (int64_t i = 0; i < n_.projects; ++i) {
      std::string code = i % 5 == 4 ? "COMM-" + Pad(i, 5) : std::to_string(100000 + i);
      projects_.push_back(code);
      parameters_.push_back({8, code, 1});
      std::string date = std::to_string(2020 + rnd_.Below(5)) + "-" + Pad(rnd_.Between(1, 12), 2) +
                         "-" + Pad(rnd_.Between(1, 28), 2);
      Emit(p,
           {1, code,
            std::string(Pick(rnd_, kWorks)) + " " + Pick(rnd_, kObjects) + " di " +
                Pick(rnd_, kCities),
            Pick(rnd_, kProjectTypes), Pick(rnd_, kProjectStates), Pick(rnd_, kClassA),
            Pick(rnd_, kClassB), Pick(rnd_, kClassC), date},
           step);
    }
    p.Flush();

    step = "PD0C_NODO";
    BulkInserter nd(
        cn_, "PD0C_NODO",
        {"PD0C_DITTA_CG18", "PD0C_CODPROG_PD68", "PD0C_CODNODO", "PD0C_DESCR", "PD0C_TIPO_PD1D",
         "PD0C_STATO_PD1E", "PD0C_CLASSEA_PD1F", "PD0C_CLASSEB_PD1G", "PD0C_CLASSEC_PD1H"});
    const int64_t per_project = n_.nodes / n_.projects;
    const int64_t extra = n_.nodes % n_.projects;
    for (int64_t i = 0; i < n_.projects; ++i) {
      const int64_t count = per_project + (i < extra ? 1 : 0);
      for (int64_t k = 0; k < count; ++k) {
        std::string node = Pad(10 * (k + 1), 3);
        nodes_.push_back({projects_[i], node});
        Emit(nd,
             {1, projects_[i], node,
              std::string(kPhases[k % kPhases.size()]) + " - fase " + std::to_string(k + 1),
              Pick(rnd_, kProjectTypes), Pick(rnd_, kProjectStates), Pick(rnd_, kClassA),
              Pick(rnd_, kClassB), Pick(rnd_, kClassC)},
             step);
      }
    }
    nd.Flush();

    step = "PD90_SIMULMRP";
    BulkInserter s(cn_, "PD90_SIMULMRP",
                   {"PD90_DITTA_CG18", "PD90_SIMULAZIONE", "PD90_RIGA", "PD90_CODART",
                    "PD90_QTAFABB", "PD90_DATAFABB"});
    for (int64_t i = 0; i < n_.simulations; ++i) {
      std::string code = "SIM" + Pad(i, 6);
      // Some simulation codes exist in company 2 as well.
      const bool shared = rnd_.Chance(5);
      for (int company = 1; company <= (shared ? 2 : 1); ++company) {
        parameters_.push_back({15, code, company});
        const int64_t lines = rnd_.Between(1, 2);
        for (int64_t line = 1; line <= lines; ++line) {
          Emit(s,
               {company, code, line,
                std::string(Pick(rnd_, kGoods)) + "-" + Pad(rnd_.Below(1000), 3),
                rnd_.Between(1, 5000), "2025-" + Pad(rnd_.Between(1, 12), 2) + "-01"},
               step);
        }
      }
    }
    s.Flush();

    step = "MG0F_BLMPARAM";
    BulkInserter b(cn_, "MG0F_BLMPARAM", {"MG0F_DITTA_CG18", "MG0F_CODPARAM", "MG0F_DESCPARAM"});
    for (int64_t i = 0; i < n_.block_params; ++i) {
      std::string code = "BL" + Pad(i, 6);
      parameters_.push_back({30, code, 1});
      Emit(b, {1, code, std::string("Blocco ") + Pick(rnd_, kGoods) + " " + Pad(i, 5)}, step);
    }
    b.Flush();

    // Family 0 holds a quote and family 1 blanks around its code, as in the demo.
    step = "MG53_FAMIGLIE";
    BulkInserter f(cn_, "MG53_FAMIGLIE", {"MG53_DITTA_CG18", "MG53_CODFAM", "MG53_DESCRFAM"});
    for (int64_t i = 0; i < n_.families; ++i) {
      std::string code = i == 0 ? "L'A" : i == 1 ? " VI " : Base36(i, 4);
      families_.push_back(code);
      Emit(f, {1, code, std::string(Pick(rnd_, kGoods)) + " " + Pick(rnd_, kTrades) + " " + code},
           step);
    }
    f.Flush();
  }

  // Writes one level of a classification; children pick a random parent of
  // the level above and inherit its type.
  std::vector<Branch> Level(const char* table, std::vector<std::string> columns, const char* prefix,
                            const char* description, const std::vector<Branch>* parents) {
    BulkInserter t(cn_, table, std::move(columns));
    std::vector<Branch> rows;
    for (int64_t i = 0; i < n_.source_rows; ++i) {
      Branch branch;
      if (parents == nullptr) {
        branch.type = i % 10 < 7 ? 0 : 1;
      } else {
        const Branch& parent = (*parents)[rnd_.Below(parents->size())];
        branch.type = parent.type;
        branch.macro = parent.macro.empty() ? parent.code : parent.macro;
        branch.middle = parent.macro.empty() ? "" : parent.code;
      }
      branch.code = std::string(prefix) + Pad(i, 5);
      std::string descr = std::string(description) + " " + Pick(rnd_, kCities) + " " + Pad(i, 5);
      const int obsolete = rnd_.Chance(2) ? 1 : 0;
      if (parents == nullptr) {
        Emit(t, {1, branch.type, branch.code, descr, obsolete}, table);
      } else if (branch.middle.empty()) {
        Emit(t, {1, branch.type, branch.macro, branch.code, descr, obsolete}, table);
      } else {
        Emit(t, {1, branch.type, branch.macro, branch.middle, branch.code, descr, obsolete}, table);
      }
      rows.push_back(std::move(branch));
    }
    t.Flush();
    return rows;
  }

  void Classification() {
    macro_areas_ = Level("MG07_MACROAREE",
                         {"MG07_DITTA_CG18", "MG07_TIPOCF", "MG07_MACROAREA", "MG07_DESCRMACROAR",
                          "MG07_FLGOBSOLETO"},
                         "MA", "Macroarea", nullptr);
    areas_ = Level("MG08_AREE",
                   {"MG08_DITTA_CG18", "MG08_TIPOCF_MG07", "MG08_MACROAREA_MG07", "MG08_AREA",
                    "MG08_DESCRAREA", "MG08_FLGOBSOLETO"},
                   "AR", "Area", &macro_areas_);
    zones_ = Level("MG09_ZONE",
                   {"MG09_DITTA_CG18", "MG09_TIPOCF_MG08", "MG09_MACROAREA_MG08", "MG09_AREA_MG08",
                    "MG09_ZONA", "MG09_DESCRZONA", "MG09_FLGOBSOLETO"},
                   "ZO", "Zona", &areas_);
    macro_cats_ = Level("MG10_MACROCAT",
                        {"MG10_DITTA_CG18", "MG10_TIPOCF", "MG10_MACROCAT", "MG10_DESCRMACROCAT",
                         "MG10_FLGOBSOLETO"},
                        "MC", "Macrocategoria", nullptr);
    cats_ = Level("MG11_CATEG",
                  {"MG11_DITTA_CG18", "MG11_TIPOCF_MG10", "MG11_MACROCAT_MG10", "MG11_CATEG",
                   "MG11_DESCRCAT", "MG11_FLGOBSOLETO"},
                  "CA", "Categoria", &macro_cats_);
    sub_cats_ = Level("MG12_SOTTOCAT",
                      {"MG12_DITTA_CG18", "MG12_TIPOCF_MG11", "MG12_MACROCAT_MG11",
                       "MG12_CATEG_MG11", "MG12_SOTTCAT", "MG12_DESCRSOTTOCAT", "MG12_FLGOBSOLETO"},
                      "SC", "Sottocategoria", &cats_);
    groupings_[0] = Level("MG31_RAGGRCF1",
                          {"MG31_DITTA_CG18", "MG31_TIPOCF", "MG31_CODRAGGRCF1",
                           "MG31_DESCRAGGRCF1", "MG31_FLGOBSOLETO"},
                          "RA", "Raggruppamento", nullptr);
    groupings_[1] = Level("MG32_RAGGRCF2",
                          {"MG32_DITTA_CG18", "MG32_TIPOCF", "MG32_CODRAGGRCF2",
                           "MG32_DESCRAGGRCF2", "MG32_FLGOBSOLETO"},
                          "RB", "Agente", nullptr);
    groupings_[2] = Level("MG33_RAGGRCF3",
                          {"MG33_DITTA_CG18", "MG33_TIPOCF", "MG33_CODRAGGRCF3",
                           "MG33_DESCRAGGRCF3", "MG33_FLGOBSOLETO"},
                          "RC", "Canale", nullptr);

    const std::string_view step = "CG31_ANADITTASEDI";
    BulkInserter s(cn_, "CG31_ANADITTASEDI",
                   {"CG31_DITTA_CG18", "CG31_CODICE", "CG31_INDIRIZZO", "CG31_LOCALITA"});
    for (int64_t i = 0; i < n_.source_rows; ++i) {
      std::string code = "S" + Pad(i, 5);
      sites_.push_back(code);
      std::optional<std::string> address;
      if (rnd_.Chance(3)) {
        address = "   ";
      } else if (!rnd_.Chance(2)) {
        address = std::string("Via ") + Pick(rnd_, kSurnames) + " " +
                  std::to_string(rnd_.Between(1, 200));
      }
      Emit(s, {1, code, address, Pick(rnd_, kCities)}, step);
    }
    Emit(s, {2, "SEDE", "Via Emilia 200", "Piacenza"}, step);
    Emit(s, {3, "SEDE", "Via Roma 1", "Lecco"}, step);
    s.Flush();
  }

  // A random branch of the given type from a level, or nullptr when the level
  // has none of that type.
  const Branch* RandomOfType(const std::vector<Branch>& level, int type) {
    for (int attempt = 0; attempt < 64; ++attempt) {
      const Branch& b = level[rnd_.Below(level.size())];
      if (b.type == type) return &b;
    }
    return nullptr;
  }

  void Customers() {
    const std::string_view step = "CG44_CLIFOR";
    BulkInserter c(
        cn_, "CG44_CLIFOR",
        {"CG44_DITTA_CG18", "CG44_TIPOCF", "CG44_CODCLIFOR", "CG44_RAGSOC", "CG44_LOCALITA",
         "CG44_MACROAREA_MG07", "CG44_AREA_MG08", "CG44_ZONA_MG09", "CG44_MACROCAT_MG10",
         "CG44_CATEG_MG11", "CG44_SOTTCAT_MG12", "CG44_CODRAGGRCF1_MG31", "CG44_CODRAGGRCF2_MG32",
         "CG44_CODRAGGRCF3_MG33", "CG44_SEDE_CG31"});
    using Opt = std::optional<std::string>;
    for (int64_t i = 0; i < n_.clifor; ++i) {
      const int type = rnd_.Chance(70) ? 0 : 1;
      std::array<Opt, 3> area;
      std::array<Opt, 3> cat;
      // Most are classified down to the last level, some only to the middle
      // one, a few not at all.
      auto classify = [&](const std::vector<Branch>& leaves, const std::vector<Branch>& middles,
                          std::array<Opt, 3>& out) {
        const uint64_t roll = rnd_.Below(100);
        if (roll < 85) {
          if (const Branch* b = RandomOfType(leaves, type)) out = {b->macro, b->middle, b->code};
        } else if (roll < 95) {
          if (const Branch* b = RandomOfType(middles, type)) out = {b->macro, b->code, Opt()};
        }
      };
      classify(zones_, areas_, area);
      classify(sub_cats_, cats_, cat);
      std::array<Opt, 3> groups;
      for (size_t g = 0; g < 3; ++g) {
        if (rnd_.Chance(70)) {
          if (const Branch* b = RandomOfType(groupings_[g], type)) groups[g] = b->code;
        }
      }
      Opt site;
      if (rnd_.Chance(80)) site = sites_[rnd_.Below(sites_.size())];
      const std::string code = (type == 0 ? "C" : "F") + Pad(i, 6);
      Emit(c,
           {1, type, code,
            std::string(Pick(rnd_, kTrades)) + " " + Pick(rnd_, kSurnames) + " " +
                Pick(rnd_, kLegalForms),
            Pick(rnd_, kCities), area[0], area[1], area[2], cat[0], cat[1], cat[2], groups[0],
            groups[1], groups[2], site},
           step);
    }
    c.Flush();
  }

  // Each principal gets its share of FW31 rows, distinct items drawn with
  // Floyd's algorithm (in draw order, so the result does not depend on any
  // hash container's iteration order).
  void ParameterRevocations() {
    const std::string_view step = "FW31_RVKPARAMETRI";
    BulkInserter r(
        cn_, "FW31_RVKPARAMETRI",
        {"FW31_ID_FW07", "FW31_ID_FW06", "FW31_INDTIPO", "FW31_CODTIPO", "FW31_DITTARAGG",
         "FW31_FLGABILITATO", "FW31_FLGMODIFICA", "FW31_FLGELIMINA", "FW31_FLGINSERISCI"});
    const int64_t universe = static_cast<int64_t>(parameters_.size());
    const int64_t base = n_.parameter_rows / n_.principals;
    const int64_t extra = n_.parameter_rows % n_.principals;
    std::unordered_set<int64_t> taken;
    std::vector<int64_t> picks;
    for (int64_t p = 0; p < n_.principals; ++p) {
      const int64_t want = std::min(universe, base + (p < extra ? 1 : 0));
      taken.clear();
      picks.clear();
      for (int64_t j = universe - want; j < universe; ++j) {
        int64_t t = static_cast<int64_t>(rnd_.Below(static_cast<uint64_t>(j + 1)));
        if (!taken.insert(t).second) {
          t = j;
          taken.insert(t);
        }
        picks.push_back(t);
      }
      const auto [user, group] = PrincipalColumns(p);
      for (int64_t index : picks) {
        const ParameterItem& item = parameters_[index];
        Emit(r, {user, group, item.kind, item.code, item.company, 0, 0, 0, 0}, step);
      }
    }
    r.Flush();
  }

  // Principal number p (0-based): users first, then groups.
  std::pair<SqlValue, SqlValue> PrincipalColumns(int64_t p) const {
    if (p < users()) return {SqlValue(p + 1), SqlValue(nullptr)};
    return {SqlValue(nullptr), SqlValue(p - users() + 1)};
  }

  void OtherRevocations() {
    BulkInserter cf(cn_, "FW32_RVKCLIFOR",
                    {"FW32_ID_FW07", "FW32_ID_FW06", "FW32_DITTA", "FW32_TIPOCF", "FW32_CODMACRO",
                     "FW32_CODMIDDLE", "FW32_CODRAGG", "FW32_TIPORAGG", "FW32_FLGABILITATO",
                     "FW32_FLGMODIFICA"});
    BulkInserter ar(cn_, "FW3H_RVKARTICOLI",
                    {"FW3H_ID_FW07", "FW3H_ID_FW06", "FW3H_DITTA", "FW3H_CODMACRO",
                     "FW3H_CODMIDDLE", "FW3H_CODRAGG", "FW3H_TIPORAGG", "FW3H_FLGABILITATO",
                     "FW3H_FLGMODIFICA", "FW3H_FLGINSERIMENTO", "FW3H_FLGELIMINA"});
    BulkInserter de(
        cn_, "FW3E_RVKDEPCOLL",
        {"FW3E_DITTA_CG18", "FW3E_CODDEP_ORI", "FW3E_CODDEP_DES", "FW3E_ID_FW07", "FW3E_ID_FW06"});
    BulkInserter no(
        cn_, "FW3N_RVKNODI",
        {"FW3N_DITTA_CG18", "FW3N_CODPROG_PD68", "FW3N_CODNODO", "FW3N_ID_FW06", "FW3N_ID_FW07"});
    std::set<std::string> keys;  // per principal, to keep logical keys unique
    for (int64_t p = 0; p < n_.principals; ++p) {
      const auto [user, group] = PrincipalColumns(p);
      if (rnd_.Chance(30)) {
        keys.clear();
        const int64_t count = rnd_.Between(1, 10);
        for (int64_t k = 0; k < count; ++k) {
          const uint64_t kind = rnd_.Below(10);
          const std::vector<Branch>* level = nullptr;
          const char* tiporagg = "AREA";
          switch (kind) {
            case 0:
              level = &macro_areas_;
              break;
            case 1:
              level = &areas_;
              break;
            case 2:
              level = &zones_;
              break;
            case 3:
              level = &macro_cats_;
              tiporagg = "CAT";
              break;
            case 4:
              level = &cats_;
              tiporagg = "CAT";
              break;
            case 5:
              level = &sub_cats_;
              tiporagg = "CAT";
              break;
            case 6:
              level = &groupings_[0];
              tiporagg = "RAGG1";
              break;
            case 7:
              level = &groupings_[1];
              tiporagg = "RAGG2";
              break;
            case 8:
              level = &groupings_[2];
              tiporagg = "RAGG3";
              break;
            default:
              tiporagg = "SEDE";
              break;
          }
          int type = -1;
          std::string macro, middle, ragg;
          if (level == nullptr) {
            ragg = sites_[rnd_.Below(sites_.size())];
          } else {
            const Branch& b = (*level)[rnd_.Below(level->size())];
            type = b.type;
            if (kind >= 6) {
              ragg = b.code;
            } else if (b.macro.empty()) {
              macro = b.code;
            } else if (b.middle.empty()) {
              macro = b.macro;
              middle = b.code;
            } else {
              macro = b.macro;
              middle = b.middle;
              ragg = b.code;
            }
          }
          std::string key = std::string(tiporagg) + "|" + std::to_string(type) + "|" + macro + "|" +
                            middle + "|" + ragg;
          if (!keys.insert(key).second) continue;
          Emit(cf,
               {user, group, 1, type, macro, middle, ragg, tiporagg, rnd_.Chance(85) ? 0 : 1, 0},
               "FW32_RVKCLIFOR");
        }
      }
      if (rnd_.Chance(30)) {
        keys.clear();
        const int64_t count = rnd_.Between(1, 20);
        for (int64_t k = 0; k < count; ++k) {
          std::string family = families_[rnd_.Below(families_.size())];
          if (!keys.insert(family).second) continue;
          const int modify = rnd_.Chance(50) ? 0 : 1;
          Emit(ar,
               {user, group, 1, family, "", "", "FAM", 1, modify, rnd_.Chance(50) ? 0 : 1,
                modify == 0 ? 0 : (rnd_.Chance(50) ? 0 : 1)},
               "FW3H_RVKARTICOLI");
        }
      }
      if (rnd_.Chance(20)) {
        keys.clear();
        const int64_t count = rnd_.Between(1, 50);
        for (int64_t k = 0; k < count; ++k) {
          const std::string& from = matrix_codes_[rnd_.Below(matrix_codes_.size())];
          const std::string& to = matrix_codes_[rnd_.Below(matrix_codes_.size())];
          if (!keys.insert(from + "|" + to).second) continue;
          Emit(de, {1, from, to, user, group}, "FW3E_RVKDEPCOLL");
        }
      }
      if (rnd_.Chance(20)) {
        keys.clear();
        const int64_t count = rnd_.Between(1, 50);
        for (int64_t k = 0; k < count; ++k) {
          const auto& [project, node] = nodes_[rnd_.Below(nodes_.size())];
          if (!keys.insert(project + "|" + node).second) continue;
          Emit(no, {1, project, node, group, user}, "FW3N_RVKNODI");
        }
      }
    }
    cf.Flush();
    ar.Flush();
    de.Flush();
    no.Flush();
  }

  db::Connection& cn_;
  Random rnd_;
  ScaleCounts n_;
  const Progress& progress_;
  int64_t planned_ = 1;
  int64_t done_ = 0;
  int last_percent_ = -1;

  std::vector<std::string> matrix_codes_;
  std::vector<std::string> projects_;
  std::vector<std::pair<std::string, std::string>> nodes_;
  std::vector<std::string> families_;
  std::vector<std::string> sites_;
  std::vector<ParameterItem> parameters_;
  std::vector<Branch> macro_areas_, areas_, zones_, macro_cats_, cats_, sub_cats_;
  std::array<std::vector<Branch>, 3> groupings_;
};

}  // namespace

ScaleCounts ScaleCounts::For(double scale) {
  ScaleCounts n{};
  n.principals = Scaled(scale, 1000, 6);
  n.groups = std::max<int64_t>(2, n.principals / 5);
  n.projects = Scaled(scale, 10000, 2);
  n.nodes = Scaled(scale, 50000, n.projects);
  n.simulations = Scaled(scale, 10000, 2);
  n.block_params = Scaled(scale, 10000, 2);
  n.matrix_warehouses = Scaled(scale, 500, 3);
  n.other_warehouses = Scaled(scale, 9500, 1);
  n.families = Scaled(scale, 2000, 3);
  n.source_rows = Scaled(scale, 5000, 10);
  n.clifor = Scaled(scale, 10000, 10);
  n.parameter_rows = Scaled(scale, 1000000, 1);
  return n;
}

void ScaledInstallation::Populate(db::Connection& connection, const ScaleOptions& options,
                                  const Progress& progress) {
  Generator(connection, options, progress).Run();
}

}  // namespace orv::hostdb
