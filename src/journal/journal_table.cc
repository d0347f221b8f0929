#include "journal/journal_table.h"

namespace orv::journal {

int JournalTable::KeyIndex(std::string_view column) const {
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].name == column) return static_cast<int>(i);
  }
  return -1;
}

int JournalTable::ValueIndex(std::string_view column) const {
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i].name == column) return static_cast<int>(i);
  }
  return -1;
}

const std::vector<JournalTable>& JournalTable::All() {
  static const std::vector<JournalTable> tables = {
      {kParameters,
       "FW31_ID_FW07",
       "FW31_ID_FW06",
       "FW31_DITTARAGG",
       {{"FW31_ID_FW07"},
        {"FW31_ID_FW06"},
        {"FW31_INDTIPO"},
        {"FW31_CODTIPO", true},
        {"FW31_DITTARAGG"}},
       {{"FW31_FLGABILITATO"}, {"FW31_FLGMODIFICA"}, {"FW31_FLGELIMINA"}, {"FW31_FLGINSERISCI"}},
       {"FW31_FLGABILITATO"},
       {"FW31_CODTIPO"}},
      {kCliFor,
       "FW32_ID_FW07",
       "FW32_ID_FW06",
       "FW32_DITTA",
       {{"FW32_ID_FW07"},
        {"FW32_ID_FW06"},
        {"FW32_DITTA"},
        {"FW32_TIPOCF"},
        {"FW32_TIPORAGG", true},
        {"FW32_CODMACRO", true},
        {"FW32_CODMIDDLE", true},
        {"FW32_CODRAGG", true}},
       {{"FW32_FLGABILITATO"}, {"FW32_FLGMODIFICA"}},
       {"FW32_FLGABILITATO"},
       {"FW32_CODMACRO", "FW32_CODMIDDLE", "FW32_CODRAGG"}},
      {kFamilies,
       "FW3H_ID_FW07",
       "FW3H_ID_FW06",
       "FW3H_DITTA",
       {{"FW3H_ID_FW07"},
        {"FW3H_ID_FW06"},
        {"FW3H_DITTA"},
        {"FW3H_TIPORAGG", true},
        {"FW3H_CODMACRO", true},
        {"FW3H_CODMIDDLE", true},
        {"FW3H_CODRAGG", true}},
       {{"FW3H_FLGABILITATO"}, {"FW3H_FLGINSERIMENTO"}, {"FW3H_FLGMODIFICA"}, {"FW3H_FLGELIMINA"}},
       {"FW3H_FLGINSERIMENTO", "FW3H_FLGMODIFICA", "FW3H_FLGELIMINA"},
       {"FW3H_CODMACRO", "FW3H_CODMIDDLE", "FW3H_CODRAGG"}},
      {kTransfers,
       "FW3E_ID_FW07",
       "FW3E_ID_FW06",
       "FW3E_DITTA_CG18",
       {{"FW3E_ID_FW07"},
        {"FW3E_ID_FW06"},
        {"FW3E_DITTA_CG18"},
        {"FW3E_CODDEP_ORI", true},
        {"FW3E_CODDEP_DES", true}},
       {{"FW3E_FLGABILITATO"}},
       {"FW3E_FLGABILITATO"},
       {"FW3E_CODDEP_ORI", "FW3E_CODDEP_DES"}},
      {kNodes,
       "FW3N_ID_FW07",
       "FW3N_ID_FW06",
       "FW3N_DITTA_CG18",
       {{"FW3N_ID_FW07"},
        {"FW3N_ID_FW06"},
        {"FW3N_DITTA_CG18"},
        {"FW3N_CODPROG_PD68", true},
        {"FW3N_CODNODO", true}},
       {},
       {},
       {"FW3N_CODPROG_PD68", "FW3N_CODNODO"}},
      {kSettings,
       "",
       "",
       "",
       {{"FW95_CODICE", true}},
       {{"FW95_DESCR", true}, {"FW95_VALORE", true}},
       {},
       {"FW95_CODICE"}},
  };
  return tables;
}

const JournalTable* JournalTable::Find(std::string_view name) {
  for (const JournalTable& table : All()) {
    if (table.name == name) return &table;
  }
  return nullptr;
}

}  // namespace orv::journal
