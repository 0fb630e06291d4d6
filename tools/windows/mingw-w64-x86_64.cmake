# Windows x86-64 with Debian's mingw-w64 cross compilers (posix threads: std::thread and friends).
# WIN_DEPS (cache entry or environment) names the prefix tools/windows/build-deps.sh filled.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
if(NOT WIN_DEPS AND DEFINED ENV{WIN_DEPS})
  set(WIN_DEPS $ENV{WIN_DEPS})
endif()
set(WIN_DEPS "${WIN_DEPS}" CACHE PATH "Windows dependencies built by tools/windows/build-deps.sh")
set(CMAKE_FIND_ROOT_PATH ${WIN_DEPS} /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The Windows-GNU platform file resets the library suffixes after this file is read; the rules file
# runs later and keeps import libraries (libz.dll.a and such) out, so every program is self-contained.
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/mingw-static-rules.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
# pkg-config sees only Windows .pc files, with --static so the private libraries come along.
if(WIN_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} ${WIN_DEPS}/lib/pkgconfig:/usr/${MINGW_TRIPLE}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
set(PKG_CONFIG_ARGN --static CACHE STRING "")
# Cross-built tests and tools run under Wine (ctest, gtest discovery, custom commands).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
