#ifndef ORV_PROFILE_PROFILE_REPORT_H_
#define ORV_PROFILE_PROFILE_REPORT_H_

#include <string>
#include <vector>

#include "profile/effective_profile.h"
#include "profile/principal_directory.h"
#include "profile/profile_comparison.h"
#include "profile/profile_import.h"
#include "profile/profile_row.h"
#include "profile/where_used.h"

namespace orv::profile {

// The profile layer's answers as text for people (aligned tables) and as
// JSON for scripts, shared by the command-line program and the session
// commands so both say the same.
class ProfileReport {
 public:
  static std::string RowsText(const NamedPrincipal& who, const std::vector<ProfileRow>& rows);
  static std::string RowsJson(const NamedPrincipal& who, const std::vector<ProfileRow>& rows);
  static std::string EffectiveText(const EffectiveProfile& profile);
  static std::string EffectiveJson(const EffectiveProfile& profile);
  static std::string ComparisonText(const NamedPrincipal& a, const NamedPrincipal& b,
                                    const ProfileComparison& comparison);
  static std::string ComparisonJson(const NamedPrincipal& a, const NamedPrincipal& b,
                                    const ProfileComparison& comparison);
  static std::string WhereUsedText(const std::vector<WhereUsedHit>& hits);
  static std::string WhereUsedJson(const std::vector<WhereUsedHit>& hits);
  static std::string PlanText(const NamedPrincipal& target, const ImportPlan& plan, bool applied);
  static std::string PlanJson(const NamedPrincipal& target, const ImportPlan& plan, bool applied);

  // "MP" flags as people read them: "revocato" or the rights still
  // allowed/revoked ("modifica no, elimina no").
  static std::string FlagsText(const ProfileRow& row);
  // Column texts of a row: table, company, item.
  static std::string SectionText(const ProfileRow& row);
};

}  // namespace orv::profile

#endif  // ORV_PROFILE_PROFILE_REPORT_H_
