# The ODBC driver's tests run against unixODBC with the SQLite ODBC driver
# (Debian's libsqliteodbc, installed by scripts/setup.sh) when it is there.
find_file(ORV_SQLITE_ODBC_DRIVER libsqlite3odbc.so
  PATHS /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/odbc /usr/lib/odbc /usr/lib64/odbc
  NO_DEFAULT_PATH)
if(ORV_SQLITE_ODBC_DRIVER)
  target_compile_definitions(${ORV_TEST_TARGET} PRIVATE
    ORV_SQLITE_ODBC_DRIVER="${ORV_SQLITE_ODBC_DRIVER}")
else()
  message(WARNING "libsqlite3odbc.so not found: the ODBC driver's tests against a real driver "
                  "are not built (run scripts/setup.sh)")
endif()
