# cmake -DSOURCE_DIR=<root> -P check_layers.cmake
#
# Every quoted include of a layer names a folder the layer may use: the
# include-level twin of the link checks in OrvLayers.cmake. Also: Qt only in
# src/hostapp, and the public headers include nothing but each other.

cmake_policy(VERSION 3.25)

# layer folder -> the top folders its files may include from
set(allowed_db "db;zere_orvelka")
set(allowed_hostdb "db;hostdb;zere_orvelka")
set(allowed_store "db;store;zere_orvelka")
set(allowed_journal "db;store;journal;zere_orvelka")
set(allowed_host "db;store;host;zere_orvelka")
set(allowed_editor "db;store;journal;host;editor;zere_orvelka")
set(allowed_sections "db;store;journal;host;editor;sections;zere_orvelka")
set(allowed_bulk "db;store;journal;host;editor;sections;bulk;zere_orvelka")
set(allowed_profile "db;store;journal;profile;zere_orvelka")
set(allowed_module "db;store;journal;host;editor;sections;bulk;profile;module;zere_orvelka")
set(allowed_session "db;hostdb;store;journal;host;editor;sections;bulk;profile;module;session;zere_orvelka")
set(allowed_hostapp
    "db;hostdb;store;journal;host;editor;sections;bulk;profile;module;session;hostapp;zere_orvelka")
set(allowed_include "zere_orvelka")

# Headers a layer may not include although their folder is allowed: the
# sections and bulk reach the window only through editor/section_context.h.
set(refused_sections "editor/frmfw_orvelka.h")
set(refused_bulk "editor/frmfw_orvelka.h")

set(layers db hostdb store journal host editor sections bulk profile module session hostapp)
set(failures "")

function(check_files layer dir)
  file(GLOB_RECURSE files "${dir}/*.h" "${dir}/*.cc")
  foreach(file ${files})
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line ${lines})
      if(line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z_0-9/.]+)\"")
        set(header "${CMAKE_MATCH_1}")
        if(header IN_LIST refused_${layer})
          file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
          list(APPEND failures "${rel}: layer '${layer}' may not include \"${header}\"")
        endif()
      endif()
      if(line MATCHES "#[ \t]*include[ \t]*\"([A-Za-z_0-9]+)/")
        set(top "${CMAKE_MATCH_1}")
        if(NOT top IN_LIST allowed_${layer})
          file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
          list(APPEND failures "${rel}: layer '${layer}' may not include \"${top}/...\"")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*)")
        if(NOT layer STREQUAL "hostapp")
          file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
          list(APPEND failures "${rel}: Qt (${CMAKE_MATCH_1}) outside src/hostapp")
        endif()
      endif()
    endforeach()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

foreach(layer ${layers})
  if(IS_DIRECTORY "${SOURCE_DIR}/src/${layer}")
    check_files(${layer} "${SOURCE_DIR}/src/${layer}")
  endif()
endforeach()
check_files(include "${SOURCE_DIR}/include")

# A folder of src/ that is in no row of the table is a layer nobody placed.
file(GLOB tops LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*")
foreach(top ${tops})
  if(IS_DIRECTORY "${SOURCE_DIR}/src/${top}" AND NOT top IN_LIST layers)
    list(APPEND failures "src/${top}: a folder with no place in the layer table")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "Includes against the layer table:\n${text}")
endif()
message(STATUS "Every include follows the layer table")
