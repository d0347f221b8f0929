#include "store/temp_table.h"

#include <string>

namespace orv::store {

std::string TempTable::NameFromGuid(std::string_view guid_text) {
  std::string name(kPrefix);
  name += guid_text;
  // As the name was always made: each replacement over the whole text.
  std::string out;
  out.reserve(name.size());
  for (char c : name) {
    if (c != '-' && c != '{' && c != '}') out += c;
  }
  return out;
}

std::string TempTable::DropIfExists(std::string_view name) {
  std::string sql = " if object_id('tempdb..";
  sql += name;
  sql += "') is not null ";
  sql += " BEGIN ";
  sql += " DROP TABLE ";
  sql += name;
  sql += " END ";
  return sql;
}

}  // namespace orv::store
