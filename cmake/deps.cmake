# Where scripts/setup puts the libraries it builds from the source packages pinned in
# scripts/deps/versions: one folder per version, with a folder per target inside
# (x86_64-w64-mingw32, i686-w64-mingw32, native). Paths are taken as they are rather than
# searched and cached, so a build folder configured before a version change takes the new
# libraries too. Sets TUMBLECAT_LIBPNG_DIR and TUMBLECAT_LIBARCHIVE_DIR.
include_guard(GLOBAL)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../scripts/deps/versions _tc_deps_lines REGEX "^[A-Z_]+=")
foreach(_tc_line IN LISTS _tc_deps_lines)
  string(REGEX MATCH "^([A-Z_]+)=(.*)$" _tc_match "${_tc_line}")
  set(_tc_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
if(DEFINED ENV{TUMBLECAT_DEPS})
  set(_tc_root $ENV{TUMBLECAT_DEPS})
else()
  set(_tc_root /opt/tumblecat-deps)
endif()
set(TUMBLECAT_LIBPNG_DIR ${_tc_root}/libpng-${_tc_LIBPNG_VERSION})
set(TUMBLECAT_LIBARCHIVE_DIR ${_tc_root}/libarchive-${_tc_LIBARCHIVE_VERSION}-${_tc_LIBARCHIVE_LOCAL})
