#ifndef ORV_JOURNAL_GESTURE_H_
#define ORV_JOURNAL_GESTURE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "store/principal.h"

namespace orv::journal {

// What kind of gesture an entry records. The code is what the journal
// table stores (FW3J_GESTO); the label is what a reader sees.
enum class GestureKind {
  kClick,                // one check box of a grid or tree
  kHeader,               // a column header box (a destination of every origin)
  kOrigin,               // a whole row (an origin to every destination)
  kSwitch,               // the installation-wide master switch
  kEnableAll,            // "Abilita tutti" for one principal
  kDisableAll,           // "Disabilita tutti" for one principal
  kEnableAllPrincipals,  // every principal's transfers given back
  kRevokeAllPrincipals,  // every principal's transfers revoked
  kNodeMerge,            // project nodes brought in line with the work table
  kCopy,                 // revocations copied from another principal
  kImport,               // a profile imported
  kUndo,
  kRedo,
  kRevert,
};

std::string_view GestureCode(GestureKind kind);
std::string_view GestureLabel(GestureKind kind);
// The kind of a stored code; kClick for an unknown one.
GestureKind GestureFromCode(std::string_view code);

// What a gesture tells the journal about itself when it commits.
struct Gesture {
  Gesture() = default;
  Gesture(GestureKind gesture_kind, int32_t section_code, store::Principal gesture_principal,
          bool every_principal = false)
      : kind(gesture_kind),
        section(section_code),
        principal(std::move(gesture_principal)),
        all_principals(every_principal) {}

  GestureKind kind = GestureKind::kClick;
  int32_t section = 0;         // the window's section code (0 when none)
  store::Principal principal;  // none with all_principals, or for the switch
  bool all_principals = false;
  // The readable summary. Empty: the journal writes one from the images
  // ("Depositi: revocati 02 e MP per il gruppo Ufficio vendite").
  std::string summary;
  // Put before the changes in a summary the journal writes ("copiate da
  // Gruppo - Magazzino (3)").
  std::string detail;
};

}  // namespace orv::journal

#endif  // ORV_JOURNAL_GESTURE_H_
