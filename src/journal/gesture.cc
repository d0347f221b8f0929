#include "journal/gesture.h"

#include <array>
#include <utility>

namespace orv::journal {
namespace {

struct KindText {
  GestureKind kind;
  std::string_view code;
  std::string_view label;
};

constexpr std::array<KindText, 14> kKinds = {{
    {GestureKind::kClick, "CLIC", "Clic"},
    {GestureKind::kHeader, "COLONNA", "Colonna"},
    {GestureKind::kOrigin, "RIGA", "Riga"},
    {GestureKind::kSwitch, "ABILREVOKE", "Abilitazione revoche"},
    {GestureKind::kEnableAll, "ABILITATUTTI", "Abilita tutti"},
    {GestureKind::kDisableAll, "DISABILITATUTTI", "Disabilita tutti"},
    {GestureKind::kEnableAllPrincipals, "ABILITATUTTIU", "Abilita tutti gli utenti"},
    {GestureKind::kRevokeAllPrincipals, "DISABILITATUTTIU", "Disabilita tutti gli utenti"},
    {GestureKind::kNodeMerge, "NODI", "Nodi"},
    {GestureKind::kCopy, "COPIA", "Copia revoche"},
    {GestureKind::kImport, "IMPORTA", "Importazione profilo"},
    {GestureKind::kUndo, "ANNULLA", "Annulla"},
    {GestureKind::kRedo, "RIPETI", "Ripeti"},
    {GestureKind::kRevert, "RIPRISTINO", "Annulla questa modifica"},
}};

const KindText& Of(GestureKind kind) {
  for (const KindText& k : kKinds) {
    if (k.kind == kind) return k;
  }
  return kKinds[0];
}

}  // namespace

std::string_view GestureCode(GestureKind kind) { return Of(kind).code; }
std::string_view GestureLabel(GestureKind kind) { return Of(kind).label; }

GestureKind GestureFromCode(std::string_view code) {
  for (const KindText& k : kKinds) {
    if (k.code == code) return k.kind;
  }
  return GestureKind::kClick;
}

}  // namespace orv::journal
