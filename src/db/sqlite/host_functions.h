#ifndef ORV_DB_SQLITE_HOST_FUNCTIONS_H_
#define ORV_DB_SQLITE_HOST_FUNCTIONS_H_

#include <string_view>

struct sqlite3;

namespace orv::db::sqlite {

// Registers on one SQLite connection what translated host statements rely
// on:
//  - collation HOSTCI: text compared as the host server's default collation
//    does: case-insensitive (ASCII and the accented letters of Latin-1 written
//    in UTF-8; accents still count) and blind to trailing blanks;
//  - tsql_add(a, b): the host's '+' (text + text concatenates, number +
//    number adds, NULL propagates, a number with numeric text adds, a number
//    with other text fails as the host server does);
//  - tsql_newid(): a new GUID as the host's client reads it,
//    "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case;
//  - tsql_raise(message, x): fails the statement with `message` (a MERGE
//    whose matched action meets a target row twice, as the host refuses it).
// Returns false when SQLite refused a registration (out of memory).
bool RegisterHostFunctions(sqlite3* db);

// The HOSTCI ordering: negative, zero or positive like memcmp.
int HostCiCompare(std::string_view a, std::string_view b);

}  // namespace orv::db::sqlite

#endif  // ORV_DB_SQLITE_HOST_FUNCTIONS_H_
