#ifndef ORV_TESTS_SECTIONS_BULK_EDITOR_H_
#define ORV_TESTS_SECTIONS_BULK_EDITOR_H_

#include <string>
#include <string_view>
#include <vector>

#include "sections/parameter_editor.h"
#include "session/headless_global.h"
#include "zere_orvelka/message_service.h"

namespace orv::testing {

// The editor for the bulk-operation tests: answers and snapshots on top of
// the parameter fixture.
class BulkEditor : public ParameterEditor {
 public:
  void Answer(int32_t answer) { host().answers().Push(answer); }
  void Yes() { Answer(host::kVbYes); }
  void No() { Answer(host::kVbNo); }

  // Every revocation row of the five tables, as text, in a stable order.
  std::vector<std::string> Snapshot() {
    std::vector<std::string> all;
    for (std::string_view sql :
         {"SELECT * FROM FW31_RVKPARAMETRI ORDER BY FW31_CODICE",
          "SELECT * FROM FW32_RVKCLIFOR ORDER BY FW32_ID_FW07, FW32_ID_FW06, FW32_CODMACRO, "
          "FW32_CODMIDDLE, FW32_CODRAGG",
          "SELECT * FROM FW3H_RVKARTICOLI ORDER BY FW3H_ID_FW07, FW3H_ID_FW06, FW3H_DITTA, "
          "FW3H_CODMACRO",
          "SELECT * FROM FW3E_RVKDEPCOLL ORDER BY FW3E_ID_FW07, FW3E_ID_FW06, FW3E_DITTA_CG18, "
          "FW3E_CODDEP_ORI, FW3E_CODDEP_DES",
          "SELECT * FROM FW3N_RVKNODI ORDER BY FW3N_ID_FW07, FW3N_ID_FW06, FW3N_CODNODO"}) {
      for (std::string& line : host().Sql(sql)) all.push_back(std::move(line));
    }
    return all;
  }

  // Routine names handed to the log class.
  std::vector<std::string> LoggedRoutines() {
    std::vector<std::string> names;
    for (const session::LoggedError& e : host().global()->logged_errors()) {
      names.push_back(e.routine);
    }
    return names;
  }
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_BULK_EDITOR_H_
