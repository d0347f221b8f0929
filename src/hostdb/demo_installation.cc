#include "hostdb/demo_installation.h"

#include "db/command.h"
#include "hostdb/bulk_inserter.h"

namespace orv::hostdb {
namespace {

using C = BulkInserter;

void Principals(db::Connection& cn) {
  C users(cn, "FW07_APPUSER",
          {"FW07_ID", "FW07_LOGIN", "FW07_NOMEUTENTE", "FW07_EMAIL", "FW07_FLGADMIN",
           "FW07_FLGATTIVO"});
  users.Add({1, "admin", "Amministratore di sistema", "amministratore@omb-brescia.example", 1, 1});
  users.Add({2, "mrossi", "Mario Rossi", "m.rossi@omb-brescia.example", 0, 1});
  users.Add({3, "lbianchi", "Laura Bianchi", "l.bianchi@omb-brescia.example", 0, 1});
  users.Add({4, "gverdi", "Giovanni Verdi", "g.verdi@omb-brescia.example", 0, 1});
  users.Add({5, "fesposito", "Francesca Esposito", "f.esposito@omb-brescia.example", 0, 1});
  users.Add({6, "aromano", "Alessandro Romano", "a.romano@omb-brescia.example", 0, 1});
  users.Add({7, "cferrari", "Chiara Ferrari", "c.ferrari@omb-brescia.example", 0, 1});
  users.Add({8, "supervisore", "Supervisore di sistema", nullptr, 1, 1});
  users.Add({9, "ospite", "Utente ospite", nullptr, 0, 1});
  users.Add({10, "pcolombo", "Paolo Colombo", "p.colombo@omb-brescia.example", 0, 1});
  users.Add({11, "sricci", "Sara Ricci", "s.ricci@omb-brescia.example", 0, 0});
  users.Flush();

  C groups(cn, "FW06_GROUPUSR", {"FW06_ID", "FW06_CODICE", "FW06_DESCR"});
  groups.Add({1, "CORVSA", "Super amministratori"});
  groups.Add({2, "AMMIN", "Amministrazione"});
  groups.Add({3, "VENDITE", "Ufficio vendite"});
  groups.Add({4, "ACQUISTI", "Ufficio acquisti"});
  groups.Add({5, "MAGAZZ", "Magazzino e logistica"});
  groups.Add({6, "PRODUZ", "Produzione"});
  groups.Flush();

  C members(cn, "FW00_GRPUSRASSOC", {"FW00_ID_FW06", "FW00_ID_FW07"});
  for (auto [group, user] : {std::pair{1, 1},
                             {1, 8},
                             {2, 1},
                             {2, 10},
                             {3, 2},
                             {3, 3},
                             {3, 11},
                             {4, 3},
                             {4, 4},
                             {5, 5},
                             {5, 6},
                             {6, 6},
                             {6, 7}}) {
    members.Add({group, user});
  }
  members.Flush();

  C settings(cn, "FW95_SETTINGS", {"FW95_CODICE", "FW95_DESCR", "FW95_VALORE"});
  settings.Add({"AUT_RVKENABLED", "Abilitazione Revoke", "1"});
  settings.Add({"AUT_LOGMODIFICHE", "Registro modifiche attivo", "1"});
  settings.Flush();
}

void Companies(db::Connection& cn) {
  C general(cn, "CG16_ANAGGEN",
            {"CG16_CODICE", "CG16_RAGSOANAG", "CG16_PARTIVA", "CG16_CODFISCALE", "CG16_INDIRIZZO",
             "CG16_LOCALITA", "CG16_PROVINCIA"});
  general.Add({101, "Officine Meccaniche Bresciane S.p.A.", "01234560987", "01234560987",
               "Via dell'Industria 12", "Brescia", "BS"});
  general.Add({102, "Tessitura Valsesia S.r.l.", "02345670156", "02345670156", "Via Roma 5",
               "Biella", "BI"});
  general.Add({103, "Cantina Colli Euganei Soc. Coop.", "03456780281", "03456780281",
               "Via dei Colli 3", "Teolo", "PD"});
  general.Flush();

  C companies(cn, "CG18_ANADITTABASE", {"CG18_DITTA", "CG18_CODICE_CG16"});
  companies.Add({1, 101});
  companies.Add({2, 102});
  companies.Add({3, 103});
  companies.Flush();

  // 'MAG' has a blank address and 'UFF' none: the tree shows only their code.
  C sites(cn, "CG31_ANADITTASEDI",
          {"CG31_DITTA_CG18", "CG31_CODICE", "CG31_INDIRIZZO", "CG31_LOCALITA", "CG31_PROVINCIA"});
  sites.Add({1, "SEDE", "Via dell'Industria 12", "Brescia", "BS"});
  sites.Add({1, "FIL-MI", "Viale Europa 22", "Milano", "MI"});
  sites.Add({1, "MAG", "   ", "Brescia", "BS"});
  sites.Add({1, "UFF", nullptr, "Roma", "RM"});
  sites.Add({2, "SEDE", "Via Roma 5", "Biella", "BI"});
  sites.Add({3, "SEDE", "Via dei Colli 3", "Teolo", "PD"});
  sites.Flush();
}

void Catalogues(db::Connection& cn) {
  // Warehouses: 'A' is one character long, 'DEP 1' has an inner blank, 'CL'
  // has no description, '01' exists in every company.
  C deps(cn, "MG58_DEPOSITI",
         {"MG58_DITTA_CG18", "MG58_CODDEP", "MG58_DESCRDEP", "MG58_INDIRIZZO", "MG58_FLGFISCALE"});
  deps.Add({1, "01", "Magazzino centrale", "Via dell'Industria 12, Brescia", 1});
  deps.Add({1, "02", "Deposito Milano Nord", "Via Stephenson 40, Milano", 1});
  deps.Add({1, "A", "Magazzino accessori", "Via dell'Industria 14, Brescia", 1});
  deps.Add({1, "DEP 1", "Deposito esterno n. 1", "Via Artigiani 3, Rezzato", 0});
  deps.Add({1, "MP", "Materie prime", nullptr, 1});
  deps.Add({1, "PF", "Prodotti finiti", nullptr, 1});
  deps.Add({1, "CL", nullptr, nullptr, 0});
  deps.Add({2, "01", "Magazzino filati", "Via Roma 5, Biella", 1});
  deps.Add({2, "02", "Magazzino tessuti", "Via Roma 7, Biella", 1});
  deps.Add({2, "B", "Deposito campionario", nullptr, 0});
  deps.Add({3, "01", "Cantina principale", "Via dei Colli 3, Teolo", 1});
  deps.Add({3, "BOT", "Bottaia", nullptr, 1});
  deps.Flush();

  C types(cn, "PD1D_TIPIPROG", {"PD1D_CODICE", "PD1D_DESCR"});
  types.Add({"INT", "Commessa interna"});
  types.Add({"EST", "Commessa esterna"});
  types.Add({"RIC", "Ricerca e sviluppo"});
  types.Flush();
  C states(cn, "PD1E_STATIPROG", {"PD1E_CODICE", "PD1E_DESCR"});
  states.Add({"APE", "Aperto"});
  states.Add({"SOS", "Sospeso"});
  states.Add({"CHI", "Chiuso"});
  states.Flush();
  C class_a(cn, "PD1F_CLASSEA", {"PD1F_CODICE", "PD1F_DESCR"});
  class_a.Add({"NORD", "Area nord"});
  class_a.Add({"SUD", "Area sud"});
  class_a.Flush();
  C class_b(cn, "PD1G_CLASSEB", {"PD1G_CODICE", "PD1G_DESCR"});
  class_b.Add({"STD", "Priorita' standard"});
  class_b.Add({"PRI", "Prioritario"});
  class_b.Flush();
  C class_c(cn, "PD1H_CLASSEC", {"PD1H_CODICE", "PD1H_DESCR"});
  class_c.Add({"PUB", "Committente pubblico"});
  class_c.Add({"PRV", "Committente privato"});
  class_c.Flush();

  C projects(
      cn, "PD68_PROGETTI",
      {"PD68_DITTA_CG18", "PD68_CODPROG", "PD68_DESCRPROG", "PD68_TIPO_PD1D", "PD68_STATO_PD1E",
       "PD68_CLASSEA_PD1F", "PD68_CLASSEB_PD1G", "PD68_CLASSEC_PD1H", "PD68_DATAINIZIO"});
  projects.Add({1, "24001", "Ampliamento stabilimento di Brescia", "INT", "APE", "NORD", "PRI",
                "PRV", "2024-01-15"});
  projects.Add({1, "24002", "Linea di verniciatura automatica", "EST", "APE", "NORD", "STD", "PRV",
                "2024-03-01"});
  projects.Add({1, "24003", "Manutenzione dell'impianto di Cremona", "EST", "SOS", "SUD", "STD",
                "PUB", "2024-05-20"});
  projects.Add({1, "COMM-MI-01", "Commessa metropolitana Milano", "EST", "APE", "NORD", "PRI",
                "PUB", "2023-09-11"});
  projects.Add(
      {1, "R&D-07", "Ricerca nuovi materiali", "RIC", "CHI", "NORD", "STD", "PRV", "2022-02-01"});
  projects.Add(
      {2, "24001", "Nuovo telaio jacquard", "INT", "APE", "NORD", "PRI", "PRV", "2024-02-12"});
  projects.Add({2, "24010", "Certificazione tessuti ignifughi", "RIC", "APE", "NORD", "STD", "PRV",
                "2024-06-03"});
  projects.Add({3, "23005", "Nuova bottaia", "INT", "CHI", "NORD", "STD", "PRV", "2023-04-18"});
  projects.Flush();

  C nodes(cn, "PD0C_NODO",
          {"PD0C_DITTA_CG18", "PD0C_CODPROG_PD68", "PD0C_CODNODO", "PD0C_DESCR",
           "PD0C_CODNODOPADRE", "PD0C_TIPO_PD1D", "PD0C_STATO_PD1E", "PD0C_CLASSEA_PD1F",
           "PD0C_CLASSEB_PD1G", "PD0C_CLASSEC_PD1H"});
  struct Node {
    int ditta;
    const char* prog;
    const char* code;
    const char* descr;
    const char* parent;
    const char* state;
  };
  const Node node_rows[] = {
      {1, "24001", "010", "Progettazione", nullptr, "CHI"},
      {1, "24001", "020", "Approvvigionamento materiali", nullptr, "APE"},
      {1, "24001", "030", "Montaggio", nullptr, "APE"},
      {1, "24001", "030.01", "Montaggio meccanico", "030", "APE"},
      {1, "24001", "030.02", "Montaggio elettrico", "030", "SOS"},
      {1, "24001", "040", "Collaudo e consegna", nullptr, "APE"},
      {1, "24002", "010", "Progettazione", nullptr, "APE"},
      {1, "24002", "020", "Acquisto cabina di verniciatura", nullptr, "APE"},
      {1, "24002", "030", "Installazione", nullptr, "APE"},
      {1, "24003", "010", "Sopralluogo", nullptr, "CHI"},
      {1, "24003", "020", "Sostituzione dell'impianto", nullptr, "SOS"},
      {1, "COMM-MI-01", "010", "Fornitura carpenteria", nullptr, "APE"},
      {1, "COMM-MI-01", "020", "Posa in opera", nullptr, "APE"},
      {1, "R&D-07", "010", "Analisi di laboratorio", nullptr, "CHI"},
      {2, "24001", "010", "Studio di fattibilita'", nullptr, "CHI"},
      {2, "24001", "020", "Acquisto telaio", nullptr, "APE"},
      {2, "24010", "010", "Prove di laboratorio", nullptr, "APE"},
      {3, "23005", "010", "Acquisto botti", nullptr, "CHI"},
  };
  for (const Node& n : node_rows) {
    nodes.Add({n.ditta, n.prog, n.code, n.descr, n.parent, "INT", n.state, "NORD", "STD", "PRV"});
  }
  nodes.Flush();

  // Simulation 'BASE' exists in companies 1 and 2.
  C sims(cn, "PD90_SIMULMRP",
         {"PD90_DITTA_CG18", "PD90_SIMULAZIONE", "PD90_RIGA", "PD90_CODART", "PD90_QTAFABB",
          "PD90_DATAFABB"});
  sims.Add({1, "SIM2024A", 1, "VITE-M8", 5000, "2024-09-30"});
  sims.Add({1, "SIM2024A", 2, "DADO-M8", 5000, "2024-09-30"});
  sims.Add({1, "SIM2024A", 3, "RONDELLA-8", 10000, "2024-10-15"});
  sims.Add({1, "SIM2024B", 1, "STAFFA-120", 800, "2024-11-04"});
  sims.Add({1, "SIM2024B", 2, "PIASTRA-45", 300, "2024-11-18"});
  sims.Add({1, "BASE", 1, "VITE-M8", 2000, "2024-07-01"});
  sims.Add({1, "BASE", 2, "STAFFA-120", 150, "2024-07-01"});
  sims.Add({2, "BASE", 1, "FILATO-LANA", 1200, "2024-08-20"});
  sims.Add({2, "BASE", 2, "FILATO-COTONE", 900, "2024-08-20"});
  sims.Add({2, "PROVA", 1, "TESSUTO-JAC", 400, "2024-12-02"});
  sims.Flush();

  C params(cn, "MG0F_BLMPARAM", {"MG0F_DITTA_CG18", "MG0F_CODPARAM", "MG0F_DESCPARAM"});
  params.Add({1, "QUAL", "Blocco per controllo qualita'"});
  params.Add({1, "INV", "Blocco per inventario"});
  params.Add({1, "RESO", "Merce in attesa di reso"});
  params.Add({1, "DANN", "Merce danneggiata"});
  params.Add({2, "QUAL", "Blocco qualita'"});
  params.Add({2, "SCAD", "Merce scaduta"});
  params.Add({3, "ANAL", "In attesa di analisi"});
  params.Flush();

  // Families: "L'A" holds a quote, " VI " has blanks around it.
  C fams(cn, "MG53_FAMIGLIE", {"MG53_DITTA_CG18", "MG53_CODFAM", "MG53_DESCRFAM"});
  fams.Add({1, "FERR", "Ferramenta"});
  fams.Add({1, "UTEN", "Utensileria"});
  fams.Add({1, "ELET", "Materiale elettrico"});
  fams.Add({1, "IDRA", "Idraulica"});
  fams.Add({1, "VERN", "Vernici e solventi"});
  fams.Add({1, "L'A", "Articoli per l'arredo"});
  fams.Add({1, " VI ", "Viteria e bulloneria"});
  fams.Add({1, "MINU", "Minuteria metallica"});
  fams.Add({2, "FILA", "Filati"});
  fams.Add({2, "TESS", "Tessuti"});
  fams.Add({2, "ACCE", "Accessori tessili"});
  fams.Add({3, "VINI", "Vini in bottiglia"});
  fams.Add({3, "SFUS", "Vino sfuso"});
  fams.Flush();
}

void Classification(db::Connection& cn) {
  // Type 0 customers, 1 suppliers. Obsolete rows: macro area 'ISOLE', area
  // 'UMB', grouping 3 'VECCHIO'. 'Lom' and 'bg' are stored in mixed/lower case.
  C macro(cn, "MG07_MACROAREE",
          {"MG07_DITTA_CG18", "MG07_TIPOCF", "MG07_MACROAREA", "MG07_DESCRMACROAR",
           "MG07_FLGOBSOLETO"});
  macro.Add({1, 0, "NORD", "Italia settentrionale", 0});
  macro.Add({1, 0, "CENTRO", "Italia centrale", 0});
  macro.Add({1, 0, "SUD", "Italia meridionale", 0});
  macro.Add({1, 0, "ESTERO", "Estero", 0});
  macro.Add({1, 0, "ISOLE", "Isole (non piu' in uso)", 1});
  macro.Add({1, 1, "NORD", "Fornitori del nord", 0});
  macro.Add({1, 1, "ESTERO", "Fornitori esteri", 0});
  macro.Add({2, 0, "NORD", "Nord Italia", 0});
  macro.Add({2, 0, "EXPORT", "Esportazione", 0});
  macro.Add({2, 1, "NAZ", "Fornitori nazionali", 0});
  macro.Add({3, 0, "VENETO", "Veneto", 0});
  macro.Flush();

  C areas(cn, "MG08_AREE",
          {"MG08_DITTA_CG18", "MG08_TIPOCF_MG07", "MG08_MACROAREA_MG07", "MG08_AREA",
           "MG08_DESCRAREA", "MG08_FLGOBSOLETO"});
  areas.Add({1, 0, "NORD", "NO", "Nord-ovest", 0});
  areas.Add({1, 0, "NORD", "NE", "Nord-est", 0});
  areas.Add({1, 0, "NORD", "Lom", "Lombardia", 0});
  areas.Add({1, 0, "CENTRO", "TOS", "Toscana", 0});
  areas.Add({1, 0, "CENTRO", "LAZ", "Lazio", 0});
  areas.Add({1, 0, "CENTRO", "UMB", "Umbria (non piu' in uso)", 1});
  areas.Add({1, 0, "SUD", "CAM", "Campania", 0});
  areas.Add({1, 0, "SUD", "PUG", "Puglia", 0});
  areas.Add({1, 0, "ESTERO", "UE", "Unione europea", 0});
  areas.Add({1, 0, "ESTERO", "EXTRA", "Paesi extra UE", 0});
  areas.Add({1, 1, "NORD", "NO", "Nord-ovest", 0});
  areas.Add({1, 1, "ESTERO", "DE", "Germania", 0});
  areas.Add({2, 0, "NORD", "PIE", "Piemonte", 0});
  areas.Add({2, 0, "EXPORT", "FR", "Francia", 0});
  areas.Add({3, 0, "VENETO", "PD", "Provincia di Padova", 0});
  areas.Flush();

  C zones(cn, "MG09_ZONE",
          {"MG09_DITTA_CG18", "MG09_TIPOCF_MG08", "MG09_MACROAREA_MG08", "MG09_AREA_MG08",
           "MG09_ZONA", "MG09_DESCRZONA", "MG09_FLGOBSOLETO"});
  zones.Add({1, 0, "NORD", "NO", "MI", "Milano", 0});
  zones.Add({1, 0, "NORD", "NO", "TO", "Torino", 0});
  zones.Add({1, 0, "NORD", "NO", "GE", "Genova", 0});
  zones.Add({1, 0, "NORD", "NE", "VE", "Venezia", 0});
  zones.Add({1, 0, "NORD", "NE", "PD", "Padova", 0});
  zones.Add({1, 0, "NORD", "Lom", "BS", "Brescia", 0});
  zones.Add({1, 0, "NORD", "Lom", "bg", "Bergamo", 0});
  zones.Add({1, 0, "CENTRO", "TOS", "FI", "Firenze", 0});
  zones.Add({1, 0, "SUD", "CAM", "NA", "Napoli", 0});
  zones.Add({1, 0, "ESTERO", "UE", "DE", "Germania", 0});
  zones.Add({1, 0, "ESTERO", "UE", "FR", "Francia", 0});
  zones.Add({1, 1, "NORD", "NO", "MI", "Milano", 0});
  zones.Add({2, 0, "NORD", "PIE", "BI", "Biella", 0});
  zones.Add({3, 0, "VENETO", "PD", "EST", "Colli Euganei", 0});
  zones.Flush();

  C mcat(cn, "MG10_MACROCAT",
         {"MG10_DITTA_CG18", "MG10_TIPOCF", "MG10_MACROCAT", "MG10_DESCRMACROCAT",
          "MG10_FLGOBSOLETO"});
  mcat.Add({1, 0, "IND", "Industria", 0});
  mcat.Add({1, 0, "COM", "Commercio", 0});
  mcat.Add({1, 0, "PRIV", "Privati", 0});
  mcat.Add({1, 1, "MATP", "Fornitori di materie prime", 0});
  mcat.Add({1, 1, "SERV", "Fornitori di servizi", 0});
  mcat.Add({2, 0, "CONF", "Confezionisti", 0});
  mcat.Add({2, 1, "FIL", "Filature", 0});
  mcat.Add({3, 0, "HORECA", "Ristorazione e alberghi", 0});
  mcat.Flush();

  C cat(cn, "MG11_CATEG",
        {"MG11_DITTA_CG18", "MG11_TIPOCF_MG10", "MG11_MACROCAT_MG10", "MG11_CATEG", "MG11_DESCRCAT",
         "MG11_FLGOBSOLETO"});
  cat.Add({1, 0, "IND", "MECC", "Meccanica", 0});
  cat.Add({1, 0, "IND", "ALIM", "Alimentare", 0});
  cat.Add({1, 0, "COM", "GDO", "Grande distribuzione", 0});
  cat.Add({1, 0, "COM", "DETT", "Dettaglio", 0});
  cat.Add({1, 1, "MATP", "MET", "Metalli", 0});
  cat.Add({1, 1, "MATP", "PLA", "Materie plastiche", 0});
  cat.Add({1, 1, "SERV", "TRA", "Trasporti", 0});
  cat.Add({2, 0, "CONF", "ABB", "Abbigliamento", 0});
  cat.Add({3, 0, "HORECA", "RIS", "Ristoranti", 0});
  cat.Flush();

  C scat(cn, "MG12_SOTTOCAT",
         {"MG12_DITTA_CG18", "MG12_TIPOCF_MG11", "MG12_MACROCAT_MG11", "MG12_CATEG_MG11",
          "MG12_SOTTCAT", "MG12_DESCRSOTTOCAT", "MG12_FLGOBSOLETO"});
  scat.Add({1, 0, "IND", "MECC", "PREC", "Meccanica di precisione", 0});
  scat.Add({1, 0, "IND", "MECC", "PES", "Carpenteria pesante", 0});
  scat.Add({1, 0, "COM", "GDO", "SUP", "Supermercati", 0});
  scat.Add({1, 0, "COM", "GDO", "IPER", "Ipermercati", 0});
  scat.Add({1, 1, "MATP", "MET", "ACC", "Acciaio", 0});
  scat.Add({1, 1, "MATP", "MET", "ALL", "Alluminio", 0});
  scat.Add({2, 0, "CONF", "ABB", "UOMO", "Abbigliamento uomo", 0});
  scat.Add({3, 0, "HORECA", "RIS", "ENO", "Enoteche", 0});
  scat.Flush();

  C r1(cn, "MG31_RAGGRCF1",
       {"MG31_DITTA_CG18", "MG31_TIPOCF", "MG31_CODRAGGRCF1", "MG31_DESCRAGGRCF1",
        "MG31_FLGOBSOLETO"});
  r1.Add({1, 0, "A", "Clienti strategici", 0});
  r1.Add({1, 0, "B", "Clienti ordinari", 0});
  r1.Add({1, 0, "C", "Clienti occasionali", 0});
  r1.Add({1, 1, "A", "Fornitori qualificati", 0});
  r1.Add({1, 1, "B", "Fornitori in prova", 0});
  r1.Add({2, 0, "A", "Clienti principali", 0});
  r1.Add({3, 0, "A", "Clienti storici", 0});
  r1.Flush();

  C r2(cn, "MG32_RAGGRCF2",
       {"MG32_DITTA_CG18", "MG32_TIPOCF", "MG32_CODRAGGRCF2", "MG32_DESCRAGGRCF2",
        "MG32_FLGOBSOLETO"});
  r2.Add({1, 0, "AG01", "Agente Lombardia", 0});
  r2.Add({1, 0, "AG02", "Agente Triveneto", 0});
  r2.Add({1, 0, "AG03", "Agente centro-sud", 0});
  r2.Add({1, 1, "BUY1", "Buyer metalli", 0});
  r2.Add({2, 0, "AG01", "Agente Piemonte", 0});
  r2.Flush();

  C r3(cn, "MG33_RAGGRCF3",
       {"MG33_DITTA_CG18", "MG33_TIPOCF", "MG33_CODRAGGRCF3", "MG33_DESCRAGGRCF3",
        "MG33_FLGOBSOLETO"});
  r3.Add({1, 0, "FIERA", "Contatti da fiera", 0});
  r3.Add({1, 0, "WEB", "Canale web", 0});
  r3.Add({1, 0, "VECCHIO", "Classificazione dismessa", 1});
  r3.Add({1, 1, "CERT", "Fornitori certificati ISO", 0});
  r3.Add({2, 0, "WEB", "Canale web", 0});
  r3.Flush();

  C cf(cn, "CG44_CLIFOR",
       {"CG44_DITTA_CG18", "CG44_TIPOCF", "CG44_CODCLIFOR", "CG44_RAGSOC", "CG44_PARTIVA",
        "CG44_LOCALITA", "CG44_MACROAREA_MG07", "CG44_AREA_MG08", "CG44_ZONA_MG09",
        "CG44_MACROCAT_MG10", "CG44_CATEG_MG11", "CG44_SOTTCAT_MG12", "CG44_CODRAGGRCF1_MG31",
        "CG44_CODRAGGRCF2_MG32", "CG44_CODRAGGRCF3_MG33", "CG44_SEDE_CG31"});
  // clang-format off
  cf.Add({1, 0, "C0001", "Rossi Meccanica S.r.l.", "04567890123", "Brescia", "NORD", "Lom", "BS", "IND", "MECC", "PREC", "A", "AG01", "FIERA", "SEDE"});
  cf.Add({1, 0, "C0002", "Bianchi Utensili S.n.c.", "05678901234", "Milano", "NORD", "NO", "MI", "IND", "MECC", "PES", "B", "AG01", "WEB", "FIL-MI"});
  cf.Add({1, 0, "C0003", "Supermercati Lombardi S.p.A.", "06789012345", "Bergamo", "NORD", "Lom", "bg", "COM", "GDO", "SUP", "A", "AG01", nullptr, "SEDE"});
  cf.Add({1, 0, "C0004", "Ferramenta Verdi di Verdi Luca", "07890123456", "Venezia", "NORD", "NE", "VE", "COM", "DETT", nullptr, "C", "AG02", nullptr, "MAG"});
  cf.Add({1, 0, "C0005", "Alimentari Toscani S.r.l.", "08901234567", "Firenze", "CENTRO", "TOS", "FI", "IND", "ALIM", nullptr, "B", "AG03", "FIERA", "SEDE"});
  cf.Add({1, 0, "C0006", "Costruzioni Partenopee S.p.A.", "09012345678", "Napoli", "SUD", "CAM", "NA", "IND", "MECC", "PES", "A", "AG03", nullptr, "UFF"});
  cf.Add({1, 0, "C0007", "Esposito Mario", nullptr, "Bari", "SUD", "PUG", nullptr, "PRIV", nullptr, nullptr, "C", nullptr, "WEB", nullptr});
  cf.Add({1, 0, "C0008", "Maschinenbau Mueller GmbH", "DE123456789", "Monaco di Baviera", "ESTERO", "UE", "DE", "IND", "MECC", "PREC", "A", nullptr, "FIERA", "FIL-MI"});
  cf.Add({1, 0, "C0009", "Cliente non classificato", nullptr, "Brescia", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  cf.Add({1, 0, "C0010", "Distribuzione Centro Italia S.r.l.", "01122334455", "Roma", "CENTRO", "LAZ", nullptr, "COM", "GDO", "IPER", "B", "AG03", nullptr, "SEDE"});
  cf.Add({1, 1, "F0001", "Acciaierie del Nord S.p.A.", "02233445566", "Milano", "NORD", "NO", "MI", "MATP", "MET", "ACC", "A", "BUY1", "CERT", "SEDE"});
  cf.Add({1, 1, "F0002", "Alluminio Veneto S.r.l.", "03344556677", "Vicenza", "NORD", "NO", nullptr, "MATP", "MET", "ALL", "A", "BUY1", nullptr, "MAG"});
  cf.Add({1, 1, "F0003", "Plastica Lombarda S.n.c.", "04455667788", "Lodi", "NORD", nullptr, nullptr, "MATP", "PLA", nullptr, "B", nullptr, nullptr, "SEDE"});
  cf.Add({1, 1, "F0004", "Stahlwerk Sued AG", "DE987654321", "Stoccarda", "ESTERO", "DE", nullptr, "MATP", "MET", "ACC", "B", "BUY1", "CERT", "FIL-MI"});
  cf.Add({1, 1, "F0005", "Trasporti Rapidi S.r.l.", "05566778899", "Brescia", nullptr, nullptr, nullptr, "SERV", "TRA", nullptr, "A", nullptr, nullptr, nullptr});
  cf.Add({2, 0, "C0001", "Confezioni Biellesi S.r.l.", "06677889900", "Biella", "NORD", "PIE", "BI", "CONF", "ABB", "UOMO", "A", "AG01", "WEB", "SEDE"});
  cf.Add({2, 0, "C0002", "Mode de Paris SARL", "FR12345678901", "Parigi", "EXPORT", "FR", nullptr, "CONF", "ABB", nullptr, "A", nullptr, nullptr, "SEDE"});
  cf.Add({2, 1, "F0001", "Filatura Alpina S.p.A.", "07788990011", "Biella", "NAZ", nullptr, nullptr, "FIL", nullptr, nullptr, nullptr, nullptr, nullptr, "SEDE"});
  cf.Add({3, 0, "C0001", "Enoteca dei Colli", "08899001122", "Teolo", "VENETO", "PD", "EST", "HORECA", "RIS", "ENO", "A", nullptr, nullptr, "SEDE"});
  // clang-format on
  cf.Flush();
}

void Revocations(db::Connection& cn) {
  // Group 2 and user 2 share the number 2: the group's row must not show up
  // for the user. Kind 2 is a kind of another module, left alone by the editor.
  C par(cn, "FW31_RVKPARAMETRI",
        {"FW31_ID_FW07", "FW31_ID_FW06", "FW31_INDTIPO", "FW31_CODTIPO", "FW31_DITTARAGG",
         "FW31_FLGABILITATO", "FW31_FLGMODIFICA", "FW31_FLGELIMINA", "FW31_FLGINSERISCI"});
  par.Add({2, nullptr, 6, "A", 1, 0, 0, 0, 0});
  par.Add({2, nullptr, 6, "DEP 1", 1, 0, 0, 0, 0});
  par.Add({nullptr, 2, 6, "02", 1, 0, 0, 0, 0});
  par.Add({3, nullptr, 6, "01", 2, 0, 0, 0, 0});
  par.Add({nullptr, 3, 8, "24002", 1, 0, 0, 0, 0});
  par.Add({4, nullptr, 15, "BASE", 2, 0, 0, 0, 0});
  par.Add({nullptr, 5, 30, "QUAL", 1, 0, 0, 0, 0});
  par.Add({2, nullptr, 2, "ORDINI", 1, 1, 1, 1, 1});
  par.Flush();

  C clifor(
      cn, "FW32_RVKCLIFOR",
      {"FW32_ID_FW07", "FW32_ID_FW06", "FW32_DITTA", "FW32_TIPOCF", "FW32_CODMACRO",
       "FW32_CODMIDDLE", "FW32_CODRAGG", "FW32_TIPORAGG", "FW32_FLGABILITATO", "FW32_FLGMODIFICA"});
  clifor.Add({nullptr, 3, 1, 0, "SUD", "", "", "AREA", 0, 0});
  clifor.Add({2, nullptr, 1, 0, "IND", "MECC", "", "CAT", 0, 0});
  clifor.Add({3, nullptr, 1, 0, "", "", "C", "RAGG1", 1, 0});
  clifor.Add({nullptr, 4, 1, 1, "", "", "CERT", "RAGG3", 0, 0});
  clifor.Add({5, nullptr, 1, -1, "", "", "MAG", "SEDE", 0, 0});
  clifor.Flush();

  C art(cn, "FW3H_RVKARTICOLI",
        {"FW3H_ID_FW07", "FW3H_ID_FW06", "FW3H_DITTA", "FW3H_CODMACRO", "FW3H_CODMIDDLE",
         "FW3H_CODRAGG", "FW3H_TIPORAGG", "FW3H_FLGABILITATO", "FW3H_FLGMODIFICA",
         "FW3H_FLGINSERIMENTO", "FW3H_FLGELIMINA"});
  art.Add({nullptr, 6, 1, "VERN", "", "", "FAM", 1, 0, 1, 0});
  art.Add({2, nullptr, 1, "L'A", "", "", "FAM", 1, 1, 0, 1});
  art.Flush();

  C dep(cn, "FW3E_RVKDEPCOLL",
        {"FW3E_DITTA_CG18", "FW3E_CODDEP_ORI", "FW3E_CODDEP_DES", "FW3E_ID_FW07", "FW3E_ID_FW06"});
  dep.Add({1, "01", "A", 5, nullptr});
  dep.Add({1, "01", "DEP 1", 5, nullptr});
  dep.Add({1, "MP", "PF", nullptr, 5});
  dep.Flush();

  C nodi(cn, "FW3N_RVKNODI",
         {"FW3N_DITTA_CG18", "FW3N_CODPROG_PD68", "FW3N_CODNODO", "FW3N_ID_FW06", "FW3N_ID_FW07"});
  nodi.Add({1, "24001", "030", 6, nullptr});
  nodi.Add({1, "24002", "020", nullptr, 7});
  nodi.Flush();
}

}  // namespace

void DemoInstallation::Populate(db::Connection& connection) {
  {
    db::Transaction transaction(connection);
    Principals(connection);
    Companies(connection);
    Catalogues(connection);
    Classification(connection);
    Revocations(connection);
    transaction.Commit();
  }
  db::Command reload;
  reload.ActiveConnection = connection.shared_from_this();
  reload.CommandType = db::kAdCmdStoredProc;
  reload.CommandTimeout = 0;
  reload.CommandText = "SPFW_ReloadListaCFRevocati";
  reload.Execute(nullptr, db::kAdExecuteNoRecords);
}

}  // namespace orv::hostdb
