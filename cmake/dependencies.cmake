# Third-party pieces: GoogleTest from Debian's sources, zlib, Boost.Regex (header-only), LZO.

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
if(WIN32)
  # The cross build runs its tests under Wine; pthread-based GoogleTest needs the posix compiler.
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
endif()
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

find_package(ZLIB REQUIRED)

add_library(boost_regex_headers INTERFACE)
target_compile_definitions(boost_regex_headers INTERFACE BOOST_REGEX_STANDALONE)
if(WIN32)
  # Only the boost folder goes on the cross include path, never the host's /usr/include.
  target_include_directories(boost_regex_headers SYSTEM INTERFACE ${WORDMERE_DEPS}/i686/boost-include)
endif()

add_library(lzo2 INTERFACE)
if(WIN32)
  target_include_directories(lzo2 SYSTEM INTERFACE ${WORDMERE_DEPS}/i686/include)
  target_link_libraries(lzo2 INTERFACE ${WORDMERE_DEPS}/i686/lib/liblzo2.a)
else()
  find_library(LZO2_LIBRARY NAMES lzo2 REQUIRED)
  target_link_libraries(lzo2 INTERFACE ${LZO2_LIBRARY})
endif()

if(WORDMERE_BENCH AND NOT WIN32 AND NOT WORDMERE_FUZZ)
  find_package(benchmark QUIET)
endif()
