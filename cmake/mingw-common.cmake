# Shared part of the MinGW-w64 toolchain files; TUMBLECAT_TRIPLET names the target.
# The posix thread model: GoogleTest needs std::mutex, which the win32 model of this GCC lacks.
# Everything is linked statically, so no winpthread DLL is needed at run time.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TUMBLECAT_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TUMBLECAT_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TUMBLECAT_TRIPLET}-windres)
if(NOT DEFINED ENV{TUMBLECAT_DEPS})
  set(_deps /opt/tumblecat-deps)
else()
  set(_deps $ENV{TUMBLECAT_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${TUMBLECAT_TRIPLET} ${_deps}/${TUMBLECAT_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
