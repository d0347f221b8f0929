#ifndef ORV_STORE_TEMP_TABLE_H_
#define ORV_STORE_TEMP_TABLE_H_

#include <string>
#include <string_view>

namespace orv::store {

// The per-window global temporary table: "##tempT" + the 32 hexadecimal
// digits of a server GUID.
class TempTable {
 public:
  static constexpr std::string_view kPrefix = "##tempT";
  static constexpr std::string_view kSelectNewId = "SELECT NEWID()";

  // "##tempT" + guid text with every "-", "{" and "}" removed.
  static std::string NameFromGuid(std::string_view guid_text);
  // " if object_id('tempdb.." + name + "') is not null " + " BEGIN " +
  // " DROP TABLE " + name + " END "
  static std::string DropIfExists(std::string_view name);
};

}  // namespace orv::store

#endif  // ORV_STORE_TEMP_TABLE_H_
