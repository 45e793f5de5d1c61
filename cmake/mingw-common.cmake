# Shared part of the MinGW-w64 toolchain files; TUMBLECAT_TRIPLET names the target.
# The posix thread model: GoogleTest needs std::mutex, which the win32 model of this GCC lacks.
# Everything is linked statically, so no winpthread DLL is needed at run time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TUMBLECAT_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TUMBLECAT_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TUMBLECAT_TRIPLET}-windres)
include(${CMAKE_CURRENT_LIST_DIR}/deps.cmake)
set(CMAKE_FIND_ROOT_PATH /usr/${TUMBLECAT_TRIPLET} ${TUMBLECAT_LIBPNG_DIR}/${TUMBLECAT_TRIPLET}
  ${TUMBLECAT_LIBARCHIVE_DIR}/${TUMBLECAT_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
