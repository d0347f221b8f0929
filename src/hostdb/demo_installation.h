#ifndef ORV_HOSTDB_DEMO_INSTALLATION_H_
#define ORV_HOSTDB_DEMO_INSTALLATION_H_

#include <string_view>

#include "db/connection.h"

namespace orv::hostdb {

// The demo installation: three companies, eleven users in six groups and a
// small, Italian-looking data set for every catalogue, with the awkward codes
// the editor must cope with and a few revocations already in place. Always
// the same content (docs/host-database.md lists it); tests of other
// components rely on the constants below.
class DemoInstallation {
 public:
  // Fills a database that holds the freshly installed schema (HostSchema),
  // in one transaction, then derives the revoked customer/supplier lists
  // (SPFW_ReloadListaCFRevocati).
  static void Populate(db::Connection& connection);

  // Companies (CG18_DITTA).
  static constexpr int kCompanyMain = 1;     // Officine Meccaniche Bresciane S.p.A.
  static constexpr int kCompanyTextile = 2;  // Tessitura Valsesia S.r.l.
  static constexpr int kCompanyWinery = 3;   // Cantina Colli Euganei Soc. Coop.

  // Users (FW07_ID) and their logins.
  static constexpr int kUserAdmin = 1;  // administrator, in CORVSA and AMMIN
  static constexpr std::string_view kLoginAdmin = "admin";
  static constexpr int kUserRossi = 2;  // not an administrator, in VENDITE
  static constexpr std::string_view kLoginRossi = "mrossi";
  static constexpr int kUserBianchi = 3;      // in VENDITE and ACQUISTI
  static constexpr int kUserVerdi = 4;        // in ACQUISTI
  static constexpr int kUserEsposito = 5;     // in MAGAZZ
  static constexpr int kUserRomano = 6;       // in MAGAZZ and PRODUZ
  static constexpr int kUserFerrari = 7;      // in PRODUZ
  static constexpr int kUserSupervisore = 8;  // administrator, only in CORVSA
  static constexpr std::string_view kLoginSupervisore = "supervisore";
  static constexpr int kUserOspite = 9;  // in no group
  static constexpr std::string_view kLoginOspite = "ospite";
  static constexpr int kUserColombo = 10;  // in AMMIN
  static constexpr int kUserRicci = 11;    // inactive, in VENDITE
  static constexpr int kUserCount = 11;

  // Groups (FW06_ID).
  static constexpr int kGroupCorvsa = 1;  // code 'CORVSA', the built-in super-administrators
  static constexpr int kGroupAmmin = 2;
  static constexpr int kGroupVendite = 3;
  static constexpr int kGroupAcquisti = 4;
  static constexpr int kGroupMagazzino = 5;
  static constexpr int kGroupProduzione = 6;
  static constexpr int kGroupCount = 6;
};

}  // namespace orv::hostdb

#endif  // ORV_HOSTDB_DEMO_INSTALLATION_H_
