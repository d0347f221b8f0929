// A demo installation in a temporary file with helpers to put revocation
// rows in place through the profile layer's own statements.
#ifndef ORV_TESTS_PROFILE_PROFILE_FIXTURE_H_
#define ORV_TESTS_PROFILE_PROFILE_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/recordset.h"
#include "hostdb/temporary_demo_database.h"
#include "profile/principal_directory.h"
#include "profile/profile_row.h"
#include "profile/profile_statements.h"

namespace orv::profile {

inline ProfileRow Warehouse(std::string code, std::array<int32_t, 4> flags = {0, 0, 0, 0},
                            int32_t company = 1) {
  ProfileRow row;
  row.table = RevocationTable::kParameters;
  row.company = company;
  row.kind = 6;
  row.code1 = std::move(code);
  row.flags = flags;
  return row;
}

inline ProfileRow Branch(int32_t tipocf, std::string grouping, std::string macro,
                         std::string middle, std::string ragg, int32_t allowed) {
  ProfileRow row;
  row.table = RevocationTable::kCliFor;
  row.company = 1;
  row.kind = tipocf;
  row.grouping = std::move(grouping);
  row.code1 = std::move(macro);
  row.code2 = std::move(middle);
  row.code3 = std::move(ragg);
  row.flags = {allowed, 0, 0, 0};
  return row;
}

inline ProfileRow Transfer(std::string origin, std::string destination) {
  ProfileRow row;
  row.table = RevocationTable::kTransfers;
  row.company = 1;
  row.code1 = std::move(origin);
  row.code2 = std::move(destination);
  return row;
}

class ProfileFixture : public ::testing::Test {
 protected:
  ProfileFixture() : cn_(database_.Connect()), directory_(*cn_) {}

  void Put(const NamedPrincipal& who, const std::vector<ProfileRow>& rows) {
    for (const ProfileRow& row : rows) {
      cn_->Execute(ProfileStatements::InsertRows(row.table, who.principal, {&row, 1}));
    }
  }
  int64_t Count(const std::string& sql) {
    auto rs = cn_->Execute(sql);
    return rs->Field(0).ToInt64();
  }
  int64_t ChangeLogCount() { return Count("SELECT COUNT(*) FROM FW90_LOGMODIFICHE"); }

  hostdb::TemporaryDemoDatabase database_;
  std::shared_ptr<db::Connection> cn_;
  PrincipalDirectory directory_;
};

}  // namespace orv::profile

#endif  // ORV_TESTS_PROFILE_PROFILE_FIXTURE_H_
